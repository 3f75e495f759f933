// The Windows backend against the real calls: each platform method compared with the call made
// directly, and, in the throwaway Wine prefix, with what the prefix is set up to be.
#include "platform/win32/Win32Platform.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "support/CodePageTextTesting.h"
#include "support/WineMachine.h"

using namespace zelvo::platform;

namespace {

std::string directComputerName() {
    char name[MAX_COMPUTERNAME_LENGTH + 32] = {};
    DWORD size = sizeof name;
    return GetComputerNameA(name, &size) ? std::string(name, size) : std::string();
}

TEST(Win32Platform, VersionIsTheCallsAndTheFamilyIsThePrefixs) {
    Win32Platform platform;
    const auto version = platform.identity().getVersion();
    ASSERT_TRUE(version.has_value());
    OSVERSIONINFOA direct{};
    direct.dwOSVersionInfoSize = sizeof direct;
    ASSERT_TRUE(GetVersionExA(&direct));
    EXPECT_EQ(version->platformId, direct.dwPlatformId);
    EXPECT_EQ(version->major, direct.dwMajorVersion);
    EXPECT_EQ(version->minor, direct.dwMinorVersion);
    EXPECT_EQ(version->build, direct.dwBuildNumber);

    ZELVO_REQUIRE_WINE_FAMILY();
    EXPECT_EQ(version->platformId, *zelvo::test::wineFamily());
    if (version->platformId == kPlatformWin9x) {
        EXPECT_EQ(version->major, 4u);  // 95, 98 and Me are all 4.x
    } else {
        EXPECT_GE(version->major, 5u);
    }
}

TEST(Win32Platform, ComputerNameNeedsRoomForItsTerminatingZero) {
    Win32Platform platform;
    const std::string name = directComputerName();
    ASSERT_FALSE(name.empty());
    const auto size = static_cast<std::uint32_t>(name.size());
    EXPECT_EQ(platform.identity().getComputerName(16), size < 16 ? std::optional(name) : std::nullopt);
    EXPECT_EQ(platform.identity().getComputerName(size + 1), name);
    EXPECT_EQ(platform.identity().getComputerName(size), std::nullopt);
    EXPECT_EQ(platform.identity().getComputerName(0), std::nullopt);
}

TEST(Win32Platform, ANameWithAZeroByteIsNotHandedOn) {
    Win32Platform platform;
    EXPECT_FALSE(platform.identity().setComputerName(CodePageText(std::string("AB\0CD", 5))));
}

TEST(Win32Platform, ANewComputerNameWaitsForTheNextStart) {
    ZELVO_REQUIRE_WINE_FAMILY();
    Win32Platform platform;
    const std::string before = directComputerName();
    EXPECT_TRUE(platform.identity().setComputerName(CodePageText("ZELVOTEST")));
    EXPECT_EQ(platform.identity().getComputerName(16), before);
}

TEST(Win32Platform, LocaleSeparatorsOfTheThreadLocale) {
    Win32Platform platform;
    const struct {
        LocaleItem item;
        LCTYPE type;
    } items[] = {{LocaleItem::ThousandSeparator, LOCALE_STHOUSAND}, {LocaleItem::DecimalSeparator, LOCALE_SDECIMAL}};
    for (const auto& i : items) {
        SCOPED_TRACE(i.type);
        char buffer[16] = {};
        const int length = GetLocaleInfoA(GetThreadLocale(), i.type, buffer, sizeof buffer);
        ASSERT_GT(length, 0);
        const std::string setting(buffer, static_cast<std::size_t>(length - 1));
        EXPECT_EQ(platform.text().getLocaleInfo(i.item, 16), setting);
        EXPECT_EQ(platform.text().getLocaleInfo(i.item, 2), setting.size() < 2 ? std::optional(setting) : std::nullopt);
        EXPECT_EQ(platform.text().getLocaleInfo(i.item, 0), std::nullopt);
    }
}

// The user's setting, changed for a test and put back afterwards.
class ThousandSeparatorSetting {
public:
    ThousandSeparatorSetting() {
        char buffer[16] = {};
        if (GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, buffer, sizeof buffer) > 0)
            saved_ = buffer;
    }
    ~ThousandSeparatorSetting() { SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, saved_.c_str()); }
    bool set(const char* value) { return SetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_STHOUSAND, value) != FALSE; }

