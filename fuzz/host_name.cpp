// The host name: the kernel's text (/proc/sys/kernel/hostname) as the computer name, and the check
// a new name passes before it reaches the system. The first byte is the caller's buffer size.

#include "FuzzInput.h"
#include "platform/linux/HostnameService.h"
#include "platform/linux/KernelHostName.h"

using namespace zelvo;
using namespace zelvo::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0)
        return 0;
    const std::uint32_t bufferChars = data[0];
    const std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);
    if (const auto name = hostNameFromKernelText(text, bufferChars)) {
        fuzz::require(!name->empty() && name->size() < bufferChars, "a name fits the buffer with its zero");
        fuzz::require(text.rfind(*name, 0) == 0, "the name is the text's beginning");
        fuzz::require(text.size() - name->size() <= 1, "only one line break is dropped");
    }
    if (isValidHostName(text)) {
        fuzz::require(!text.empty() && text.size() <= kMaxHostNameBytes, "a valid name fits the kernel's limit");
        fuzz::require(text.find_first_not_of("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789-.") ==
                          std::string_view::npos,
                      "a valid name is letters, digits, hyphens and dots");
        fuzz::require(text.front() != '-' && text.front() != '.' && text.back() != '-' && text.back() != '.',
                      "a valid name has no hyphen or dot at its ends");
        fuzz::require(text.find("..") == std::string_view::npos, "a valid name has no empty label");
    }
    return 0;
}
