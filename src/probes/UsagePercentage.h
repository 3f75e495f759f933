#pragma once
// The used share of a size as a whole percentage, as the disk and memory pages show it.

#include <cstdint>

namespace zelvo {

// trunc(used ÷ total × 100), computed exactly on the byte counts. In floating point the quotient
// is rounded before it is scaled, so 29 of 100 MB would come out as 28.999… and truncate to 28 %.
// A total of 0 raises the division's error: EInvalidOp when nothing is used (0 ÷ 0), EZeroDivide
// otherwise. A result outside the int range is held at its ends.
int UsagePercentage(std::int64_t usedBytes, std::int64_t totalBytes);

// The same share for unsigned byte counts given as total and free (the memory page's), with used =
// total − free computed exactly over the whole 64-bit range; negative when free exceeds total.
int UsagePercentageOfFree(std::uint64_t totalBytes, std::uint64_t freeBytes);

}  // namespace zelvo
