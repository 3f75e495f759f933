#include "platform/linux/DisplayModes.h"

#include <algorithm>
#include <cmath>

namespace zelvo::platform {

std::optional<std::uint32_t> screenBitsPerPixel(const XrandrScreen& screen) {
    for (const auto& [depth, bpp] : screen.pixmapFormats)
        if (depth == screen.rootDepth && bpp > 0)
            return static_cast<std::uint32_t>(bpp);
    return std::nullopt;
}

std::uint32_t refreshRate(const XrandrMode& mode) {
    if (mode.hTotal == 0 || mode.vTotal == 0 || mode.dotClock == 0)
        return 0;
    double lines = static_cast<double>(mode.vTotal);
    if (mode.interlaced)
        lines /= 2;
    if (mode.doubleScan)
        lines *= 2;
    return static_cast<std::uint32_t>(std::lround(static_cast<double>(mode.dotClock) / (mode.hTotal * lines)));
}

std::vector<DisplayMode> modesFromXrandr(const XrandrScreen& screen) {
    const auto bpp = screenBitsPerPixel(screen);
    if (!bpp)
        return {};
    const XrandrOutput* chosen = nullptr;
    for (const auto& output : screen.outputs)
        if (output.primary && output.connected && !output.modeIds.empty())
            chosen = &output;
    for (const auto& output : screen.outputs)
        if (!chosen && output.connected && output.hasCrtc && !output.modeIds.empty())
            chosen = &output;
    for (const auto& output : screen.outputs)
        if (!chosen && output.connected && !output.modeIds.empty())
            chosen = &output;
    if (!chosen)
        return {};

    std::vector<DisplayMode> modes;
    for (const std::uint64_t id : chosen->modeIds) {
        const auto mode = std::find_if(screen.modes.begin(), screen.modes.end(),
                                       [id](const XrandrMode& candidate) { return candidate.id == id; });
        if (mode == screen.modes.end() || mode->width == 0 || mode->height == 0)
            continue;
        modes.push_back(DisplayMode{mode->width, mode->height, *bpp, refreshRate(*mode)});
    }
    return withoutRepeatedSizes(modes);
}

std::vector<DisplayMode> withoutRepeatedSizes(const std::vector<DisplayMode>& modes) {
    std::vector<DisplayMode> kept;
    for (const auto& mode : modes) {
        const bool seen = std::any_of(kept.begin(), kept.end(), [&mode](const DisplayMode& other) {
            return other.width == mode.width && other.height == mode.height && other.bitsPerPixel == mode.bitsPerPixel;
        });
        if (!seen)
            kept.push_back(mode);
    }
    return kept;
}

}  // namespace zelvo::platform
