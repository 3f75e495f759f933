#include "platform/sim/SimPlatform.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/CodePage.h"
#include "support/CodePageTextTesting.h"

using namespace zelvo::platform;

namespace {

// The four drives of the drive-selector examples, on an otherwise empty machine.
SimMachine driveMachine() {
    SimMachine m;
    m.setDrive('A', SimDrive{kDriveRemovable, false, "", 0, "", 0, 0, ""});
    m.setDrive('C', SimDrive{kDriveFixed, true, "SYSTEM", 0x1A2B3C4D, "NTFS", 8 << 20, 3 << 20, ""});
    m.setDrive('D', SimDrive{kDriveCdrom, false, "", 0, "CDFS", 0, 0, ""});
    m.setDrive('Z', SimDrive{kDriveRemote, true, "データ", 0x5E6F7081, "NTFS", 100 << 20, 40 << 20, "\\\\SRV\\DATA"});
    m.currentDirectory = "C:\\WORK";
    return m;
}

struct NameCase {
    std::optional<std::string> name;  // UTF-8
    std::uint32_t buffer;
    bool fits;
};

TEST(SimPlatform, ComputerNameMustFitTheBufferWithItsTerminator) {
    const NameCase cases[] = {
        {"ABCDEFGHIJKLMNO", 16, true},    // 15 characters
        {"ABCDEFGHIJKLMNOP", 16, false},  // 16 characters
        {"ABCDEFGHIJKLMNOP", 17, true},
        {"開発用ＰＣ", 16, true},         // 10 bytes
        {"山田太郎佐藤花子", 16, false},  // 8 kanji = 16 bytes
        {"山田太郎佐藤花A", 16, true},    // 15 bytes
        {"ｱｲｳｴｵｶｷｸｹｺｻｼｽｾｿ", 16, true},    // 15 half-width katakana = 15 bytes
        {"", 1, true},
        {"A", 0, false},
        {std::nullopt, 16, false},
    };
    for (const NameCase& c : cases) {
        SCOPED_TRACE(c.name.value_or("(unreadable)") + " in " + std::to_string(c.buffer));
        SimMachine m;
        m.computerName = c.name;
        SimPlatform p(m);
        const auto got = p.identity().getComputerName(c.buffer);
        ASSERT_EQ(got.has_value(), c.fits);
        if (got) {
            EXPECT_EQ(*got, cp932::fromUtf8(*c.name));
        }
    }
}

TEST(SimPlatform, SetComputerNameKeepsTheNameForTheNextStart) {
    const struct {
        const char* name;
        bool accepted;
    } cases[] = {
        {"NEWPC", true},
        {"new-pc_01", true},
        {"新開発機", true},  // Japanese names are allowed
        {"", false},
        {"BAD NAME", false},
        {"A\\B", false},
        {"A*B", false},
        {"ABCDEFGHIJKLMNOP", false},  // 16 bytes
        {"ABCDEFGHIJKLMNO", true},    // 15 bytes
        {"山田太郎佐藤花子", false},  // 16 bytes
        {"😀", false},                 // not in the code page
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        SimMachine m;
        m.computerName = "OLDPC";
        SimPlatform p(m);
        EXPECT_EQ(p.identity().setComputerName(p.text().fromUtf8(c.name)), c.accepted);
        EXPECT_EQ(m.computerName, "OLDPC");
        EXPECT_EQ(m.pendingComputerName.has_value(), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(*m.pendingComputerName, c.name);
        }
        EXPECT_EQ(*p.identity().getComputerName(16), "OLDPC");
    }

    SimMachine m;
    std::vector<std::string> asked;
    m.acceptComputerName = [&](const std::string& name) {
        asked.push_back(name);
        return false;
    };
    SimPlatform p(m);
    EXPECT_FALSE(p.identity().setComputerName(p.text().fromUtf8("名前")));
    EXPECT_EQ(asked, std::vector<std::string>{"名前"});
    EXPECT_FALSE(m.pendingComputerName.has_value());
}

TEST(SimPlatform, DriveTypesAndMask) {
    SimMachine m = driveMachine();
    SimPlatform p(m);
    EXPECT_EQ(p.drives().getLogicalDrives(), (1u << 0) | (1u << 2) | (1u << 3) | (1u << 25));
    const struct {
        const char* root;
        std::uint32_t type;
    } cases[] = {
        {"A:\\", kDriveRemovable}, {"a:\\", kDriveRemovable}, {"c:\\", kDriveFixed},   {"D:\\", kDriveCdrom},
        {"Z:\\", kDriveRemote},    {"E:\\", kDriveNoRootDir}, {"C:", kDriveNoRootDir}, {"C:\\WORK", kDriveNoRootDir},
        {"1:\\", kDriveNoRootDir}, {"", kDriveFixed},  // the current directory's drive
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.root);
        EXPECT_EQ(p.drives().getDriveType(c.root), c.type);
    }
}

