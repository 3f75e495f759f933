// Loading the number separators from the locale, and their effect on figure texts.
#include "format/NumberSeparators.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "LocaleOnlyText.h"
#include "ScopedNumberSeparators.h"
#include "format/FormatFigure.h"

namespace zelvo {
namespace {

using test::LocaleOnlyText;
using test::ScopedNumberSeparators;

struct LoadCase {
    std::optional<std::string> thousandsSetting;
    std::optional<std::string> decimalSetting;
    Separator thousands;
    Separator decimal;
    const char* why;
};

void PrintTo(const LoadCase& c, std::ostream* os) {
    *os << c.why;
}

class LoadNumberSeparatorsTable : public ::testing::TestWithParam<LoadCase> {};

TEST_P(LoadNumberSeparatorsTable, TakesTheSettingOrTheDefault) {
    const LoadCase& c = GetParam();
    ScopedNumberSeparators restore(numberSeparators());
    setNumberSeparators({'x', 'y'});  // neither default nor any setting below
    LocaleOnlyText platform(c.thousandsSetting, c.decimalSetting);
    LoadNumberSeparators(platform);
    EXPECT_EQ(numberSeparators().thousands, c.thousands);
    EXPECT_EQ(numberSeparators().decimal, c.decimal);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, LoadNumberSeparatorsTable,
    ::testing::Values(LoadCase{std::nullopt, std::nullopt, ',', '.', "both queries fail: defaults"},
                      LoadCase{",", ".", ',', '.', "the usual settings"},
                      LoadCase{".", ",", '.', ',', "swapped settings"},
                      LoadCase{"", "", '\0', '\0', "empty settings give NUL"},
                      LoadCase{" ", ",", ' ', ',', "space as thousands separator"},
                      LoadCase{"'", ".", '\'', '.', "apostrophe as thousands separator"},
                      LoadCase{std::nullopt, ",", ',', ',', "only the decimal query succeeds"},
                      LoadCase{"ab", "xy", ',', '.', "a backend answer that cannot fit counts as failed"},
                      LoadCase{"\xA5", "\xA5", ',', '.', "a byte outside ASCII: defaults"},
                      LoadCase{std::string("\0", 1), ".", ',', '.', "a NUL would end the figure: default"},
                      LoadCase{"\xC2\xA0", ",", *Separator::fromUtf8("\u00a0"), ',', "a two-byte character"},
                      LoadCase{"\u202f", ",", *Separator::fromUtf8("\u202f"), ',', "a three-byte character"},
                      LoadCase{"\xE2\x80", "\xC0\xAC", ',', '.', "a cut or overlong character: defaults"},
                      LoadCase{"\u00a0x", "\xED\xA0\x80", ',', '.', "two characters, a surrogate: defaults"}));

TEST(LoadNumberSeparators, AsksBothItemsWithATwoCharacterBuffer) {
    ScopedNumberSeparators restore(numberSeparators());
    LocaleOnlyText platform(".", ",");
    LoadNumberSeparators(platform);
    ASSERT_EQ(platform.queries().size(), 2u);
    bool askedThousands = false;
    bool askedDecimal = false;
    for (const LocaleOnlyText::Query& query : platform.queries()) {
        EXPECT_EQ(query.bufferChars, 2u);
        askedThousands = askedThousands || query.item == platform::LocaleItem::ThousandSeparator;
        askedDecimal = askedDecimal || query.item == platform::LocaleItem::DecimalSeparator;
    }
    EXPECT_TRUE(askedThousands);
    EXPECT_TRUE(askedDecimal);
}

TEST(LoadNumberSeparators, FigureTextsFollowTheLoadedSettingsAndALaterReload) {
    ScopedNumberSeparators restore(numberSeparators());
    LocaleOnlyText swapped(".", ",");
    LoadNumberSeparators(swapped);
    EXPECT_EQ(FormatFigure(kMegabytePattern, 1234.5), "1.234,5 MB");

    // The settings changed: loading again replaces both characters.
    LocaleOnlyText emptyThousands("", ".");
    LoadNumberSeparators(emptyThousands);
    EXPECT_EQ(FormatFigure(kMegabytePattern, 1234.5), "1234.5 MB");

    LocaleOnlyText failing(std::nullopt, std::nullopt);
    LoadNumberSeparators(failing);
    EXPECT_EQ(FormatFigure(kMegabytePattern, 1234.5), "1,234.5 MB");
}

TEST(NumberSeparators, DefaultsAreCommaAndPoint) {
    EXPECT_EQ(NumberSeparators{}.thousands, ',');
    EXPECT_EQ(NumberSeparators{}.decimal, '.');
}

TEST(NumberSeparators, SetterKeepsAsciiAndNul) {
    ScopedNumberSeparators restore(numberSeparators());
    setNumberSeparators({'\0', ';'});
    EXPECT_EQ(numberSeparators().thousands, '\0');
    EXPECT_EQ(numberSeparators().decimal, ';');
}

TEST(NumberSeparators, SetterReplacesBytesOutsideAsciiByDefaults) {
    // A lone byte of a multi-byte character would make the figure text invalid UTF-8.
    ScopedNumberSeparators restore(numberSeparators());
    setNumberSeparators({'\xE2', '\x80'});
    EXPECT_EQ(numberSeparators().thousands, ',');
    EXPECT_EQ(numberSeparators().decimal, '.');
    EXPECT_EQ(FormatFigure(kMegabytePattern, 1234.5), "1,234.5 MB");
}

}  // namespace
}  // namespace zelvo
