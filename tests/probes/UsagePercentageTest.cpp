#include "probes/UsagePercentage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "platform/Errors.h"

using namespace zelvo;

namespace {

TEST(UsagePercentageTest, TruncatesTheExactShare) {
    constexpr std::int64_t kMax = std::numeric_limits<std::int64_t>::max();
    const struct {
        std::int64_t used;
        std::int64_t total;
        int percentage;
    } rows[] = {
        {0, 100, 0},
        {50, 100, 50},
        {29, 100, 29},  // 29 ÷ 100 × 100 is 28.999… in doubles
        {57, 100, 57},
        {29, 50, 58},
        {999, 1000, 99},  // truncated, not rounded
        {1, 3, 33},
        {2, 3, 66},
        {100, 100, 100},
        {0, -1, 0},  // an unreadable drive: size and free both -1
        {-50, 100, -50},
        {-1, 100, -1},
        {-1, 1000, 0},  // toward zero
        {kMax, kMax, 100},
        {kMax - 1, kMax, 99},
        {kMax, 1, std::numeric_limits<int>::max()},
        {-kMax, 1, std::numeric_limits<int>::min()},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(::testing::Message() << row.used << " of " << row.total);
        EXPECT_EQ(UsagePercentage(row.used, row.total), row.percentage);
    }
}

TEST(UsagePercentageTest, ResultBracketsTheShare) {
    // p ≤ used × 100 ÷ total < p + 1 for every share of small totals, checked by multiplication.
    for (std::int64_t total = 1; total <= 400; ++total) {
        for (std::int64_t used = 0; used <= total; ++used) {
            const int p = UsagePercentage(used * 1048576, total * 1048576);
            ASSERT_LE(p * total, used * 100) << used << " of " << total;
            ASSERT_GT((p + 1) * total, used * 100) << used << " of " << total;
        }
    }
}

TEST(UsagePercentageTest, ZeroTotalRaisesTheDivisionError) {
    EXPECT_THROW(UsagePercentage(0, 0), EInvalidOp);
    EXPECT_THROW(UsagePercentage(1, 0), EZeroDivide);
    EXPECT_THROW(UsagePercentage(-1, 0), EZeroDivide);
    try {
        UsagePercentage(0, 0);
    } catch (const EInvalidOp& e) {
        EXPECT_STREQ(e.what(), "不正な浮動小数点数演算命令");
    }
}

}  // namespace
