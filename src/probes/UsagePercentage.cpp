#include "probes/UsagePercentage.h"

#include <algorithm>
#include <limits>

#include "platform/Errors.h"

namespace zelvo {

int UsagePercentage(std::int64_t usedBytes, std::int64_t totalBytes) {
    if (totalBytes == 0)
        (void)checkedDivide(static_cast<double>(usedBytes), 0.0);  // raises the error of this division
    // 100 × a 64-bit count fits 128 bits; integer division truncates toward zero.
    const __int128 share = static_cast<__int128>(usedBytes) * 100 / totalBytes;
    const __int128 low = std::numeric_limits<int>::min();
    const __int128 high = std::numeric_limits<int>::max();
    return static_cast<int>(std::clamp(share, low, high));
}

}  // namespace zelvo
