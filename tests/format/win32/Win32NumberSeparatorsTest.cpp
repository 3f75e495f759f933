// The number separators read from the real locale with the program's two-character buffer.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "format/FormatFigure.h"
#include "format/NumberSeparators.h"
#include "platform/win32/Win32Platform.h"
#include "support/WineMachine.h"

using namespace zelvo;

namespace {

class SeparatorSetting {
public:
    explicit SeparatorSetting(LCTYPE type) : type_(type) {
        char buffer[16] = {};
        if (GetLocaleInfoA(LOCALE_USER_DEFAULT, type_, buffer, sizeof buffer) > 0)
            saved_ = buffer;
    }
    ~SeparatorSetting() {
        SetLocaleInfoA(LOCALE_USER_DEFAULT, type_, saved_.c_str());
        setNumberSeparators({});
    }
    bool set(const char* value) { return SetLocaleInfoA(LOCALE_USER_DEFAULT, type_, value) != FALSE; }

private:
    LCTYPE type_;
    std::string saved_;
};

TEST(Win32NumberSeparators, TheUsersSettingsWithTheirFallbacks) {
    ZELVO_REQUIRE_WINE_FAMILY();
    platform::Win32Platform platform;
    SeparatorSetting thousands(LOCALE_STHOUSAND);
    SeparatorSetting decimal(LOCALE_SDECIMAL);
    struct Case {
        const char* thousands;
        const char* decimal;
        char expectedThousands;
        char expectedDecimal;
    };
    const Case cases[] = {
        {",", ".", ',', '.'},   {".", ",", '.', ','},
        {" ", ",", ' ', ','},   {"", ".", '\0', '.'},  // an empty setting: no grouping character
        {"ab", "::", ',', '.'},                        // longer than one character: the query fails, the defaults stay
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.thousands) + " " + c.decimal);
        ASSERT_TRUE(thousands.set(c.thousands));
        ASSERT_TRUE(decimal.set(c.decimal));
        setNumberSeparators({'#', '#'});
        LoadNumberSeparators(platform.text());
        EXPECT_EQ(numberSeparators().thousands, c.expectedThousands);
        EXPECT_EQ(numberSeparators().decimal, c.expectedDecimal);
    }
}

// scripts/test-wine.sh runs this program again with the user's locale set to each of these
// (ZELVO_WINE_LOCALE); their thousands separator is a no-break space, 0xA0 in their code pages.
TEST(Win32NumberSeparators, NoBreakSpaceOfTheCodePage) {
    const char* locale = std::getenv("ZELVO_WINE_LOCALE");
    if (!locale || !test::wineFamily())
        GTEST_SKIP() << "needs ZELVO_WINE_LOCALE in the throwaway Wine prefix of scripts/test-wine.sh";
    SCOPED_TRACE(locale);
    platform::Win32Platform platform;
    setNumberSeparators({});
    LoadNumberSeparators(platform.text());
    EXPECT_EQ(numberSeparators().thousands, Separator::fromUtf8("\u00A0").value());
    EXPECT_EQ(numberSeparators().decimal, ',');
    EXPECT_EQ(FormatFigure(kMegabytePattern, 24105.25L), "24\u00A0105,25 MB");
    setNumberSeparators({});
}

}  // namespace
