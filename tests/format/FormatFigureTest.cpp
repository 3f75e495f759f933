// Figure texts by pattern: rounding, layout, separators, the pattern language, the general form
// and the pattern length limit.
#include "format/FormatFigure.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <cmath>
#include <cstdio>
#include <limits>
#include <ostream>
#include <string>

#include "ScopedNumberSeparators.h"
#include "platform/Errors.h"

namespace zelvo {
namespace {

using test::ScopedNumberSeparators;

struct FigureCase {
    std::string_view pattern;
    long double value;
    std::string expected;
    const char* why = "";
    Separator thousands = ',';
    Separator decimal = '.';
};

// The spaces that French and Russian style locales group with.
const Separator kNarrowNoBreakSpace = *Separator::fromUtf8("\u202f");
const Separator kNoBreakSpace = *Separator::fromUtf8("\u00a0");

void PrintTo(const FigureCase& c, std::ostream* os) {
    char value[64];
    std::snprintf(value, sizeof value, "%.25Lg", c.value);
    *os << "pattern [" << c.pattern << "] value " << value << " separators [" << c.thousands << "][" << c.decimal
        << "] expected [" << c.expected << "] (" << c.why << ")";
}

void expectFigure(const FigureCase& c) {
    ScopedNumberSeparators separators(c.thousands, c.decimal);
    EXPECT_EQ(FormatFigure(c.pattern, c.value), c.expected) << c.why;
}

class FormatFigureTable : public ::testing::TestWithParam<FigureCase> {};

TEST_P(FormatFigureTable, WritesExpectedText) {
    expectFigure(GetParam());
}

// Values that only the x87 extended type holds; where long double is a double they do not exist.
class ExtendedFigureTable : public ::testing::TestWithParam<FigureCase> {
protected:
    void SetUp() override {
        if (std::numeric_limits<long double>::digits < 64)
            GTEST_SKIP() << "long double has no 64-bit significand here";
    }
};

TEST_P(ExtendedFigureTable, WritesExpectedText) {
    expectFigure(GetParam());
}

// The documented edge cases of the four patterns.
INSTANTIATE_TEST_SUITE_P(
    DocumentedEdgeCases, FormatFigureTable,
    ::testing::Values(FigureCase{kMegabytePattern, 0, "0 MB"}, FigureCase{kMegabytePattern, 0.5, "0.5 MB"},
                      FigureCase{kMegabytePattern, 0.125, "0.13 MB", "half away from zero"},
                      FigureCase{kMegabytePattern, 0.004, "0 MB", "rounds to zero"},
                      FigureCase{kMegabytePattern, -1.0L / 1048576, "0 MB", "a size of -1 byte, no minus sign"},
                      FigureCase{kMegabytePattern, 1536, "1,536 MB", "no decimal separator"},
                      FigureCase{kMegabytePattern, 1234.5, "1,234.5 MB"},
                      FigureCase{kMegabytePattern, 1023.99609375, "1,024 MB", "the carry opens a new group"},
                      FigureCase{kMegabytePattern, 12345678.9, "12,345,678.9 MB"},
                      FigureCase{kMegabytePattern, -1234.5, "-1,234.5 MB"},
                      FigureCase{kMegabytePattern, 1234.5, "1.234,5 MB", "separators swapped", '.', ','},
                      FigureCase{kMegabytePattern, 1234.5, "1234.5 MB", "empty thousands setting", '\0', '.'},
                      FigureCase{kGigabytePattern, 1, "1 GB"}, FigureCase{kGigabytePattern, 37.25, "37.25 GB"},
                      FigureCase{kGigahertzPattern, 2.5, "2.5 GHz"}, FigureCase{kGigahertzPattern, 1.0625, "1.063 GHz"},
                      FigureCase{kMegahertzPattern, 266.125, "266.13 MHz"},
                      FigureCase{kMegahertzPattern, 999.996, "1,000 MHz"}, FigureCase{kMegahertzPattern, 0, "0 MHz"}));

// Rounding: half away from zero at the pattern's places, on the 18-digit expansion of the exact
// binary value. The comments give that expansion where it decides.
INSTANTIATE_TEST_SUITE_P(
    Rounding, FormatFigureTable,
    ::testing::Values(
        FigureCase{kMegabytePattern, 0.375, "0.38 MB", "exact binary half"},
        FigureCase{kMegabytePattern, 0.625, "0.63 MB", "exact binary half, away from zero not to even"},
        FigureCase{kMegabytePattern, -0.125, "-0.13 MB", "negative half goes away from zero"},
        FigureCase{kMegabytePattern, -0.375, "-0.38 MB"},
        FigureCase{kMegabytePattern, 2.675, "2.67 MB", "double 2.675 is 2.67499999999999982..."},
        FigureCase{kMegabytePattern, 2.675L, "2.68 MB", "extended 2.675 is 2.674999...99996, 18 digits 2.675"},
        FigureCase{kMegabytePattern, 1.005, "1 MB", "double 1.005 is 1.00499999999999989..."},
        FigureCase{kMegabytePattern, 1.005L, "1.01 MB", "extended 1.005: 18 digits give 1.005"},
        FigureCase{kMegabytePattern, 0.115, "0.12 MB", "double 0.115 is 0.115000000000000005..."},
        FigureCase{kMegabytePattern, 9.995, "9.99 MB", "double 9.995 is 9.99499999999999922..."},
        FigureCase{kMegabytePattern, 9.996, "10 MB", "carry adds an integer digit"},
        FigureCase{kMegabytePattern, 999.995, "1,000 MB", "double 999.995 is 999.995000000000005, new group"},
        FigureCase{kMegabytePattern, 999.995L, "1,000 MB", "extended 999.995: 18 digits give 999.995"},
        FigureCase{kMegabytePattern, 999.994, "999.99 MB"},
        FigureCase{kMegabytePattern, 99999.996, "100,000 MB", "carry through every digit"},
        FigureCase{kMegabytePattern, 999999.999, "1,000,000 MB", "carry opens a third group"},
        FigureCase{kMegabytePattern, 1234.56, "1,234.56 MB", "double is 1234.55999999999995"},
        FigureCase{kMegabytePattern, std::nextafter(0.125, 0.0), "0.12 MB", "just under a half (double)"},
        FigureCase{kMegabytePattern, std::nextafter(0.125, 1.0), "0.13 MB", "just over a half (double)"},
        FigureCase{kMegabytePattern, 0.005, "0.01 MB", "k = 0, first digit 5"},
        FigureCase{kMegabytePattern, 0.0051, "0.01 MB", "k = 0"},
        FigureCase{kMegabytePattern, 0.0095, "0.01 MB", "k = 0, first digit 9"},
        FigureCase{kMegabytePattern, 0.0049, "0 MB", "k = 0, first digit 4"},
        FigureCase{kMegabytePattern, 0.0004, "0 MB", "k negative"},
        FigureCase{kMegabytePattern, 1e-10, "0 MB", "k negative"},
        FigureCase{kMegabytePattern, -0.005, "-0.01 MB", "tiny negative that survives"},
        FigureCase{kMegabytePattern, -0.0049, "0 MB", "tiny negative rounds to unsigned zero"},
        FigureCase{kMegabytePattern, -1e-300, "0 MB", "tiny negative"},
        FigureCase{kMegabytePattern, -0.0, "0 MB", "negative zero"},
        FigureCase{kMegabytePattern, std::numeric_limits<long double>::denorm_min(), "0 MB", "smallest subnormal"},
        FigureCase{kMegabytePattern, -std::numeric_limits<long double>::denorm_min(), "0 MB"},
        FigureCase{kMegabytePattern, 1, "1 MB"}, FigureCase{kMegabytePattern, 10, "10 MB"},
        FigureCase{kMegabytePattern, 100, "100 MB"}, FigureCase{kMegabytePattern, 1000, "1,000 MB"},
        FigureCase{kMegabytePattern, 999999, "999,999 MB"}, FigureCase{kMegabytePattern, 1000000, "1,000,000 MB"},
        FigureCase{kMegabytePattern, 0.1, "0.1 MB"}, FigureCase{kMegabytePattern, 0.01, "0.01 MB"},
        FigureCase{kMegabytePattern, 0.1 + 0.2, "0.3 MB", "0.30000000000000004"},
        FigureCase{kMegabytePattern, 8589934592.0 / 1048576, "8,192 MB"},
        FigureCase{kMegabytePattern, 16777215.0 / 1048576, "16 MB", "15.99999904632568359375"},
        FigureCase{kMegabytePattern, 1.0 / 1048576, "0 MB", "one byte"},
        FigureCase{kMegabytePattern, 1e17, "100,000,000,000,000,000 MB"},
        FigureCase{kMegabytePattern, static_cast<double>(123456789012345678.0L), "123,456,789,012,345,680 MB",
                   "a double holds 123456789012345680"},
        FigureCase{kMegabytePattern, std::nextafter(1e18, 0.0), "999,999,999,999,999,872 MB",
                   "largest double below 10^18"},
        FigureCase{kGigabytePattern, 1610612736.0 / 1073741824, "1.5 GB"},
        FigureCase{kGigabytePattern, 2047.999, "2,048 GB"},
        FigureCase{kGigahertzPattern, 0.0625, "0.063 GHz", "exact half at three places, k = 2"},
        FigureCase{kGigahertzPattern, 2.0625, "2.063 GHz"}, FigureCase{kGigahertzPattern, -2.0625, "-2.063 GHz"},
        FigureCase{kGigahertzPattern, 0.0005, "0.001 GHz", "k = 0 at three places"},
        FigureCase{kGigahertzPattern, 0.0004, "0 GHz"}, FigureCase{kGigahertzPattern, 1234.5678, "1,234.568 GHz"},
        FigureCase{kGigahertzPattern, 3.1999999, "3.2 GHz"},
        FigureCase{kGigahertzPattern, 9999999.9999, "10,000,000 GHz", "carry opens the pattern's third group"},
        FigureCase{kMegahertzPattern, 999.995, "1,000 MHz"}, FigureCase{kMegahertzPattern, 2666.666666, "2,666.67 MHz"},
        FigureCase{kMegahertzPattern, 1234567.891, "1,234,567.89 MHz"}));

INSTANTIATE_TEST_SUITE_P(
    Separators, FormatFigureTable,
    ::testing::Values(FigureCase{kMegabytePattern, 1234567.891, "1.234.567,89 MB", "swapped", '.', ','},
                      FigureCase{kMegabytePattern, 0.5, "0,5 MB", "swapped", '.', ','},
                      FigureCase{kMegabytePattern, 1536, "1.536 MB", "swapped, whole number", '.', ','},
                      FigureCase{kGigahertzPattern, 1234.5678, "1.234,568 GHz", "swapped", '.', ','},
                      FigureCase{kMegabytePattern, 12345678.9, "12345678.9 MB", "no thousands", '\0', '.'},
                      FigureCase{kMegahertzPattern, 999.996, "1000 MHz", "no thousands", '\0', '.'},
                      FigureCase{kMegabytePattern, 1234.5, "1,234.5 MB", "empty decimal writes '.'", ',', '\0'},
                      FigureCase{kMegabytePattern, 1234.5, "1234.5 MB", "both empty", '\0', '\0'},
                      FigureCase{kMegabytePattern, 1234567.5, "1 234 567,5 MB", "space and comma", ' ', ','},
                      FigureCase{kMegabytePattern, 1234.5, "1'234.5 MB", "apostrophe", '\'', '.'},
                      FigureCase{kMegabytePattern, 1234.5, "1,234,5 MB", "the same character twice", ',', ','}));

// Separators of more than one byte: one UTF-8 character each, written whole.
INSTANTIATE_TEST_SUITE_P(
    MultiByteSeparators, FormatFigureTable,
    ::testing::Values(FigureCase{kMegabytePattern, 24105.25, "24\u202f105,25 MB", "fr_FR", kNarrowNoBreakSpace, ','},
                      FigureCase{kMegabytePattern, 1536, "1\u00a0536 MB", "ru_RU, whole number", kNoBreakSpace, ','},
                      FigureCase{kMegahertzPattern, 1234567.891, "1\u202f234\u202f567,89 MHz", "two groups",
                                 kNarrowNoBreakSpace, ','},
                      FigureCase{kGigabytePattern, 999.996, "1\u00a0000 GB", "the carry opens a group", kNoBreakSpace,
                                 ','},
                      FigureCase{kMegabytePattern, 12.5, "12\u066b5 MB", "a two-byte decimal separator", ',',
                                 *Separator::fromUtf8("\u066b")}));

// The pattern language beyond the four stored patterns.
INSTANTIATE_TEST_SUITE_P(
    PatternLanguage, FormatFigureTable,
    ::testing::Values(
        FigureCase{"0.00\" MB\"", 1.5, "1.50 MB", "mandatory decimal places"}, FigureCase{"0.00\" MB\"", 2, "2.00 MB"},
        FigureCase{"0.00\" MB\"", 0, "0.00 MB"},
        FigureCase{"0.00\" MB\"", -0.001, "0.00 MB", "rounded zero keeps no sign"},
        FigureCase{"0.0#0", 1.5, "1.500", "minimum reaches the rightmost 0"}, FigureCase{"0.0#0", 1.23456, "1.235"},
        FigureCase{"000", 5, "005", "minimum integer digits"}, FigureCase{"000", 12345, "12345"},
        FigureCase{"00.00", 0.5, "00.50"}, FigureCase{"#", 7, "7"},
        FigureCase{"#", 0.4, "", "no mandatory digit, zero writes nothing"}, FigureCase{"#,##0", 1234567, "1,234,567"},
        FigureCase{"0,", 1234567, "1,234,567", "comma position is free"}, FigureCase{",0", 1234567, "1,234,567"},
        FigureCase{"#,#,#,0", 1234567, "1,234,567"},
        FigureCase{"0\"x\"0", 12345, "1234x5", "excess digits at the first placeholder"},
        FigureCase{"#,##\"x\"0", 1234567, "1,234,56x7"},
        FigureCase{"\"Size: \"#,##0.0\" MB\"", 1234.56, "Size: 1,234.6 MB", "literal before and after"},
        FigureCase{"'#,##0.00'0.#", 3.25, "#,##0.003.3", "single-quoted text has no pattern meaning"},
        FigureCase{"0.##'\" MB'", 1.5, "1.5\" MB", "double quote inside single quotes"},
        FigureCase{"0.##\"'\"", 1.5, "1.5'", "single quote inside double quotes"},
        FigureCase{"0.##\" MB", 1.5, "1.5 MB", "unclosed quote runs to the end"},
        FigureCase{"0.##\"", 1.5, "1.5", "unclosed empty quote"},
        FigureCase{"\"a,b\"0", 1234, "a,b1234", "comma inside literal text does not group"},
        FigureCase{"0.0.0", 1.234, "1.23", "a second point is ignored"},
        FigureCase{"\"$\"0.00", -1.5, "-$1.50", "the sign comes first"}, FigureCase{"[0]", 5, "[5]"},
        FigureCase{"0;E-e", 5, "5;E-e", "other characters stand where they are"},
        FigureCase{"0円", 5, "5円", "UTF-8 outside quotes"},
        FigureCase{"#,##0.##\"\u3000MB\"", 1.5, "1.5\u3000MB", "full-width space in literal text"},
        FigureCase{".##", 0.25, ".25", "no integer placeholder, no mandatory digit"},
        FigureCase{".##", 3.25, "3.25", "integer digits at the point"},
        FigureCase{"", 2.5, "3", "no placeholders: digits at the end"}, FigureCase{"\"abc\"", 12, "abc12"},
        FigureCase{"0", 0.5, "1", "no places, half away from zero"}, FigureCase{"0", 1.5, "2"},
        FigureCase{"0", 2.5, "3", "not to even"}, FigureCase{"0", -0.5, "-1"}, FigureCase{"0", -0.4, "0"},
        FigureCase{"0.####################", 1.0L + std::ldexp(1.0L, -55), "1.00000000000000003",
                   "k >= 18: 18 digits survive"},
        FigureCase{"0.########################################", 0.1, "0.100000000000000006",
                   "double 0.1 written with 18 digits"},
        FigureCase{"0.########################################", 1e-30, "0.000000000000000000000000000001"}));

// Rows whose values need the 64-bit significand of the x87 extended type.
INSTANTIATE_TEST_SUITE_P(
    ExtendedValues, ExtendedFigureTable,
    ::testing::Values(
        FigureCase{kMegabytePattern, std::nextafter(0.125L, 0.0L), "0.13 MB",
                   "0.124999999999999999993: its 18 digits are the half"},
        FigureCase{kMegabytePattern, 123456789012345678.0L, "123,456,789,012,345,678 MB", "needs all 18 digits"},
        FigureCase{kMegabytePattern, 12345678901234567.89L, "12,345,678,901,234,567.9 MB",
                   "...567.8896484375: 18 digits leave one decimal"},
        FigureCase{kMegabytePattern, 100000000000000000.5L, "100,000,000,000,000,000 MB", "19th digit 5 to even"},
        FigureCase{kMegabytePattern, 100000000000000001.5L, "100,000,000,000,000,002 MB", "19th digit 5 to even"},
        FigureCase{kMegabytePattern, 100000000000000000.25L, "100,000,000,000,000,000 MB"},
        FigureCase{kMegabytePattern, 100000000000000000.75L, "100,000,000,000,000,001 MB"},
        FigureCase{kMegabytePattern, std::nextafter(1e18L, 0.0L), "1,000,000,000,000,000,000 MB",
                   "999999999999999999.9375 rounds to 10^18 at 18 digits"},
        FigureCase{"0.####################", 1.0L + std::ldexp(1.0L, -62), "1", "beyond the 18th digit"},
        FigureCase{"0.########################################", 0.1L, "0.1"},
        FigureCase{kMegabytePattern, std::numeric_limits<long double>::max(), "1.18973149535723E+4932",
                   "largest value, general form"}));

// The general form, for values the patterns are not meant for.
INSTANTIATE_TEST_SUITE_P(
    GeneralForm, FormatFigureTable,
    ::testing::Values(FigureCase{kMegabytePattern, 1e18, "1E+18", "10^18 is the first"},
                      FigureCase{kMegabytePattern, -1e18, "-1E+18"}, FigureCase{kGigahertzPattern, 1.5e18, "1.5E+18"},
                      FigureCase{kMegabytePattern, 123456789012345678901.0, "1.23456789012346E+20", "15 digits"},
                      FigureCase{kMegabytePattern, 1e300, "1E+300"},
                      FigureCase{kMegabytePattern, DBL_MAX, "1.79769313486232E+308"},
                      FigureCase{kMegabytePattern, std::numeric_limits<long double>::infinity(), "INF"},
                      FigureCase{kMegabytePattern, -std::numeric_limits<long double>::infinity(), "-INF"},
                      FigureCase{kMegabytePattern, std::numeric_limits<long double>::quiet_NaN(), "NAN"},
                      FigureCase{kMegabytePattern, -std::numeric_limits<long double>::quiet_NaN(), "NAN"},
                      FigureCase{kMegabytePattern, 1.5e18, "1,5E+18", "decimal separator", '.', ','},
                      FigureCase{kMegabytePattern, 1.5e18, "1.5E+18", "empty decimal setting", ',', '\0'}));

TEST(FormatFigurePatterns, StoredPatternsAreTheProgramsOwn) {
    EXPECT_EQ(kMegabytePattern, "#,##0.##\" MB\"");
    EXPECT_EQ(kGigabytePattern, "#,##0.##\" GB\"");
    EXPECT_EQ(kGigahertzPattern, "#,###,##0.###\" GHz\"");
    EXPECT_EQ(kMegahertzPattern, "#,###,##0.##\" MHz\"");
}

TEST(FormatFigureLimit, AcceptsPatternOf224Bytes) {
    std::string pattern = "0." + std::string(kMaxFigurePatternLength - 2, '#');
    ASSERT_EQ(pattern.size(), 224u);
    EXPECT_EQ(FormatFigure(pattern, 0.25), "0.25");
    pattern = "0" + std::string(kMaxFigurePatternLength - 1, '0');
    EXPECT_EQ(FormatFigure(pattern, 5), std::string(223, '0') + "5");
}

TEST(FormatFigureLimit, RefusesPatternOf225Bytes) {
    const std::string pattern = "0." + std::string(kMaxFigurePatternLength - 1, '#');
    ASSERT_EQ(pattern.size(), 225u);
    for (const long double value : {0.25L, 0.0L, 1e30L, std::numeric_limits<long double>::quiet_NaN()}) {
        SCOPED_TRACE(static_cast<double>(value));
        try {
            FormatFigure(pattern, value);
            ADD_FAILURE() << "no error for a 225-byte pattern";
        } catch (const EConvertError& error) {
            EXPECT_STREQ(error.what(), "書式文字列が長すぎます");
        }
    }
}

TEST(FormatFigureLimit, CountsBytesNotCharacters) {
    // U+3000 takes three bytes: "\"" + 74 of them + "\"0" is 225 bytes, 73 of them 222.
    const auto pattern = [](int spaces) {
        std::string text = "\"";
        for (int i = 0; i < spaces; ++i)
            text += "\u3000";
        return text + "\"0";
    };
    ASSERT_EQ(pattern(74).size(), 225u);
    EXPECT_THROW(FormatFigure(pattern(74), 1), EConvertError);
    ASSERT_EQ(pattern(73).size(), 222u);
    std::string expected;
    for (int i = 0; i < 73; ++i)
        expected += "\u3000";
    EXPECT_EQ(FormatFigure(pattern(73), 1), expected + "1");
}

}  // namespace
}  // namespace zelvo