TEST(SimPlatform, VolumeAndSizeQueries) {
    SimMachine m = driveMachine();
    SimPlatform p(m);
    const auto c = p.drives().getVolumeInformation("c:\\");
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->label, "SYSTEM");
    EXPECT_EQ(c->serial, 0x1A2B3C4Du);
    EXPECT_EQ(c->fileSystem, "NTFS");
    const auto z = p.drives().getVolumeInformation("Z:\\");
    ASSERT_TRUE(z.has_value());
    EXPECT_EQ(z->label, cp932::fromUtf8("データ"));
    EXPECT_FALSE(p.drives().getVolumeInformation("E:\\").has_value());
    EXPECT_FALSE(p.drives().getVolumeInformation("C:").has_value());

    const auto space = p.drives().getDiskFreeSpaceEx("C:\\");
    ASSERT_TRUE(space.has_value());
    EXPECT_EQ(space->totalBytes, 8 << 20);
    EXPECT_EQ(space->freeBytesAvailable, 3 << 20);
    const auto clusters = p.drives().getDiskFreeSpace("C:\\");
    ASSERT_TRUE(clusters.has_value());
    const std::int64_t clusterBytes = std::int64_t{clusters->sectorsPerCluster} * clusters->bytesPerSector;
    EXPECT_EQ(clusterBytes * clusters->totalClusters, 8 << 20);
    EXPECT_EQ(clusterBytes * clusters->freeClusters, 3 << 20);

    // The empty root is the current directory's drive, also on a network path.
    EXPECT_EQ(p.drives().getDiskFreeSpaceEx("")->totalBytes, 8 << 20);
    m.currentDirectory = "\\\\srv\\data\\reports";
    EXPECT_EQ(p.drives().getDiskFreeSpaceEx("")->totalBytes, 100 << 20);
    EXPECT_EQ(p.drives().getDriveType(""), kDriveRemote);
    m.currentDirectory = "\\\\OTHER\\SHARE";
    EXPECT_FALSE(p.drives().getDiskFreeSpaceEx("").has_value());

    m.hasDiskFreeSpaceEx = false;
    EXPECT_FALSE(p.drives().hasDiskFreeSpaceEx());
    EXPECT_FALSE(p.drives().getDiskFreeSpaceEx("C:\\").has_value());
    EXPECT_TRUE(p.drives().getDiskFreeSpace("C:\\").has_value());
}

