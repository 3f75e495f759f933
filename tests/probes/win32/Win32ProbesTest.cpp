// The page logic on the real Windows backend: each probe's result compared with the calls made
// directly, and, in the throwaway Wine prefix, with values the test writes there first.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "format/FormatFigure.h"
#include "format/IntegerText.h"
#include "platform/Errors.h"
#include "platform/win32/Win32Platform.h"
#include "probes/BiosInfo.h"
#include "probes/DiskFigures.h"
#include "probes/DisplayInfo.h"
#include "probes/LoadMonitor.h"
#include "probes/ProcessorIdentity.h"
#include "probes/Registration.h"
#include "probes/RegistryLocations.h"
#include "probes/Units.h"
#include "support/CodePageTextTesting.h"
#include "support/WineMachine.h"

using namespace zelvo;
using namespace zelvo::platform;

namespace {

// A key the test writes into, with what it held put back (values) or removed (keys it made).
class ScratchKey {
public:
    ScratchKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
        HKEY probe = nullptr;
        existed_ = RegOpenKeyExA(root_, path_.c_str(), 0, KEY_READ, &probe) == ERROR_SUCCESS;
        if (probe)
            RegCloseKey(probe);
        RegCreateKeyExA(root_, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key_, nullptr);
    }
    ~ScratchKey() {
        for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) {
            if (it->present)
                RegSetValueExA(key_, it->name.c_str(), 0, it->type, reinterpret_cast<const BYTE*>(it->data.data()),
                               static_cast<DWORD>(it->data.size()));
            else
                RegDeleteValueA(key_, it->name.c_str());
        }
        if (key_)
            RegCloseKey(key_);
        if (!existed_)
            RegDeleteKeyA(root_, path_.c_str());
    }
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    bool valid() const { return key_ != nullptr; }

    void set(const std::string& name, DWORD type, const std::string& data) {
        Saved saved{name, false, 0, std::string(4096, '\0')};
        DWORD size = static_cast<DWORD>(saved.data.size());
        saved.present = RegQueryValueExA(key_, name.c_str(), nullptr, &saved.type,
                                         reinterpret_cast<BYTE*>(saved.data.data()), &size) == ERROR_SUCCESS;
        saved.data.resize(saved.present ? size : 0);
        saved_.push_back(saved);
        RegSetValueExA(key_, name.c_str(), 0, type, reinterpret_cast<const BYTE*>(data.data()),
                       static_cast<DWORD>(data.size()));
    }
    void setText(const std::string& name, const std::string& text) { set(name, REG_SZ, text + '\0'); }

private:
    struct Saved {
        std::string name;
        bool present;
        DWORD type;
        std::string data;
    };
    HKEY root_;
    std::string path_;
    HKEY key_ = nullptr;
    bool existed_ = false;
    std::vector<Saved> saved_;
};

std::string directText(const std::string& path, const char* name) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return {};
    char data[255] = {};
    DWORD size = sizeof data;
    const bool ok = RegQueryValueExA(key, name, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size) == 0;
    RegCloseKey(key);
    return ok ? std::string(data, strnlen(data, size)) : std::string();
}

