// The user's current locale from the settings files, and when it takes over from the process's own.
#include "platform/linux/UserLocale.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <fstream>

namespace zelvo::platform {
namespace {

TEST(UserLocale, NumericLocaleOfLocaleConf) {
    struct Case {
        const char* text;
        std::optional<std::string> name;
    };
    const Case cases[] = {
        {"LANG=fr_FR.UTF-8\n", "fr_FR.UTF-8"},
        {"LC_NUMERIC=ru_RU.UTF-8\nLANG=en_US.UTF-8\n", "ru_RU.UTF-8"},
        {"LANG=en_US.UTF-8\nLC_NUMERIC=\"pl_PL.UTF-8\"", "pl_PL.UTF-8"},
        {"# LANG=de_DE.UTF-8\n  LANG = 'sv_SE.UTF-8'  \n", "sv_SE.UTF-8"},
        {"LC_NUMERIC=\nLANG=cs_CZ.UTF-8\n", "cs_CZ.UTF-8"},
        {"LC_TIME=fi_FI.UTF-8\ngarbage\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(numericLocaleOfLocaleConf(c.text), c.name);
    }
}

class UserLocaleFiles : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }
    std::string path(const char* name) const { return dir_.filePath(QLatin1String(name)).toStdString(); }
    void write(const char* name, const std::string& text) const { std::ofstream(path(name)) << text; }
    std::vector<LocaleSettingsFile> files() const {
        return {{LocaleSettingsFile::Format::PlasmaFormats, path("plasma-localerc")},
                {LocaleSettingsFile::Format::LocaleConf, path("user-locale.conf")},
                {LocaleSettingsFile::Format::LocaleConf, path("system-locale.conf")}};
    }

private:
    QTemporaryDir dir_;
};

TEST_F(UserLocaleFiles, TheUsersOwnSettingComesFirst) {
    EXPECT_EQ(configuredNumericLocale(files()), std::nullopt);
    write("system-locale.conf", "LANG=en_US.UTF-8\n");
    EXPECT_EQ(configuredNumericLocale(files()), "en_US.UTF-8");
    write("user-locale.conf", "LANG=ru_RU.UTF-8\n");
    EXPECT_EQ(configuredNumericLocale(files()), "ru_RU.UTF-8");
    write("plasma-localerc", "[Formats]\nLANG=en_GB.UTF-8\nLC_NUMERIC=fr_FR.UTF-8\n");
    EXPECT_EQ(configuredNumericLocale(files()), "fr_FR.UTF-8");
}

TEST_F(UserLocaleFiles, AChangedSettingTakesOverFromTheStartingEnvironment) {
    write("system-locale.conf", "LANG=de_DE.UTF-8\n");
    const QLocale process(QStringLiteral("en_US"));
    UserLocaleSource source(
        files(), [process] { return process; }, false);
    // At start, and while the setting is as it was then, the process's environment holds.
    EXPECT_EQ(source().name().toStdString(), "en_US");
    EXPECT_EQ(source().name().toStdString(), "en_US");
    write("user-locale.conf", "LANG=fr_FR.UTF-8\n");
    EXPECT_EQ(source().name().toStdString(), "fr_FR");
    write("user-locale.conf", "LC_NUMERIC=ru_RU.UTF-8\n");
    EXPECT_EQ(source().name().toStdString(), "ru_RU");

    // LC_ALL overrides every setting.
    UserLocaleSource overridden(
        files(), [process] { return process; }, true);
    EXPECT_EQ(overridden().name().toStdString(), "en_US");
    write("user-locale.conf", "LANG=pl_PL.UTF-8\n");
    EXPECT_EQ(overridden().name().toStdString(), "en_US");
}

}  // namespace
}  // namespace zelvo::platform