TEST(SimPlatform, ADriveWithoutMediumFailsAndPromptsUnlessCriticalErrorsFail) {
    SimMachine m = driveMachine();
    SimPlatform p(m);
    for (const char* root : {"A:\\", "D:\\"}) {
        SCOPED_TRACE(root);
        m.criticalErrorPrompts = 0;
        EXPECT_EQ(p.drives().setErrorMode(0), m.errorMode);
        EXPECT_FALSE(p.drives().getVolumeInformation(root).has_value());
        EXPECT_FALSE(p.drives().getDiskFreeSpaceEx(root).has_value());
        EXPECT_FALSE(p.drives().getDiskFreeSpace(root).has_value());
        EXPECT_EQ(m.criticalErrorPrompts, 3);

        EXPECT_EQ(p.drives().setErrorMode(1), 0u);
        EXPECT_FALSE(p.drives().getVolumeInformation(root).has_value());
        EXPECT_EQ(m.criticalErrorPrompts, 3);
        EXPECT_EQ(p.drives().setErrorMode(0), 1u);
        // The drive still exists and keeps its type.
        EXPECT_NE(p.drives().getDriveType(root), kDriveNoRootDir);
    }
    m.drive('A')->mediumPresent = true;
    m.drive('A')->totalBytes = 1457664;
    EXPECT_EQ(p.drives().getDiskFreeSpaceEx("A:\\")->totalBytes, 1457664);
}

TEST(SimPlatform, NetworkConnections) {
    SimMachine m = driveMachine();
    SimPlatform p(m);
    EXPECT_EQ(p.drives().wnetGetConnection("Z:"), "\\\\SRV\\DATA");
    EXPECT_EQ(p.drives().wnetGetConnection("z:"), "\\\\SRV\\DATA");
    EXPECT_FALSE(p.drives().wnetGetConnection("C:").has_value());
    EXPECT_FALSE(p.drives().wnetGetConnection("Q:").has_value());
    EXPECT_FALSE(p.drives().wnetGetConnection("Z:\\").has_value());
    m.drive('Z')->remoteName.clear();
    EXPECT_FALSE(p.drives().wnetGetConnection("Z:").has_value());
}

TEST(SimPlatform, LocaleSettingMustFitTheBuffer) {
    const struct {
        std::optional<std::string> setting;
        std::uint32_t buffer;
        std::optional<std::string> result;
    } cases[] = {
        {",", 2, ","},
        {".", 2, "."},
        {"", 2, ""},              // an empty setting succeeds
        {" ,", 2, std::nullopt},  // two characters do not fit two
        {" ,", 3, " ,"},
        {"，", 2, std::nullopt},  // one double-byte character is two bytes
        {"，", 3, cp932::fromUtf8("，")},
        {",", 1, std::nullopt},
        {std::nullopt, 2, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.setting.value_or("(none)") + " in " + std::to_string(c.buffer));
        SimMachine m;
        m.thousandSeparator = c.setting;
        m.decimalSeparator = c.setting;
        SimPlatform p(m);
        EXPECT_EQ(p.text().getLocaleInfo(LocaleItem::ThousandSeparator, c.buffer), c.result);
        EXPECT_EQ(p.text().getLocaleInfo(LocaleItem::DecimalSeparator, c.buffer), c.result);
    }
    SimMachine m;
    m.thousandSeparator = ".";
    m.decimalSeparator = ",";
    SimPlatform p(m);
    EXPECT_EQ(p.text().getLocaleInfo(LocaleItem::ThousandSeparator, 2), ".");
    EXPECT_EQ(p.text().getLocaleInfo(LocaleItem::DecimalSeparator, 2), ",");
    p.text().resetThreadLocale();
    EXPECT_EQ(m.threadLocaleResets, 1);
}

// The program's clock measurement, step by step as the CPU page runs it.
double measure(Platform& p) {
    const std::uint32_t t0 = p.clock().getTickCount();
    while (p.clock().getTickCount() == t0) {
    }
    const std::uint64_t c0 = p.clock().readCycleCounter();
    const std::uint32_t deadline = t0 + 4000;
    while (deadline > p.clock().getTickCount()) {
    }
    const std::uint64_t c1 = p.clock().readCycleCounter();
    return std::nearbyint(
        (static_cast<double>(static_cast<std::int64_t>(c1)) - static_cast<double>(static_cast<std::int64_t>(c0))) /
        4.0);
}