TEST(Win32Probes, FamilyDetectionChoosesTheFamilysKeys) {
    ZELVO_REQUIRE_WINE_FAMILY();
    Win32Platform platform;
    RegistryLocations locations;
    const auto loadGauge = DetectPlatform(platform.identity(), locations);
    ASSERT_TRUE(loadGauge.has_value());
    const bool win9x = *zelvo::test::wineFamily() == kPlatformWin9x;
    EXPECT_EQ(*loadGauge, win9x);
    EXPECT_EQ(locations.processorNameValue, win9x ? "Identifier" : "ProcessorNameString");
    EXPECT_EQ(locations.versionKey, win9x ? "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\"
                                          : "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\");
}

TEST(Win32Probes, ProcessorIdentityIsTheRegistrys) {
    Win32Platform platform;
    RegistryLocations locations;
    if (!DetectPlatform(platform.identity(), locations))
        GTEST_SKIP() << "neither family";
    const ProcessorIdentity identity = ReadProcessorIdentity(platform.registry(), platform.text(), locations);
    EXPECT_EQ(identity.name, platform.text().toUtf8(CodePageText(
                                 directText(locations.processorNameKey, locations.processorNameValue.c_str()))));
    EXPECT_EQ(identity.vendor,
              platform.text().toUtf8(CodePageText(directText(locations.processorVendorKey, "VendorIdentifier"))));
    EXPECT_FALSE(identity.vendor.empty());  // Wine and Windows both name the vendor
}

TEST(Win32Probes, BiosPageFromTheRomOnThe9xFamily) {
    ZELVO_REQUIRE_WINE_FAMILY();
    if (*zelvo::test::wineFamily() != kPlatformWin9x)
        GTEST_SKIP() << "9x family only";
    Win32Platform platform;
    const BiosPage page = FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());
    EXPECT_EQ(page.tabVisible, true);
    EXPECT_EQ(page.heading, std::string(kBiosHeading));
    ASSERT_EQ(page.memoAdditions.size(), 5u);
    EXPECT_EQ(page.memoAdditions[0], "");
    for (std::size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        // Wine's first megabyte is zeroed memory, not a ROM image: every line is empty.
        const auto text = platform.memory().readRomString(kBiosRomAddresses[i]);
        ASSERT_TRUE(text.has_value());
        EXPECT_EQ(page.memoAdditions[i + 1], platform.text().toUtf8(*text));
    }
}

TEST(Win32Probes, BiosPageFromTheRegistryOnTheNtFamily) {
    ZELVO_REQUIRE_WINE_FAMILY();
    if (*zelvo::test::wineFamily() != kPlatformNT)
        GTEST_SKIP() << "NT family only";
    Win32Platform platform;
    {
        ScratchKey system(HKEY_LOCAL_MACHINE, "HARDWARE\\DESCRIPTION\\System");
        ScratchKey driver(HKEY_LOCAL_MACHINE,
                          "SYSTEM\\ControlSet001\\Control\\Class\\{4D36E97D-E325-11CE-BFC1-08002BE10318}\\0014");
        ASSERT_TRUE(system.valid() && driver.valid());
        system.set("SystemBIOSVersion", REG_MULTI_SZ, std::string("ZELVO  - 1072009\0BIOS Date: 12/07/26\0\0", 39));
        system.setText("SystemBIOSDate", "12/07/26");
        driver.setText("DriverDesc", "Zelvo Display Adapter");
        driver.setText("DriverVersion", "6.1.7600.16385");
        const BiosPage page =
            FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());
        EXPECT_EQ(page.tabVisible, true);
        EXPECT_EQ(page.heading, std::string(kBiosHeading));
        EXPECT_EQ(page.memoAdditions,
                  (std::vector<std::string>{"", "ZELVO  - 1072009\r\nBIOS Date: 12/07/26\r\n", "12/07/26",
                                            "Zelvo Display Adapter", "Ver 6.1.7600.16385"}));

        // A version of more than 100 bytes ends the reading after the leading empty line.
        system.set("SystemBIOSVersion", REG_MULTI_SZ, std::string(101, 'V'));
        EXPECT_EQ(
            FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text()).memoAdditions,
            std::vector<std::string>{""});
    }
}

