#include "probes/UsagePercentage.h"

#include <algorithm>
#include <limits>

#include "platform/FloatChecks.h"

namespace zelvo {

namespace {

// 100 × a 64-bit count, signed or not, fits 128 bits; integer division truncates toward zero.
int Percentage(__int128 used, __int128 total) {
    if (total == 0)  // the division's own error, which checkedDivide raises
        return static_cast<int>(checkedDivide(static_cast<double>(used), 0.0));
    const __int128 share = used * 100 / total;
    const __int128 low = std::numeric_limits<int>::min();
    const __int128 high = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(share, low, high));
}

}  // namespace

int UsagePercentage(std::int64_t usedBytes, std::int64_t totalBytes) {
    return Percentage(usedBytes, totalBytes);
}

int UsagePercentageOfFree(std::uint64_t totalBytes, std::uint64_t freeBytes) {
    return Percentage(static_cast<__int128>(totalBytes) - freeBytes, totalBytes);
}

}  // namespace zelvo
