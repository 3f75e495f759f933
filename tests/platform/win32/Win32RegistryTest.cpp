// The Windows backend's registry calls against the real registry: a round trip in a key the test
// makes and removes, the registration values, and the 9x family's dynamic-data root.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/win32/Win32Platform.h"
#include "support/WineMachine.h"

using namespace zelvo::platform;

namespace {

const std::string kTestKey = "Software\\ZelvoTest" + std::to_string(GetCurrentProcessId());

const std::uint8_t* bytes(const char* text) {
    return reinterpret_cast<const std::uint8_t*>(text);
}

class Win32Registry : public ::testing::Test {
protected:
    void SetUp() override {
        ZELVO_REQUIRE_WINE_FAMILY();
        ASSERT_EQ(platform.registry().regCreateKey(kHKeyCurrentUser, kTestKey + "\\Child\\", &key), kRegSuccess);
        ASSERT_EQ(platform.registry().regCloseKey(key), kRegSuccess);
        ASSERT_EQ(platform.registry().regOpenKey(kHKeyCurrentUser, kTestKey, RegAccess::AllAccess, &key), kRegSuccess);
    }
    void TearDown() override {
        if (key)
            platform.registry().regCloseKey(key);
        RegDeleteKeyA(HKEY_CURRENT_USER, (kTestKey + "\\Child").c_str());
        RegDeleteKeyA(HKEY_CURRENT_USER, kTestKey.c_str());
    }

    Win32Platform platform;
    HKey key = 0;
};

TEST_F(Win32Registry, ValuesGoInAndComeOutWithTheirTypesAndSizes) {
    const std::uint8_t binary[] = {0x01, 0x00, 0xFF};
    const std::uint8_t dword[] = {0x39, 0x00, 0x00, 0x00};
    ASSERT_EQ(platform.registry().regSetValue(key, "Text", kRegSz, bytes("Zelvo"), 6), kRegSuccess);
    ASSERT_EQ(platform.registry().regSetValue(key, "Bytes", kRegBinary, binary, sizeof binary), kRegSuccess);
    ASSERT_EQ(platform.registry().regSetValue(key, "KERNEL\\CPUUsage", kRegDword, dword, sizeof dword), kRegSuccess);

    struct Case {
        const char* name;
        std::uint32_t type;
        std::string data;
    };
    const Case cases[] = {
        {"Text", kRegSz, std::string("Zelvo\0", 6)},
        {"Bytes", kRegBinary, std::string("\x01\x00\xFF", 3)},
        {"KERNEL\\CPUUsage", kRegDword, std::string("\x39\0\0\0", 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const auto size = static_cast<std::uint32_t>(c.data.size());
        std::uint32_t type = kRegNone;
        std::uint32_t needed = 0;
        ASSERT_EQ(platform.registry().regQueryValue(key, c.name, &type, nullptr, &needed), kRegSuccess);
        EXPECT_EQ(type, c.type);
        EXPECT_EQ(needed, size);

        std::vector<std::uint8_t> buffer(size + 4, 0xEE);
        std::uint32_t read = size;
        ASSERT_EQ(platform.registry().regQueryValue(key, c.name, &type, buffer.data(), &read), kRegSuccess);
        EXPECT_EQ(read, size);
        EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + read), c.data);

        // Too small a buffer: the size needed comes back; the buffer's contents are not defined.
        std::uint32_t small = size - 1;
        EXPECT_EQ(platform.registry().regQueryValue(key, c.name, &type, buffer.data(), &small), kRegMoreData);
        EXPECT_EQ(small, size);
    }
    std::uint32_t size = 8;
    std::uint8_t buffer[8];
    EXPECT_EQ(platform.registry().regQueryValue(key, "Missing", nullptr, buffer, &size), kRegFileNotFound);

    std::vector<std::string> names;
    std::string name;
    for (std::uint32_t i = 0; platform.registry().regEnumValue(key, i, &name) == kRegSuccess; ++i)
        names.push_back(name);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{"Bytes", "KERNEL\\CPUUsage", "Text"}));
    EXPECT_EQ(platform.registry().regEnumValue(key, 3, &name), kRegNoMoreItems);
}

TEST_F(Win32Registry, AStringWithoutItsZero) {
    // The byte after the counted ones is not zero, so the call cannot take it for a terminator.
    ASSERT_EQ(platform.registry().regSetValue(key, "Bare", kRegSz, bytes("abcX"), 3), kRegSuccess);
    std::uint8_t buffer[8];
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    std::uint32_t size = sizeof buffer;
    std::uint32_t type = 0;
    ASSERT_EQ(platform.registry().regQueryValue(key, "Bare", &type, buffer, &size), kRegSuccess);
    if (*zelvo::test::wineFamily() == kPlatformWin9x) {
        // The 9x family ignores the count of a string and stores it up to its zero.
        EXPECT_EQ(size, 5u);
        EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 5), std::string("abcX\0", 5));
        return;
    }
    // NT stores the three bytes and adds a zero when reading into a buffer with room for one.
    EXPECT_EQ(size, 3u);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 4), std::string("abc\0", 4));
    std::fill(std::begin(buffer), std::end(buffer), 0xEE);
    size = 3;
    ASSERT_EQ(platform.registry().regQueryValue(key, "Bare", &type, buffer, &size), kRegSuccess);
    EXPECT_EQ(buffer[3], 0xEE);  // no room: nothing is added
}