TEST(Win32Probes, LoadMonitorOnThe9xFamilyReadsTheStatistics) {
    ZELVO_REQUIRE_WINE_FAMILY();
    Win32Platform platform;
    if (*zelvo::test::wineFamily() == kPlatformNT) {
        // No dynamic data on NT: nothing to start, no load.
        EXPECT_NO_THROW(StartStatistics(platform.registry(), platform.text()));
        EXPECT_EQ(ReadCpuLoad(platform.registry(), platform.text()), std::nullopt);
        EXPECT_NO_THROW(StopStatistics(platform.registry(), platform.text()));
        return;
    }
    // Wine keeps HKEY_DYN_DATA\PerfStats\StatData but publishes nothing in it; the test writes
    // what Windows 98 would.
    ScratchKey stat(HKEY_DYN_DATA, "PerfStats\\StatData");
    ScratchKey start(HKEY_DYN_DATA, "PerfStats\\StartStat");
    ASSERT_TRUE(stat.valid() && start.valid());
    EXPECT_EQ(ReadCpuLoad(platform.registry(), platform.text()), std::nullopt);  // key there, value not yet
    stat.set("KERNEL\\CPUUsage", REG_BINARY, std::string("\x39\0\0\0", 4));
    EXPECT_EQ(ReadCpuLoad(platform.registry(), platform.text()), 57);
    stat.set("KERNEL\\CPUUsage", REG_BINARY, std::string("\xFF\xFF\xFF\xFF", 4));
    EXPECT_EQ(ReadCpuLoad(platform.registry(), platform.text()), -1);
    stat.set("KERNEL\\CPUUsage", REG_DWORD, std::string("\x39\0\0\0", 4));
    try {
        ReadCpuLoad(platform.registry(), platform.text());
        ADD_FAILURE() << "a 32-bit number was accepted";
    } catch (const ERegistryException& e) {
        EXPECT_EQ(std::string(e.what()), "'KERNEL\\CPUUsage' のデータ型が不正です");
    }

    start.set("KERNEL\\CPUUsage", REG_BINARY, std::string("\0\0\0\0", 4));
    start.set("VMM\\cPageFaults", REG_BINARY, std::string("\0\0\0\0", 4));
    EXPECT_NO_THROW(StartStatistics(platform.registry(), platform.text()));
    start.set("VMM\\cFiveBytes", REG_BINARY, std::string(5, '\0'));
    EXPECT_THROW(StartStatistics(platform.registry(), platform.text()), ERegistryException);
}

TEST(Win32Probes, MemoryFiguresAreTheSystems) {
    Win32Platform platform;
    MEMORYSTATUSEX direct{};
    direct.dwLength = sizeof direct;
    ASSERT_TRUE(GlobalMemoryStatusEx(&direct));
    const UsageFigures figures = ComputeMemoryFigures(platform.memory().globalMemoryStatus());
    EXPECT_EQ(figures.totalText, FormatFigure(kMegabytePattern, static_cast<double>(direct.ullTotalPhys) / 1048576.0));
    EXPECT_GE(figures.percentage, 0);
    EXPECT_LE(figures.percentage, 100);
    EXPECT_EQ(figures.percentageText, PercentageText(figures.percentage));
}

TEST(Win32Probes, DiskFiguresOfDriveC) {
    Win32Platform platform;
    ULARGE_INTEGER before{};
    ULARGE_INTEGER total{};
    ULARGE_INTEGER unused{};
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &before, &total, &unused));
    const DriveBytes bytes = QueryDriveBytes(platform.drives(), 3);
    ULARGE_INTEGER after{};
    ASSERT_TRUE(GetDiskFreeSpaceExA("C:\\", &after, &total, &unused));
    EXPECT_EQ(static_cast<ULONGLONG>(bytes.size), total.QuadPart);
    // Other programs write to the disk meanwhile: the free space lies between the two readings.
    EXPECT_GE(static_cast<ULONGLONG>(bytes.free), std::min(before.QuadPart, after.QuadPart));
    EXPECT_LE(static_cast<ULONGLONG>(bytes.free), std::max(before.QuadPart, after.QuadPart));

    const UsageFigures figures = ComputeDiskFigures(bytes);
    EXPECT_EQ(figures.totalText, SizeText(static_cast<double>(total.QuadPart) / 1048576.0));
    EXPECT_EQ(figures.percentage, static_cast<int>((bytes.size - bytes.free) * 100 / bytes.size));

    // Drive number 0 is the current drive.
    ULARGE_INTEGER currentTotal{};
    ASSERT_TRUE(GetDiskFreeSpaceExA(nullptr, &before, &currentTotal, &unused));
    EXPECT_EQ(static_cast<ULONGLONG>(QueryDriveBytes(platform.drives(), 0).size), currentTotal.QuadPart);
}