private:
    std::string saved_ = ",";
};

TEST(Win32Platform, ALocaleSettingLongerThanTheBufferFails) {
    ZELVO_REQUIRE_WINE_FAMILY();
    Win32Platform platform;
    ThousandSeparatorSetting setting;
    struct Case {
        const char* value;
        std::optional<std::string> inTwo;  // with the program's two-character buffer
    };
    const Case cases[] = {{"'", "'"}, {"ab", std::nullopt}, {"", ""}, {" ", " "}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        ASSERT_TRUE(setting.set(c.value));
        EXPECT_EQ(platform.text().getLocaleInfo(LocaleItem::ThousandSeparator, 2), c.inTwo);
        EXPECT_EQ(platform.text().getLocaleInfo(LocaleItem::ThousandSeparator, 8), std::string(c.value));
    }
}

TEST(Win32Platform, MemoryStatusIsTheSixtyFourBitOne) {
    Win32Platform platform;
    const MemoryStatus status = platform.memory().globalMemoryStatus();
    MEMORYSTATUSEX direct{};
    direct.dwLength = sizeof direct;
    ASSERT_TRUE(GlobalMemoryStatusEx(&direct));
    EXPECT_EQ(status.totalPhys, direct.ullTotalPhys);
    EXPECT_EQ(status.totalPageFile, direct.ullTotalPageFile);
    EXPECT_EQ(status.totalVirtual, direct.ullTotalVirtual);
    EXPECT_GT(status.totalPhys, 0u);
    EXPECT_LE(status.availPhys, status.totalPhys);
    EXPECT_LE(status.memoryLoad, 100u);
}

TEST(Win32Platform, WithoutTheSixtyFourBitCallTheOlderOneAnswers) {
    Win32Platform platform(Win32OptionalCalls{.globalMemoryStatusEx = false});
    MEMORYSTATUS direct{};
    direct.dwLength = sizeof direct;
    GlobalMemoryStatus(&direct);
    const MemoryStatus status = platform.memory().globalMemoryStatus();
    EXPECT_EQ(status.totalPhys, direct.dwTotalPhys);
    EXPECT_EQ(status.totalVirtual, direct.dwTotalVirtual);
    EXPECT_GT(status.totalPhys, 0u);
    EXPECT_LE(status.availPhys, status.totalPhys);
}

TEST(Win32Platform, DisplayModesAreThePrimaryDisplays) {
    Win32Platform platform;
    std::vector<DEVMODEA> direct;
    for (DWORD i = 0;; ++i) {
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsA(nullptr, i, &mode))
            break;
        direct.push_back(mode);
    }
    // Wine lists modes even without a display server.
    if (zelvo::test::runningUnderWine()) {
        EXPECT_FALSE(direct.empty());
    }
    for (std::uint32_t i = 0; i < direct.size(); ++i) {
        SCOPED_TRACE(i);
        const auto mode = platform.display().enumDisplaySettings(i);
        ASSERT_TRUE(mode.has_value());
        EXPECT_EQ(mode->width, direct[i].dmPelsWidth);
        EXPECT_EQ(mode->height, direct[i].dmPelsHeight);
        EXPECT_EQ(mode->bitsPerPixel, direct[i].dmBitsPerPel);
    }
    EXPECT_FALSE(platform.display().enumDisplaySettings(static_cast<std::uint32_t>(direct.size())).has_value());
    // The current and the stored mode have indices of their own; they are not listed modes.
    EXPECT_FALSE(platform.display().enumDisplaySettings(ENUM_CURRENT_SETTINGS).has_value());
    EXPECT_FALSE(platform.display().enumDisplaySettings(ENUM_REGISTRY_SETTINGS).has_value());
}

TEST(Win32Platform, ProgramPathAndCurrentDirectory) {
    Win32Platform platform;
    char path[MAX_PATH + 1] = {};
    ASSERT_GT(GetModuleFileNameA(nullptr, path, sizeof path), 0u);
    EXPECT_EQ(platform.files().programPath(), path);
    EXPECT_EQ(platform.files().pathSeparator(), '\\');
    char current[MAX_PATH + 1] = {};
    ASSERT_GT(GetCurrentDirectoryA(sizeof current, current), 0u);
    EXPECT_EQ(platform.drives().getCurrentDirectory(), current);
}

