// The kernel release (/proc/sys/kernel/osrelease), as the version query's numbers.

#include <string>

#include "FuzzInput.h"
#include "platform/linux/KernelRelease.h"

using namespace zelvo;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view release(reinterpret_cast<const char*>(data), size);
    const auto version = platform::parseKernelRelease(release);
    // A number read comes from the start of the text: "6.1.0-18" gives 6, 1, 0.
    if (version.major != 0 && release.front() != '0') {
        fuzz::require(release.rfind(std::to_string(version.major), 0) == 0, "the major number leads the text");
    }
    return 0;
}
