#pragma once
// Units and percentages shared by the disk and memory pages.

#include <string>

namespace zelvo {

inline constexpr double kBytesPerMegabyte = 1048576.0;
inline constexpr double kMegabytesPerGigabyte = 1024.0;

// A percentage as the pages show it: the integer and " %".
std::string PercentageText(int percentage);

}  // namespace zelvo
