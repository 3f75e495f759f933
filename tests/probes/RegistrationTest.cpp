#include "probes/Registration.h"

#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"
#include "support/CodePageTextTesting.h"

namespace zelvo {
namespace {

using namespace platform;

constexpr const char* kNtVersionKey = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

struct Page {
    SimMachine machine = makeNtMachine();
    SimPlatform platform{machine};
    RegistryLocations locations;
    Page() { DetectPlatform(platform.identity(), locations); }
};

TEST(Registration, WrittenValuesReadBackAsTyped) {
    const std::string longKanji = [] {
        std::string text;
        for (int i = 0; i < 128; ++i)
            text += "長";
        return text;
    }();
    const struct {
        const char* name;
        std::string owner;
        std::string organization;
    } rows[] = {
        {"ascii", "Taro Yamada", "Zelvo Inc."},
        {"japanese", "山田 太郎", "ゼルボ株式会社"},
        {"empty", "", ""},
        // 128 double-byte characters are 256 bytes: beyond a 255-byte buffer, still read back.
        {"long", longKanji, std::string(400, 'o')},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Page page;
        WriteRegistration(page.platform.registry(), page.platform.text(), page.locations,
                          {row.owner, row.organization});
        const Registration read = ReadRegistration(page.platform.registry(), page.platform.text(), page.locations);
        EXPECT_EQ(read.owner, row.owner);
        EXPECT_EQ(read.organization, row.organization);
        EXPECT_EQ(page.machine.registry.openHandleCount(), 0u);
    }
}

TEST(Registration, WritesPlainStringsWithTheirZero) {
    Page page;
    WriteRegistration(page.platform.registry(), page.platform.text(), page.locations, {"佐藤", "A"});
    HKey key = 0;
    ASSERT_EQ(page.platform.registry().regOpenKey(kHKeyLocalMachine, kNtVersionKey, RegAccess::Read, &key),
              kRegSuccess);
    std::uint32_t type = 0, size = 0;
    ASSERT_EQ(page.platform.registry().regQueryValue(key, "RegisteredOwner", &type, nullptr, &size), kRegSuccess);
    EXPECT_EQ(type, kRegSz);
    EXPECT_EQ(size, 5u) << "two CP932 characters and the terminating zero";
    page.platform.registry().regCloseKey(key);
}

TEST(Registration, CreatesAMissingVersionKeyAndIgnoresRefusedWrites) {
    Page page;
    page.machine.registry.removeKey(kHKeyLocalMachine, kNtVersionKey);
    EXPECT_EQ(ReadRegistration(page.platform.registry(), page.platform.text(), page.locations).owner, "");
    WriteRegistration(page.platform.registry(), page.platform.text(), page.locations, {"New", "Org"});
    EXPECT_EQ(ReadRegistration(page.platform.registry(), page.platform.text(), page.locations).owner, "New");

    page.machine.registry.setReadOnly(kHKeyLocalMachine, kNtVersionKey, true);
    EXPECT_NO_THROW(
        WriteRegistration(page.platform.registry(), page.platform.text(), page.locations, {"Other", "Org2"}));
    EXPECT_EQ(ReadRegistration(page.platform.registry(), page.platform.text(), page.locations).owner, "New");
    EXPECT_EQ(page.machine.registry.openHandleCount(), 0u);
}

TEST(SubmitComputerName, SixteenBytesOfTheCodePageAtMost) {
    const struct {
        std::string name;
        bool passed;
    } rows[] = {
        {"PC-1", true},
        {"ABCDEFGHIJKLMNO", true},     // 15 bytes
        {"ABCDEFGHIJKLMNOP", true},    // 16 bytes reach the system
        {"ABCDEFGHIJKLMNOPQ", false},  // 17 bytes do not
        {"開発用ＰＣ二号機", true},    // 8 double-byte characters: 16 bytes
        {"開発用ＰＣ二号機X", false},  // 17 bytes
        {"ｶﾀｶﾅｶﾀｶﾅｶﾀｶﾅｶﾀｶﾅ", true},    // 16 half-width katakana: one byte each
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        Page page;
        std::string seen;
        page.machine.acceptComputerName = [&seen](const std::string& name) {
            seen = name;
            return true;
        };
        EXPECT_EQ(SubmitComputerName(page.platform.identity(), page.platform.text(), row.name), row.passed);
        EXPECT_EQ(seen, row.passed ? row.name : std::string());
    }
}

TEST(SubmitComputerName, TheSystemsRefusalIsReported) {
    Page page;
    page.machine.acceptComputerName = [](const std::string&) { return false; };
    EXPECT_FALSE(SubmitComputerName(page.platform.identity(), page.platform.text(), "PC"));
    EXPECT_EQ(page.machine.pendingComputerName, std::nullopt);
}

}  // namespace
}  // namespace zelvo
