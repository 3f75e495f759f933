#pragma once
// The kernel release ("6.1.0-18-amd64") as the version query's numbers.

#include <cstdint>
#include <string_view>

namespace zelvo::platform {

struct KernelVersion {
    std::uint32_t major = 0;
    std::uint32_t minor = 0;
    std::uint32_t patch = 0;  // reported as the build number
};

// Leading "major.minor.patch" numbers; missing or malformed parts are 0.
KernelVersion parseKernelRelease(std::string_view release);

}  // namespace zelvo::platform
