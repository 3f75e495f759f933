#include "platform/linux/WaylandOutputs.h"

#include <algorithm>

#include "platform/linux/DisplayModes.h"

namespace zelvo::platform {

std::vector<DisplayMode> modesFromWayland(const std::vector<WaylandOutput>& outputs) {
    constexpr std::uint32_t kBitsPerPixel = 32;
    for (const auto& output : outputs) {
        std::vector<DisplayMode> modes;
        for (const auto& mode : output.modes) {
            if (mode.width <= 0 || mode.height <= 0)
                continue;
            const auto refresh =
                static_cast<std::uint32_t>((std::max<std::int64_t>(mode.refreshMilliHz, 0) + 500) / 1000);
            modes.push_back(DisplayMode{static_cast<std::uint32_t>(mode.width), static_cast<std::uint32_t>(mode.height),
                                        kBitsPerPixel, refresh});
        }
        if (!modes.empty())
            return withoutRepeatedSizes(modes);
    }
    return {};
}

}  // namespace zelvo::platform