TEST_F(Win32Registry, KeysWithSubkeysStayAndEmptyOnesGo) {
    const auto family = zelvo::test::wineFamily();
    // NT refuses to delete a key that has subkeys (Windows 9x would delete the whole branch,
    // Wine refuses in either mode).
    if (family == kPlatformNT) {
        EXPECT_EQ(platform.registry().regDeleteKey(kHKeyCurrentUser, kTestKey), kRegAccessDenied);
    }
    EXPECT_EQ(platform.registry().regDeleteKey(key, "Child"), kRegSuccess);
    HKey child = 0;
    EXPECT_EQ(platform.registry().regOpenKey(key, "Child", RegAccess::Read, &child), kRegFileNotFound);
    EXPECT_EQ(child, 0u);
    EXPECT_EQ(platform.registry().regDeleteKey(key, "Child"), kRegFileNotFound);
}

TEST_F(Win32Registry, PathsEndingInABackslashAndPathsBeginningWithOne) {
    HKey opened = 0;
    // The program's key strings end with a backslash.
    ASSERT_EQ(platform.registry().regOpenKey(kHKeyCurrentUser, kTestKey + "\\", RegAccess::Read, &opened), kRegSuccess);
    EXPECT_EQ(platform.registry().regCloseKey(opened), kRegSuccess);
    // A path below a key never begins with one.
    EXPECT_EQ(platform.registry().regOpenKey(kHKeyCurrentUser, "\\" + kTestKey, RegAccess::Read, &opened), 161);
    EXPECT_EQ(
        platform.registry().regOpenKey(kHKeyCurrentUser, std::string("Software\0Zelvo", 14), RegAccess::Read, &opened),
        kRegFileNotFound);
}

TEST(Win32RegistryRoots, PredefinedRootsAndBadHandles) {
    Win32Platform platform;
    HKey key = 0;
    ASSERT_EQ(platform.registry().regOpenKey(kHKeyLocalMachine, "SOFTWARE", RegAccess::Read, &key), kRegSuccess);
    EXPECT_NE(key, 0u);
    EXPECT_EQ(platform.registry().regCloseKey(key), kRegSuccess);
    EXPECT_EQ(platform.registry().regCloseKey(0x12340), kRegInvalidHandle);
    EXPECT_EQ(platform.registry().regOpenKey(kHKeyLocalMachine, "SOFTWARE", RegAccess::Read, nullptr),
              ERROR_INVALID_PARAMETER);
}

TEST(Win32RegistryRoots, DynamicDataOnlyOnThe9xFamily) {
    Win32Platform platform;
    const auto version = platform.identity().getVersion();
    ASSERT_TRUE(version.has_value());
    HKey key = 0;
    const long opened = platform.registry().regOpenKey(kHKeyDynData, "PerfStats\\StatData", RegAccess::Read, &key);
    if (version->platformId == kPlatformNT) {
        EXPECT_EQ(opened, kRegInvalidHandle);
        EXPECT_EQ(platform.registry().regCreateKey(kHKeyDynData, "PerfStats\\StatData", &key), kRegInvalidHandle);
        EXPECT_EQ(platform.registry().regCloseKey(kHKeyDynData), kRegInvalidHandle);
        return;
    }
    // Wine keeps the statistics key (with no values) in every prefix.
    ZELVO_REQUIRE_WINE_FAMILY();
    ASSERT_EQ(opened, kRegSuccess);
    EXPECT_EQ(platform.registry().regCloseKey(key), kRegSuccess);
}

// The registration values of the family's version key, put back after the test.
class RegistrationValues {
public:
    explicit RegistrationValues(std::string keyPath) : path_(std::move(keyPath)) {
        for (const char* name : {"RegisteredOwner", "RegisteredOrganization"})
            saved_.push_back(read(name));
    }
    ~RegistrationValues() {
        write("RegisteredOwner", saved_[0]);
        write("RegisteredOrganization", saved_[1]);
    }

    std::string read(const char* name) const {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return {};
        char data[512] = {};
        DWORD size = sizeof data - 1;
        const bool ok = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) == 0;
        RegCloseKey(key);
        return ok ? std::string(data) : std::string();
    }
    void write(const char* name, const std::string& value) const {
        HKEY key = nullptr;
        if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr) !=
            ERROR_SUCCESS)
            return;
        RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                       static_cast<DWORD>(value.size() + 1));
        RegCloseKey(key);
    }

private:
    std::string path_;
    std::vector<std::string> saved_;
};

TEST(Win32RegistryRegistration, OwnerAndOrganizationReadBackBothWays) {
    ZELVO_REQUIRE_WINE_FAMILY();
    Win32Platform platform;
    const std::string path = *zelvo::test::wineFamily() == kPlatformWin9x
                                 ? "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                                 : "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\";
    RegistrationValues values(path);

    // Written directly, read through the backend.
    values.write("RegisteredOwner", "Zelvo Owner");
    HKey key = 0;
    ASSERT_EQ(platform.registry().regOpenKey(kHKeyLocalMachine, path, RegAccess::Read, &key), kRegSuccess);
    char data[255] = {};
    std::uint32_t size = sizeof data;
    std::uint32_t type = 0;
    ASSERT_EQ(
        platform.registry().regQueryValue(key, "RegisteredOwner", &type, reinterpret_cast<std::uint8_t*>(data), &size),
        kRegSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 12u);
    EXPECT_STREQ(data, "Zelvo Owner");
    EXPECT_EQ(platform.registry().regCloseKey(key), kRegSuccess);

    // Written through the backend, read directly.
    ASSERT_EQ(platform.registry().regCreateKey(kHKeyLocalMachine, path, &key), kRegSuccess);
    ASSERT_EQ(platform.registry().regSetValue(key, "RegisteredOrganization", kRegSz, bytes("Zelvo K.K."), 11),
              kRegSuccess);
    EXPECT_EQ(platform.registry().regCloseKey(key), kRegSuccess);
    EXPECT_EQ(values.read("RegisteredOrganization"), "Zelvo K.K.");
}

}  // namespace