TEST(SimPlatform, DefaultClockAdvancesPerTickRead) {
    SimMachine m;
    m.clock.nowMs = 1000;
    m.clock.stepMs = 5;
    m.clock.cyclesPerSecond = 1e9;
    SimPlatform p(m);
    EXPECT_EQ(p.clock().getTickCount(), 1005u);
    EXPECT_EQ(p.clock().getTickCount(), 1010u);
    EXPECT_EQ(p.clock().readCycleCounter(), 1010u * 1000000u);
    EXPECT_EQ(p.clock().readCycleCounter(), 1010u * 1000000u);  // reading the counter takes no time
    m.clock.nowMs = 0xFFFFFFFFull;
    EXPECT_EQ(p.clock().getTickCount(), 4u);  // wraps at 32 bits
}

TEST(SimPlatform, MeasurementReportsTheRateItWasSetFor) {
    for (double hz : {2.4e9, 450e6, 999'999'999.0, 3.2e9}) {
        for (std::uint32_t step : {1u, 10u, 16u}) {
            SCOPED_TRACE(std::to_string(hz) + " Hz, step " + std::to_string(step));
            SimMachine m;
            m.clock.stepMs = step;
            m.clock.cyclesPerSecond = SimClock::rateMeasuredAs(hz, step);
            SimPlatform p(m);
            EXPECT_EQ(measure(p), hz);
            // Left at the true rate, the measurement shows the bias of its tick-boundary start.
            m.clock.cyclesPerSecond = hz;
            EXPECT_NEAR(measure(p), hz * (4000.0 - step) / 4000.0, 1.0);
        }
    }
}

TEST(SimPlatform, ClockOverrides) {
    SimMachine m;
    std::uint32_t ticks = 100;
    m.tickCount = [&] { return ticks += 1000; };
    m.cycleCounter = [&] { return std::uint64_t{ticks} * 3; };
    SimPlatform p(m);
    EXPECT_EQ(p.clock().getTickCount(), 1100u);
    EXPECT_EQ(p.clock().readCycleCounter(), 3300u);
    // Ticks read 2100 (t0), 3100 (boundary), 4100, 5100, 6100 (deadline reached).
    EXPECT_EQ(measure(p), 3.0 * (6100 - 3100) / 4.0);
}

TEST(SimPlatform, CreateDirectoryNeverTouchesTheDisk) {
    SimMachine m = driveMachine();
    m.directories = {"C:\\Program Files", "C:\\Program Files\\Zelvo"};
    SimPlatform p(m);
    const struct {
        const char* path;
        bool created;
    } steps[] = {
        {"C:\\Program Files\\Zelvo\\TempData", true},
        {"C:\\Program Files\\Zelvo\\TempData", false},    // exists now
        {"c:\\PROGRAM FILES\\zelvo\\tempdata\\", false},  // names ignore case
        {"C:\\Missing\\TempData", false},                 // no parent
        {"C:\\Top", true},                                // below the root
        {"C:\\", false},                                  // a root always exists
        {"D:\\TempData", false},                          // no disc
        {"E:\\TempData", false},                          // no drive
        {"\\\\SRV\\DATA\\TempData", true},                // on a connected share
        {"TempData", false},                              // not a full path
    };
    for (const auto& s : steps) {
        SCOPED_TRACE(s.path);
        EXPECT_EQ(p.files().createDirectory(p.text().fromUtf8(s.path)), s.created);
    }
    EXPECT_EQ(m.directories.count("C:\\Program Files\\Zelvo\\TempData"), 1u);
    EXPECT_EQ(m.directories.count("C:\\Top"), 1u);
    EXPECT_EQ(m.directories.size(), 5u);

    // Names in the code page arrive as CP932 and are kept as UTF-8.
    EXPECT_TRUE(p.files().createDirectory(p.text().fromUtf8("C:\\表示")));
    EXPECT_EQ(m.directories.count("C:\\表示"), 1u);
}

