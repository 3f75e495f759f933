#pragma once
// A 32-bit colour value: an RGB colour stored as 0x00BBGGRR, or a system colour of the desktop's
// scheme (high bit set, low byte the system colour's index) that is resolved when it is drawn.

#include <cstdint>

namespace zelvo {

using ColourValue = std::uint32_t;

constexpr ColourValue rgbColour(std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    return ColourValue(r) | (ColourValue(g) << 8) | (ColourValue(b) << 16);
}
constexpr bool isSystemColour(ColourValue c) {
    return (c & 0x80000000u) != 0;
}
constexpr std::uint8_t redOf(ColourValue c) {
    return std::uint8_t(c & 0xFF);
}
constexpr std::uint8_t greenOf(ColourValue c) {
    return std::uint8_t((c >> 8) & 0xFF);
}
constexpr std::uint8_t blueOf(ColourValue c) {
    return std::uint8_t((c >> 16) & 0xFF);
}

namespace colour {
inline constexpr ColourValue White = rgbColour(255, 255, 255);
inline constexpr ColourValue Black = rgbColour(0, 0, 0);
inline constexpr ColourValue Red = rgbColour(255, 0, 0);
inline constexpr ColourValue Lime = rgbColour(0, 255, 0);
inline constexpr ColourValue Blue = rgbColour(0, 0, 255);
inline constexpr ColourValue Yellow = rgbColour(255, 255, 0);
inline constexpr ColourValue Aqua = rgbColour(0, 255, 255);
inline constexpr ColourValue Fuchsia = rgbColour(255, 0, 255);
inline constexpr ColourValue Silver = rgbColour(192, 192, 192);
inline constexpr ColourValue Gray = rgbColour(128, 128, 128);
inline constexpr ColourValue Navy = rgbColour(0, 0, 128);
inline constexpr ColourValue Maroon = rgbColour(128, 0, 0);
inline constexpr ColourValue Green = rgbColour(0, 128, 0);
inline constexpr ColourValue Olive = rgbColour(128, 128, 0);
inline constexpr ColourValue Teal = rgbColour(0, 128, 128);

// System colours, by the desktop's colour-scheme index.
inline constexpr ColourValue WindowColour = 0x80000005u;
inline constexpr ColourValue WindowFrame = 0x80000006u;
inline constexpr ColourValue WindowText = 0x80000008u;
inline constexpr ColourValue Highlight = 0x8000000Du;
inline constexpr ColourValue HighlightText = 0x8000000Eu;
inline constexpr ColourValue ButtonFace = 0x8000000Fu;
inline constexpr ColourValue TooltipBackground = 0x80000018u;
}  // namespace colour

// Usage colour bands of the disk and memory percentage labels.
constexpr ColourValue usageBandColour(int percentage) {
    if (percentage <= 50)
        return colour::White;
    if (percentage <= 80)
        return colour::Aqua;
    return colour::Fuchsia;
}

}  // namespace zelvo