TEST(Win32Platform, CreateDirectoryOnceInTheTemporaryDirectory) {
    Win32Platform platform;
    char temp[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathA(sizeof temp, temp), 0u);
    const std::string dir = std::string(temp) + "zelvo-" + std::to_string(GetCurrentProcessId()) + "\\TempData";
    const std::string parent = dir.substr(0, dir.rfind('\\'));
    EXPECT_FALSE(platform.files().createDirectory(CodePageText(dir)));  // its parent does not exist yet
    ASSERT_TRUE(platform.files().createDirectory(CodePageText(parent)));
    EXPECT_TRUE(platform.files().createDirectory(CodePageText(dir)));
    EXPECT_FALSE(platform.files().createDirectory(CodePageText(dir)));  // exists already
    EXPECT_NE(GetFileAttributesA(dir.c_str()) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(platform.files().createDirectory(CodePageText(std::string("bad\0name", 8))));
    EXPECT_TRUE(RemoveDirectoryA(dir.c_str()));
    EXPECT_TRUE(RemoveDirectoryA(parent.c_str()));
}

TEST(Win32Platform, RomStringsOnlyWhereTheRomIsMapped) {
    Win32Platform platform;
    const auto version = platform.identity().getVersion();
    ASSERT_TRUE(version.has_value());
    for (std::uint32_t address : {0xFE061u, 0xFE091u, 0xFFFF5u, 0xFEC71u}) {
        SCOPED_TRACE(address);
        const auto text = platform.memory().readRomString(address);
        if (version->platformId != kPlatformWin9x) {
            EXPECT_EQ(text, std::nullopt);
            continue;
        }
        MEMORY_BASIC_INFORMATION info{};
        ASSERT_NE(VirtualQuery(reinterpret_cast<LPCVOID>(std::uintptr_t{address}), &info, sizeof info), 0u);
        if (info.State != MEM_COMMIT) {
            EXPECT_EQ(text, std::nullopt);
            continue;
        }
        // Wine keeps the first megabyte committed and zeroed for DOS programs: empty texts.
        ASSERT_TRUE(text.has_value());
        const auto* rom = reinterpret_cast<const char*>(std::uintptr_t{address});
        EXPECT_EQ(*text, std::string(rom, strnlen(rom, 0x100000 - address)));
    }
    // Below 64 KB nothing is ever mapped; past the first megabyte is no ROM address.
    EXPECT_EQ(platform.memory().readRomString(0x400), std::nullopt);
    EXPECT_EQ(platform.memory().readRomString(0x100000), std::nullopt);
}

TEST(Win32Platform, CodePageIsTheSystemsAnsiCodePage) {
    Win32Platform platform;
    CPINFO info{};
    ASSERT_TRUE(GetCPInfo(CP_ACP, &info));
    EXPECT_EQ(platform.text().hasLeadBytes(), info.MaxCharSize > 1);
    EXPECT_EQ(platform.text().fromUtf8("Zelvo 1.2"), "Zelvo 1.2");
    EXPECT_EQ(platform.text().toUtf8(CodePageText("Zelvo 1.2")), "Zelvo 1.2");
    for (int byte = 0; byte < 256; ++byte)
        ASSERT_EQ(platform.text().isLeadByte(static_cast<std::uint8_t>(byte)),
                  IsDBCSLeadByte(static_cast<BYTE>(byte)) != 0)
            << byte;
    switch (GetACP()) {
        case 932:
            EXPECT_EQ(platform.text().fromUtf8("山田 太郎"), "\x8E\x52\x93\x63 \x91\xBE\x98\x59");
            EXPECT_EQ(platform.text().toUtf8(CodePageText("\x83\x5C\x83\x74\x83\x67")), "ソフト");
            EXPECT_TRUE(platform.text().isLeadByte(0x8E));
            break;
        case 1252:
            EXPECT_EQ(platform.text().fromUtf8("Zoë"), "Zo\xEB");
            EXPECT_EQ(platform.text().toUtf8(CodePageText("Caf\xE9")), "Café");
            EXPECT_EQ(platform.text().fromUtf8("山"), "?");  // not in the code page
            break;
        default:
            break;
    }
}

}  // namespace