TEST(Win32Probes, DiskFiguresFromClustersWhereThe64BitQueryIsMissing) {
    // As on Windows 95 before OSR2.
    Win32Platform platform(Win32OptionalCalls{.getDiskFreeSpaceEx = false});
    EXPECT_FALSE(platform.drives().hasDiskFreeSpaceEx());
    EXPECT_EQ(platform.drives().getDiskFreeSpaceEx("C:\\"), std::nullopt);
    DWORD sectorsPerCluster = 0;
    DWORD bytesPerSector = 0;
    DWORD freeClusters = 0;
    DWORD totalClusters = 0;
    ASSERT_TRUE(GetDiskFreeSpaceA("C:\\", &sectorsPerCluster, &bytesPerSector, &freeClusters, &totalClusters));
    const DriveBytes bytes = QueryDriveBytes(platform.drives(), 3);
    EXPECT_EQ(bytes.size, std::int64_t{sectorsPerCluster} * bytesPerSector * totalClusters);
    EXPECT_GE(bytes.free, 0);
    EXPECT_LE(bytes.free, bytes.size);
}

TEST(Win32Probes, VolumeTextsOfDriveC) {
    Win32Platform platform;
    char fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0;
    ASSERT_TRUE(GetVolumeInformationA("C:\\", nullptr, 0, &serial, nullptr, nullptr, fileSystem, sizeof fileSystem));
    const VolumeTexts texts = ReadVolumeTexts(platform.drives(), platform.text(), 'c');
    EXPECT_TRUE(texts.read);
    EXPECT_EQ(texts.serial, HexText(serial, 8));
    EXPECT_EQ(texts.fileSystem, fileSystem);
    if (zelvo::test::wineFamily()) {
        EXPECT_EQ(texts.serial, "1A2B3C4D");
    }
}

TEST(Win32Probes, DisplayPageHasABlockPerMode) {
    Win32Platform platform;
    std::size_t modes = 0;
    for (;; ++modes) {
        DEVMODEA mode{};
        mode.dmSize = sizeof mode;
        if (!EnumDisplaySettingsA(nullptr, static_cast<DWORD>(modes), &mode))
            break;
    }
    const auto lines = DisplayPageLines(platform.display());
    ASSERT_EQ(lines.size(), modes * 7);
    if (modes > 0) {
        EXPECT_EQ(lines[1], "   モード番号  0");
    }
}

TEST(Win32Probes, RegistrationWritesAndReloads) {
    ZELVO_REQUIRE_WINE_FAMILY();
    Win32Platform platform;
    RegistryLocations locations;
    ASSERT_TRUE(DetectPlatform(platform.identity(), locations).has_value());
    ScratchKey version(HKEY_LOCAL_MACHINE, locations.versionKey);
    ASSERT_TRUE(version.valid());
    // The values are put back afterwards.
    version.setText("RegisteredOwner", "");
    version.setText("RegisteredOrganization", "");

    // Texts the system's code page can hold: Japanese in CP932, Western European in 1252.
    const Registration written =
        GetACP() == 932 ? Registration{"山田 太郎", "ゼルボ株式会社"} : Registration{"Zoë Brontë", "Café Zelvo Ltd"};
    WriteRegistration(platform.registry(), platform.text(), locations, written);
    const Registration read = ReadRegistration(platform.registry(), platform.text(), locations);
    EXPECT_EQ(read.owner, written.owner);
    EXPECT_EQ(read.organization, written.organization);
    EXPECT_EQ(directText(locations.versionKey, "RegisteredOwner"), platform.text().fromUtf8(written.owner));

    // The computer name is handed on when it fits 16 bytes (Wine takes any such name).
    EXPECT_TRUE(SubmitComputerName(platform.identity(), platform.text(), "ZELVOTEST"));
    EXPECT_FALSE(SubmitComputerName(platform.identity(), platform.text(), "SEVENTEEN-LETTERS"));
}

}  // namespace
