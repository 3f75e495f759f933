// Plain decimal and hexadecimal texts.
#include "format/IntegerText.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <random>
#include <string>

#include "ScopedNumberSeparators.h"

namespace zelvo {
namespace {

struct IntegerCase {
    std::int32_t value;
    std::string expected;
};

class IntegerTextTable : public ::testing::TestWithParam<IntegerCase> {};

TEST_P(IntegerTextTable, WritesDecimalDigits) {
    EXPECT_EQ(IntegerText(GetParam().value), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, IntegerTextTable,
                         ::testing::Values(IntegerCase{0, "0"}, IntegerCase{57, "57"}, IntegerCase{-5, "-5"},
                                           IntegerCase{100, "100"}, IntegerCase{1234567, "1234567"},
                                           IntegerCase{-1, "-1"}, IntegerCase{2147483647, "2147483647"},
                                           IntegerCase{std::numeric_limits<std::int32_t>::min(), "-2147483648"}));

TEST(IntegerText, SmallestValueIsElevenCharacters) {
    EXPECT_EQ(IntegerText(std::numeric_limits<std::int32_t>::min()).size(), 11u);
}

TEST(IntegerText, IgnoresNumberSeparators) {
    test::ScopedNumberSeparators separators('.', ',');
    EXPECT_EQ(IntegerText(1234567), "1234567");
    EXPECT_EQ(IntegerText(-1000), "-1000");
}

TEST(IntegerText, ReadsBackAsTheSameValue) {
    std::mt19937 rng(5);
    std::uniform_int_distribution<std::int32_t> any(std::numeric_limits<std::int32_t>::min(),
                                                    std::numeric_limits<std::int32_t>::max());
    for (int i = 0; i < 10000; ++i) {
        const std::int32_t value = any(rng);
        const std::string text = IntegerText(value);
        SCOPED_TRACE(text);
        EXPECT_EQ(std::stoll(text), value);
        const std::size_t firstDigit = value < 0 ? 1 : 0;
        EXPECT_NE(text[firstDigit], '0') << "leading zero";
        EXPECT_EQ(text.find_first_not_of("0123456789", firstDigit), std::string::npos);
    }
}

struct HexCase {
    std::uint64_t value;
    int minDigits;
    std::string expected;
};

class HexTextTable : public ::testing::TestWithParam<HexCase> {};

TEST_P(HexTextTable, WritesUpperCaseDigits) {
    EXPECT_EQ(HexText(GetParam().value, GetParam().minDigits), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Values, HexTextTable,
                         ::testing::Values(HexCase{0, 8, "00000000"}, HexCase{0x1A2B, 8, "00001A2B"},
                                           HexCase{0xFFFFFFFF, 8, "FFFFFFFF"}, HexCase{0xABCDEF, 0, "ABCDEF"},
                                           HexCase{0, 0, "0"}, HexCase{0, 1, "0"},
                                           HexCase{0x12345678, 4, "12345678"} /* longer than the minimum: never cut */,
                                           HexCase{0x123456789ABCDEF0, 8, "123456789ABCDEF0"},
                                           HexCase{0xFFFFFFFFFFFFFFFF, 8, "FFFFFFFFFFFFFFFF"},
                                           HexCase{0x1, 32, std::string(31, '0') + "1"} /* the largest minimum */,
                                           HexCase{0x1, 33, "1"} /* above 32: counts as 0 */,
                                           HexCase{0xBEEF, 1000, "BEEF"},
                                           HexCase{0xBEEF, -3, "BEEF"} /* negative: counts as 0 */));

TEST(HexText, VolumeSerialIsAlwaysEightCharacters) {
    std::mt19937 rng(8);
    for (int i = 0; i < 10000; ++i) {
        const std::uint32_t serial = static_cast<std::uint32_t>(rng());
        const std::string text = HexText(serial, 8);
        SCOPED_TRACE(text);
        ASSERT_EQ(text.size(), 8u);
        EXPECT_EQ(text.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        EXPECT_EQ(std::stoul(text, nullptr, 16), serial);
    }
}

}  // namespace
}  // namespace zelvo
