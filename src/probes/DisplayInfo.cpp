#include "probes/DisplayInfo.h"

#include <algorithm>
#include <limits>

#include "format/IntegerText.h"

namespace zelvo {

namespace {

constexpr std::uint32_t kMaxCountedDepth = 24;
constexpr std::uint32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

// The display figures are unsigned; a value past the 32-bit signed range (never a real one) is
// shown as the largest rather than wrapping to a negative number.
std::string FigureText(std::uint32_t value) {
    return IntegerText(static_cast<std::int32_t>(std::min(value, kInt32Max)));
}

}  // namespace

std::int32_t DisplayColourCount(std::uint32_t bitsPerPixel) {
    const std::uint32_t depth = std::clamp(bitsPerPixel, std::uint32_t{1}, kMaxCountedDepth);
    return std::int32_t{1} << depth;
}

std::vector<std::string> DisplayPageLines(platform::DisplaySettings& display) {
    std::vector<std::string> lines;
    // The mode number is shown as a signed 32-bit figure, so the enumeration ends there at the latest.
    for (std::uint32_t index = 0; index <= kInt32Max; ++index) {
        const std::optional<platform::DisplayMode> mode = display.enumDisplaySettings(index);
        if (!mode)
            break;
        lines.emplace_back();
        lines.push_back("   モード番号  " + FigureText(index));
        lines.push_back("   画面サイズ  " + FigureText(mode->width) + " x " + FigureText(mode->height));
        lines.push_back("   色数　　　  " + IntegerText(DisplayColourCount(mode->bitsPerPixel)) + " 色");
        lines.push_back("   色ビット数  " + FigureText(mode->bitsPerPixel) + " Bit");
        lines.emplace_back();
        lines.emplace_back();
    }
    return lines;
}

}  // namespace zelvo