TEST(SimPlatform, RomStringsOnlyWhereTheRomIsMapped) {
    SimMachine m;
    m.romStrings = {{0xFE061, "Kestrel BIOS"}, {0xFFFF5, "03/15/99"}};
    SimPlatform p(m);
    EXPECT_FALSE(p.memory().readRomString(0xFE061).has_value());
    m.romMapped = true;
    EXPECT_EQ(p.memory().readRomString(0xFE061), "Kestrel BIOS");
    EXPECT_EQ(p.memory().readRomString(0xFE061 + 8), "BIOS");  // inside a string: the rest of it
    EXPECT_EQ(p.memory().readRomString(0xFE061 + 12), "");     // its terminating zero
    EXPECT_EQ(p.memory().readRomString(0xFFFF5), "03/15/99");
    EXPECT_EQ(p.memory().readRomString(0xFE000), "");
    EXPECT_EQ(p.memory().readRomString(0xFF000), "");
}

TEST(SimPlatform, OtherCalls) {
    SimMachine m;
    SimPlatform p(m);
    EXPECT_FALSE(p.identity().getVersion().has_value());
    m.version = OsVersion{3, 1, 0, 0};
    EXPECT_EQ(p.identity().getVersion()->platformId, 3u);

    m.displayModes = {{640, 480, 8, 60}, {1024, 768, 32, 75}};
    const auto mode = p.display().enumDisplaySettings(1);
    ASSERT_TRUE(mode.has_value());
    EXPECT_EQ(mode->width, 1024u);
    EXPECT_EQ(mode->bitsPerPixel, 32u);
    EXPECT_FALSE(p.display().enumDisplaySettings(2).has_value());

    m.memory.totalPhys = 6ull << 30;  // more than a 32-bit count holds
    EXPECT_EQ(p.memory().globalMemoryStatus().totalPhys, 6ull << 30);

    p.desktop().messageBeep(0);
    p.desktop().messageBeep(0x30);
    EXPECT_EQ(m.beeps, (std::vector<std::uint32_t>{0, 0x30}));

    m.programPath = "C:\\Program Files\\ゼルボ\\zelvo.exe";
    EXPECT_EQ(p.files().programPath(), cp932::fromUtf8(m.programPath));
    EXPECT_EQ(p.files().pathSeparator(), '\\');
    m.currentDirectory = "C:\\作業";
    EXPECT_EQ(p.drives().getCurrentDirectory(), cp932::fromUtf8("C:\\作業"));
    EXPECT_TRUE(p.text().hasLeadBytes());
    EXPECT_TRUE(p.text().isLeadByte(0x82));
    EXPECT_EQ(p.text().toUtf8(p.text().fromUtf8("ゼルボ")), "ゼルボ");

    m.registry.setValue(kHKeyLocalMachine, "K", "V", regDword(7));
    HKey key = 0;
    ASSERT_EQ(p.registry().regOpenKey(kHKeyLocalMachine, "K", RegAccess::Read, &key), kRegSuccess);
    std::uint32_t type = 0, size = 0;
    EXPECT_EQ(p.registry().regQueryValue(key, "v", &type, nullptr, &size), kRegSuccess);
    EXPECT_EQ(type, kRegDword);
    EXPECT_EQ(p.registry().regCloseKey(key), kRegSuccess);
}

TEST(SimPlatform, OwnsAMachineHandedToIt) {
    SimMachine m;
    m.computerName = "OWNED";
    SimPlatform p(std::move(m));
    EXPECT_EQ(p.identity().getComputerName(16), "OWNED");
    p.machine().computerName = "CHANGED";
    EXPECT_EQ(p.identity().getComputerName(16), "CHANGED");
}

}  // namespace
