#pragma once
// The display page: one block of lines per display mode of the primary display.

#include <cstdint>
#include <string>
#include <vector>

#include "platform/DisplaySettings.h"

namespace zelvo {

// Colours a mode of `bitsPerPixel` shows: 2 to the depth, the depth capped at 24 (a 32-bit mode
// shows 16,777,216 colours); a depth of 1 or less counts as 2 colours.
std::int32_t DisplayColourCount(std::uint32_t bitsPerPixel);

// The lines the display memo `Disp1` receives, in order, as UTF-8 without line breaks; the memo
// adds each one as a line of its own. Per mode: an empty line, the mode number, the screen size,
// the colour count, the colour depth and two empty lines. The modes are enumerated from index 0
// up to the first index the system refuses; no modes give no lines.
std::vector<std::string> DisplayPageLines(platform::DisplaySettings& display);

}  // namespace zelvo
