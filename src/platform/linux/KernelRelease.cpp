#include "platform/linux/KernelRelease.h"

#include <limits>

namespace zelvo::platform {

KernelVersion parseKernelRelease(std::string_view release) {
    std::uint32_t parts[3] = {0, 0, 0};
    std::size_t pos = 0;
    for (std::uint32_t& part : parts) {
        std::size_t start = pos;
        std::uint64_t value = 0;
        while (pos < release.size() && release[pos] >= '0' && release[pos] <= '9') {
            value = value * 10 + static_cast<std::uint64_t>(release[pos] - '0');
            if (value > std::numeric_limits<std::uint32_t>::max())
                return {parts[0], parts[1], parts[2]};
            ++pos;
        }
        if (pos == start)
            break;
        part = static_cast<std::uint32_t>(value);
        if (pos >= release.size() || release[pos] != '.')
            break;
        ++pos;
    }
    return {parts[0], parts[1], parts[2]};
}

}  // namespace zelvo::platform
