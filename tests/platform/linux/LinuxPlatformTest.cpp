// The Linux backend against recorded machines: every call that reads the machine, through the
// platform interface, with the host-name service and the X server replaced by fakes.

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <ctime>
#include <fstream>

#include "TestConfig.h"
#include "format/FormatFigure.h"
#include "format/NumberSeparators.h"
#include "format/ScopedNumberSeparators.h"
#include "platform/linux/DisplayModes.h"
#include "platform/linux/HostnameService.h"
#include "platform/linux/LinuxPlatform.h"
#include "platform/linux/UserLocale.h"
#include "support/CodePageTextTesting.h"
#include "support/LinuxFixtureMachine.h"

namespace zelvo::platform {
namespace {

using test::FakeHostnameService;
using test::FakeXrandr;
using test::optionsFor;

constexpr std::uint64_t KiB = 1024;
const char* const kProcessor = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
const char* const kSystem = "HARDWARE\\DESCRIPTION\\System";
const char* const kDriver = "SYSTEM\\ControlSet001\\Control\\Class\\{4D36E97D-E325-11CE-BFC1-08002BE10318}\\0014";
const char* const kVersion = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";

// A registry value read the way the pages read it: opened for reading, queried, closed.
std::optional<std::pair<std::uint32_t, std::string>> readValue(Platform& platform, const char* key, const char* name) {
    HKey handle = 0;
    if (platform.registry().regOpenKey(kHKeyLocalMachine, key, RegAccess::Read, &handle) != kRegSuccess)
        return std::nullopt;
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    std::optional<std::pair<std::uint32_t, std::string>> result;
    if (platform.registry().regQueryValue(handle, name, &type, nullptr, &size) == kRegSuccess) {
        std::string data(size, '\0');
        if (platform.registry().regQueryValue(handle, name, &type, reinterpret_cast<std::uint8_t*>(data.data()),
                                              &size) == kRegSuccess)
            result = std::make_pair(type, data.substr(0, size));
    }
    EXPECT_EQ(platform.registry().regCloseKey(handle), kRegSuccess);
    return result;
}

std::optional<std::string> readString(Platform& platform, const char* key, const char* name) {
    auto value = readValue(platform, key, name);
    if (!value)
        return std::nullopt;
    EXPECT_EQ(value->first, kRegSz) << name;
    EXPECT_FALSE(value->second.empty()) << name;
    if (!value->second.empty() && value->second.back() == '\0')
        value->second.pop_back();
    return value->second;
}

bool hasKey(Platform& platform, const char* key) {
    HKey handle = 0;
    if (platform.registry().regOpenKey(kHKeyLocalMachine, key, RegAccess::Read, &handle) != kRegSuccess)
        return false;
    platform.registry().regCloseKey(handle);
    return true;
}

// The toolkit's current screen on a window system.
DesktopServices withScreen(std::function<std::optional<DisplayMode>()> screen,
                           WindowSystem system = WindowSystem::Other) {
    DesktopServices services;
    services.currentScreen = std::move(screen);
    services.windowSystem = system;
    return services;
}

std::vector<DisplayMode> allModes(Platform& platform) {
    std::vector<DisplayMode> modes;
    for (std::uint32_t i = 0; const auto mode = platform.display().enumDisplaySettings(i); ++i)
        modes.push_back(*mode);
    return modes;
}

std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> sizes(const std::vector<DisplayMode>& modes) {
    std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>> result;
    for (const auto& m : modes)
        result.emplace_back(m.width, m.height, m.bitsPerPixel);
    return result;
}

using Sizes = std::vector<std::tuple<std::uint32_t, std::uint32_t, std::uint32_t>>;

// Width-and-height pairs, all at `bits` per pixel.
Sizes atDepth(std::uint32_t bits, std::initializer_list<std::pair<std::uint32_t, std::uint32_t>> pairs) {
    Sizes result;
    for (const auto& [width, height] : pairs)
        result.emplace_back(width, height, bits);
    return result;
}

// The laptop's lit panel, as its DRM connector lists it.
const Sizes kLaptopPanelModes = atDepth(32, {{1920, 1080},
                                             {1680, 1050},
                                             {1280, 1024},
                                             {1440, 900},
                                             {1280, 800},
                                             {1280, 720},
                                             {1024, 768},
                                             {800, 600},
                                             {640, 480}});

// An X server with one output, "DP-1" or `output`, whose modes are `modes` at 24 bits.
XrandrScreen oneOutputScreen(std::vector<XrandrMode> modes, std::string output = "DP-1") {
    XrandrScreen screen;
    screen.rootDepth = 24;
    screen.pixmapFormats = {{1, 1}, {24, 32}};
    std::vector<std::uint64_t> ids;
    for (const XrandrMode& mode : modes)
        ids.push_back(mode.id);
    screen.modes = std::move(modes);
    screen.outputs = {{std::move(output), true, true, true, std::move(ids)}};
    return screen;
}

// Each test's own configuration folder, where the registration store lives.
class LinuxPlatformTest : public testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(config.isValid()); }
    LinuxPlatformOptions optionsOf(const char* machine) const { return optionsFor(machine, config); }

    QTemporaryDir config;
};

struct MachineCase {
    const char* machine;
    OsVersion version;
    std::optional<std::string> computerName;  // in a 16-character buffer
    const char* processorName;
    const char* processorVendor;
    std::optional<std::string> biosVersion;  // REG_MULTI_SZ bytes
    std::optional<std::string> biosDate;
    std::optional<std::string> driverDesc;
    std::optional<std::string> driverVersion;
    std::uint64_t totalPhys;
    std::uint64_t availPhys;
    Sizes displayModes;
};

// Linux answers as the NT family.
OsVersion nt(std::uint32_t major, std::uint32_t minor, std::uint32_t build) {
    return {kPlatformNT, major, minor, build};
}

std::string multi(std::initializer_list<std::string> pieces) {
    std::string bytes;
    for (const auto& piece : pieces)
        bytes += piece + std::string(1, '\0');
    return bytes + std::string(1, '\0');
}

const MachineCase kMachines[] = {
    {"firecracker-vm", nt(6, 18, 44), "vm", "AMD EPYC", "AuthenticAMD", std::nullopt, std::nullopt,
     "PCI device 8086:0d57", "6.18.44-fc-v1300", 24683772 * KiB, 23947040 * KiB, Sizes()},
    {"intel-desktop", nt(6, 1, 0), "workstation", "Intel(R) Core(TM) i7-8700 CPU @ 3.20GHz", "GenuineIntel",
     multi({"American Megatrends Inc.", "2803", "5.13"}), "04/27/2022",
     "Intel Corporation 8th Gen Core Processor Host Bridge/DRAM Registers", "6.1.0-18-amd64", 32768236 * KiB,
     26453120 * KiB, Sizes()},
    {"amd-laptop", nt(6, 8, 0), std::nullopt, "AMD Ryzen 7 5800U with Radeon Graphics", "AuthenticAMD",
     multi({"LENOVO", "G5CN18WW", "1.18"}), "07/13/2022",
     "Advanced Micro Devices, Inc. [AMD] Renoir/Cezanne Root Complex", "6.8.0-31-generic", 15731468 * KiB,
     3145728 * KiB, kLaptopPanelModes},
    {"qemu-vm", nt(3, 2, 0), "wheezy", "QEMU Virtual CPU version 1.1.2", "GenuineIntel",
     multi({"SeaBIOS", "1.7.5-20140531_083030-gandalf"}), "04/01/2014",
     "Intel Corporation 440FX - 82441FX PMC [Natoma]", "3.2.0-4-amd64", 2060180 * KiB, (1408552 + 40872 + 399324) * KiB,
     Sizes()},
    {"raspberry-pi-4", nt(6, 6, 20), "raspberrypi", "ARM Cortex-A72", "ARM", multi({"Raspberry Pi 4 Model B Rev 1.4"}),
     std::nullopt, "Broadcom Inc. and subsidiaries BCM2711 PCIe Bridge", "6.6.20+rpt-rpi-v8", 3882332 * KiB,
     3391208 * KiB,
     atDepth(16,
             {{1920, 1080}, {1280, 1024}, {1280, 720}, {1024, 768}, {800, 600}, {720, 576}, {720, 480}, {640, 480}})},
    {"docker-container", nt(5, 15, 0), "3f2a9c1b7d4e", "Intel(R) Xeon(R) Platinum 8259CL CPU @ 2.50GHz", "GenuineIntel",
     std::nullopt, std::nullopt, std::nullopt, std::nullopt, 536870912, 536870912 - (73400320 - 20971520), Sizes()},
};

void PrintTo(const MachineCase& c, std::ostream* os) {
    *os << c.machine;
}

class LinuxMachine : public LinuxPlatformTest, public testing::WithParamInterface<MachineCase> {};

TEST_P(LinuxMachine, AnswersFromTheRecordedMachine) {
    const MachineCase& c = GetParam();
    LinuxPlatform platform(optionsOf(c.machine));

    const auto version = platform.identity().getVersion();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->platformId, c.version.platformId);
    EXPECT_EQ(version->major, c.version.major);
    EXPECT_EQ(version->minor, c.version.minor);
    EXPECT_EQ(version->build, c.version.build);

    EXPECT_EQ(platform.identity().getComputerName(16), c.computerName);

    EXPECT_EQ(readString(platform, kProcessor, "ProcessorNameString"), c.processorName);
    EXPECT_EQ(readString(platform, kProcessor, "VendorIdentifier"), c.processorVendor);

    const auto bios = readValue(platform, kSystem, "SystemBIOSVersion");
    ASSERT_EQ(bios.has_value(), c.biosVersion.has_value());
    if (bios) {
        EXPECT_EQ(bios->first, kRegMultiSz);
        EXPECT_EQ(bios->second, *c.biosVersion);
    }
    EXPECT_EQ(readString(platform, kSystem, "SystemBIOSDate"), c.biosDate);
    EXPECT_TRUE(hasKey(platform, kSystem));

    EXPECT_EQ(hasKey(platform, kDriver), c.driverDesc.has_value());
    EXPECT_EQ(readString(platform, kDriver, "DriverDesc"), c.driverDesc);
    EXPECT_EQ(readString(platform, kDriver, "DriverVersion"), c.driverVersion);

    const MemoryStatus memory = platform.memory().globalMemoryStatus();
    EXPECT_EQ(memory.totalPhys, c.totalPhys);
    EXPECT_EQ(memory.availPhys, c.availPhys);
    EXPECT_EQ(memory.memoryLoad, static_cast<std::uint32_t>((c.totalPhys - c.availPhys) * 100 / c.totalPhys));
    EXPECT_GE(memory.totalPageFile, memory.totalPhys);
    EXPECT_GT(memory.totalVirtual, 0u);
    EXPECT_LE(memory.availVirtual, memory.totalVirtual);

    EXPECT_EQ(sizes(allModes(platform)), c.displayModes);
    EXPECT_EQ(platform.registry().openHandleCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Machines, LinuxMachine, testing::ValuesIn(kMachines),
                         [](const testing::TestParamInfo<MachineCase>& paramInfo) {
                             return test::testName(paramInfo.param.machine);
                         });

TEST_F(LinuxPlatformTest, HardwareKeysAreReadOnly) {
    LinuxPlatform platform(optionsOf("intel-desktop"));
    for (const char* key : {"HARDWARE", kSystem, kProcessor, "SYSTEM", kDriver}) {
        SCOPED_TRACE(key);
        HKey handle = 0;
        EXPECT_EQ(platform.registry().regOpenKey(kHKeyLocalMachine, key, RegAccess::AllAccess, &handle),
                  kRegAccessDenied);
        EXPECT_EQ(platform.registry().regCreateKey(kHKeyLocalMachine, std::string(key) + "\\New", &handle),
                  kRegAccessDenied);
        ASSERT_EQ(platform.registry().regOpenKey(kHKeyLocalMachine, key, RegAccess::Read, &handle), kRegSuccess);
        const std::uint8_t data[] = {'x', 0};
        EXPECT_NE(platform.registry().regSetValue(handle, "Injected", kRegSz, data, 2), kRegSuccess);
        EXPECT_EQ(platform.registry().regCloseKey(handle), kRegSuccess);
    }
    // NT family: no dynamic statistics root.
    HKey handle = 0;
    EXPECT_NE(platform.registry().regOpenKey(kHKeyDynData, "PerfStats\\StatData", RegAccess::AllAccess, &handle),
              kRegSuccess);
    EXPECT_EQ(platform.registry().openHandleCount(), 0u);
}

TEST_F(LinuxPlatformTest, RegistrationValuesPersistPerUser) {
    const std::string longOwner = std::string(280, 'o') + "山田";
    {
        LinuxPlatform platform(optionsOf("qemu-vm"));
        EXPECT_EQ(readString(platform, kVersion, "RegisteredOwner"), "Test Owner");
        EXPECT_EQ(readString(platform, kVersion, "RegisteredOrganization"), "");

        HKey handle = 0;
        ASSERT_EQ(platform.registry().regCreateKey(kHKeyLocalMachine, kVersion, &handle), kRegSuccess);
        const std::string owner = longOwner + std::string(1, '\0');
        const std::string company = std::string("株式会社ゼルボ") + std::string(1, '\0');
        EXPECT_EQ(platform.registry().regSetValue(handle, "RegisteredOwner", kRegSz,
                                                  reinterpret_cast<const std::uint8_t*>(owner.data()),
                                                  static_cast<std::uint32_t>(owner.size())),
                  kRegSuccess);
        EXPECT_EQ(platform.registry().regSetValue(handle, "RegisteredOrganization", kRegSz,
                                                  reinterpret_cast<const std::uint8_t*>(company.data()),
                                                  static_cast<std::uint32_t>(company.size())),
                  kRegSuccess);
        EXPECT_EQ(platform.registry().regCloseKey(handle), kRegSuccess);
    }
    // A later run (or another running copy) reads what was registered.
    LinuxPlatform again(optionsOf("intel-desktop"));
    EXPECT_EQ(readString(again, kVersion, "RegisteredOwner"), longOwner);
    EXPECT_EQ(readString(again, kVersion, "RegisteredOrganization"), "株式会社ゼルボ");
    EXPECT_TRUE(QFile::exists(config.filePath("registration.ini")));
}

TEST_F(LinuxPlatformTest, ComputerNameFitsTheBuffer) {
    LinuxPlatform desktop(optionsOf("intel-desktop"));  // "workstation", 11 characters
    EXPECT_EQ(desktop.identity().getComputerName(12), "workstation");
    EXPECT_EQ(desktop.identity().getComputerName(11), std::nullopt);
    EXPECT_EQ(desktop.identity().getComputerName(0), std::nullopt);
    LinuxPlatform laptop(optionsOf("amd-laptop"));  // 19 characters
    EXPECT_EQ(laptop.identity().getComputerName(20), "yamada-thinkpad-e14");
    EXPECT_EQ(laptop.identity().getComputerName(16), std::nullopt);
}

TEST_F(LinuxPlatformTest, ComputerNameGoesToTheServiceOnlyWhenValid) {
    auto options = optionsOf("intel-desktop");
    auto service = std::make_shared<FakeHostnameService>();
    options.hostnameService = service;
    LinuxPlatform platform(options);

    const struct {
        std::string name;
        bool accept;
        bool result;
        bool reachesService;
    } cases[] = {
        {"NEWPC", true, true, true},  {"office-pc-2", true, true, true},  {"refused-by-polkit", false, false, true},
        {"", true, false, false},     {"bad name", true, false, false},   {"-x", true, false, false},
        {"ＰＣ", true, false, false}, {"semi;colon", true, false, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        service->received.clear();
        service->accept = c.accept;
        EXPECT_EQ(platform.identity().setComputerName(CodePageText(c.name)), c.result);
        EXPECT_EQ(service->received, c.reachesService ? std::vector<std::string>{c.name} : std::vector<std::string>{});
    }
}

TEST_F(LinuxPlatformTest, DisplayModesFromXrandrThenTheFallbacks) {
    const XrandrScreen screen = oneOutputScreen(
        {{1, 1920, 1200, 154000000, 2080, 1235, false, false}, {2, 1920, 1080, 148500000, 2200, 1125, false, false}});

    // The laptop has DRM connectors, but an X server comes first.
    auto options = optionsOf("amd-laptop");
    auto xrandr = std::make_shared<FakeXrandr>(screen);
    options.xrandr = xrandr;
    LinuxPlatform withX(options);
    EXPECT_EQ(sizes(allModes(withX)), (Sizes{{1920, 1200, 32}, {1920, 1080, 32}}));
    EXPECT_EQ(xrandr->queries, 1);
    // Each enumeration from index 0 asks again; indices beyond the first do not.
    EXPECT_EQ(sizes(allModes(withX)).size(), 2u);
    EXPECT_EQ(xrandr->queries, 2);

    // No X and no DRM: the current screen, when the user interface supplies it.
    LinuxPlatform headless(optionsOf("qemu-vm"));
    EXPECT_FALSE(headless.display().enumDisplaySettings(0).has_value());
    headless.desktop().connectDesktop(withScreen([] { return DisplayMode{1024, 768, 32, 60}; }));
    EXPECT_EQ(sizes(allModes(headless)), (Sizes{{1024, 768, 32}}));
    headless.desktop().connectDesktop(withScreen([] { return std::nullopt; }));
    EXPECT_FALSE(headless.display().enumDisplaySettings(0).has_value());
}

TEST_F(LinuxPlatformTest, DisplayModesOnWaylandAskNoXServer) {
    const XrandrScreen screen = oneOutputScreen({{1, 1920, 1080, 148500000, 2200, 1125, false, false}}, "XWAYLAND0");

    const struct {
        const char* machine;
        Sizes modes;
    } cases[] = {
        {"amd-laptop", kLaptopPanelModes},  // the kernel's list of the lit panel
        // No connector: the mode the compositor reports, as the toolkit's screen.
        {"qemu-vm", {{1024, 640, 32}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.machine);
        auto options = optionsOf(c.machine);
        auto xrandr = std::make_shared<FakeXrandr>(screen);
        options.xrandr = xrandr;
        LinuxPlatform platform(options);
        platform.desktop().connectDesktop(withScreen(
            [] {
                return DisplayMode{1024, 640, 32, 60};
            },
            WindowSystem::Wayland));
        EXPECT_EQ(sizes(allModes(platform)), c.modes);
        EXPECT_EQ(xrandr->queries, 0);
    }
}

TEST_F(LinuxPlatformTest, LocaleSeparatorsFitTheBuffer) {
    struct Case {
        const char* locale;
        std::uint32_t buffer;
        std::optional<std::string> thousands, decimal;
    };
    const Case cases[] = {
        {"C", 4, ",", "."},
        {"de_DE", 4, ".", ","},
        {"en_US", 2, ",", "."},
        {"en_US", 1, std::nullopt, std::nullopt},
        // The buffer counts characters: U+202F and U+00A0 are one character each, of three and two
        // UTF-8 bytes.
        {"fr_FR", 2, "\u202f", ","},
        {"ru_RU", 2, "\u00a0", ","},
        {"fr_FR", 1, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.locale) + " " + std::to_string(c.buffer));
        auto options = optionsOf("qemu-vm");
        const QLocale locale(QString::fromLatin1(c.locale));
        options.systemLocale = [locale] { return locale; };
        LinuxPlatform platform(options);
        EXPECT_EQ(platform.text().getLocaleInfo(LocaleItem::ThousandSeparator, c.buffer), c.thousands);
        EXPECT_EQ(platform.text().getLocaleInfo(LocaleItem::DecimalSeparator, c.buffer), c.decimal);
    }

    // The thread locale is read at start and again on reset, not at every query.
    auto options = optionsOf("qemu-vm");
    auto current = std::make_shared<QLocale>(QLocale::c());
    options.systemLocale = [current] { return *current; };
    LinuxPlatform platform(options);
    *current = QLocale(QStringLiteral("de_DE"));
    EXPECT_EQ(platform.text().getLocaleInfo(LocaleItem::DecimalSeparator, 4), ".");
    platform.text().resetThreadLocale();
    EXPECT_EQ(platform.text().getLocaleInfo(LocaleItem::DecimalSeparator, 4), ",");

    // The figures a French user sees: their own space between the groups, their decimal comma.
    test::ScopedNumberSeparators restore(',', '.');
    *current = QLocale(QStringLiteral("fr_FR"));
    platform.text().resetThreadLocale();
    LoadNumberSeparators(platform.text());
    EXPECT_EQ(FormatFigure(kMegabytePattern, 24105.25), "24\u202f105,25 MB");
    EXPECT_EQ(FormatFigure(kMegabytePattern, 1536), "1\u202f536 MB");
}

TEST_F(LinuxPlatformTest, AChangedLocaleSettingIsToldAndRead) {
    QTemporaryDir home;  // the user's configuration folder, without a locale setting yet
    ASSERT_TRUE(home.isValid());
    auto options = optionsOf("qemu-vm");
    options.configHome = home.path().toStdString();
    // The settings files the backend reads, with the C locale as the process's own.
    auto source = std::make_shared<UserLocaleSource>(
        localeSettingsFiles(options.configHome, options.roots.etc), [] { return QLocale::c(); }, false);
    options.systemLocale = [source] { return (*source)(); };
    options.localeWatchDelay = std::chrono::milliseconds(0);
    LinuxPlatform platform(options);
    int told = 0;
    DesktopServices services;
    services.settingsChanged = [&told] { ++told; };
    platform.desktop().connectDesktop(services);
    // The watch starts at the next turn of the event loop; the change comes after that.
    QTest::qWait(50);

    test::ScopedNumberSeparators restore(',', '.');
    std::ofstream(home.filePath(QStringLiteral("locale.conf")).toStdString())
        << "LANG=en_US.UTF-8\nLC_NUMERIC=fr_FR.UTF-8\n";
    ASSERT_TRUE(QTest::qWaitFor([&told] { return told > 0; }, 20000)) << "the change was not told";
    // What the window does when told.
    platform.text().resetThreadLocale();
    LoadNumberSeparators(platform.text());
    EXPECT_EQ(numberSeparators().thousands.bytes(), "\u202f");
    EXPECT_EQ(numberSeparators().decimal, ',');
}

TEST_F(LinuxPlatformTest, ProgramFilesAndText) {
    auto options = optionsOf("qemu-vm");
    options.roots.proc = "/proc";  // the program's own path comes from the running process
    LinuxPlatform platform(options);

    EXPECT_EQ(QString::fromStdString(platform.files().programPath().value_or(CodePageText()).bytes()),
              QCoreApplication::applicationFilePath());
    EXPECT_EQ(platform.files().pathSeparator(), '/');

    const std::string dir = config.filePath("TempData").toStdString();
    EXPECT_TRUE(platform.files().createDirectory(CodePageText(dir)));
    EXPECT_FALSE(platform.files().createDirectory(CodePageText(dir)));  // exists already
    EXPECT_FALSE(platform.files().createDirectory(CodePageText(config.filePath("missing/TempData").toStdString())));

    EXPECT_EQ(platform.memory().readRomString(0xFE061), std::nullopt);
    EXPECT_EQ(platform.text().toUtf8(CodePageText("山田")), "山田");
    EXPECT_EQ(platform.text().fromUtf8("山田"), "山田");
    EXPECT_EQ(platform.text().toUtf8(CodePageText("a\xff"
                                                  "b")),
              "a\xef\xbf\xbd"
              "b");
    EXPECT_EQ(platform.text().toUtf8(CodePageText(std::string("a\0b", 3))), std::string("a\0b", 3));
    EXPECT_FALSE(platform.text().hasLeadBytes());
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_FALSE(platform.text().isLeadByte(static_cast<std::uint8_t>(byte)));
}

TEST_F(LinuxPlatformTest, TimeAndBeep) {
    LinuxPlatform platform(optionsOf("qemu-vm"));

    // The tick count is the time since boot, as /proc/uptime also reports it.
    std::ifstream uptimeFile("/proc/uptime");
    double uptime = 0;
    uptimeFile >> uptime;
    const auto expected = static_cast<std::uint32_t>(static_cast<std::uint64_t>(uptime * 1000));
    const std::uint32_t ticks = platform.clock().getTickCount();
    EXPECT_LT(static_cast<std::uint32_t>(ticks - expected), 2000u);

    const std::uint64_t c0 = platform.clock().readCycleCounter();
    const timespec pause{0, 2000000};
    nanosleep(&pause, nullptr);
    EXPECT_GT(platform.clock().readCycleCounter(), c0);

    int beeps = 0;
    platform.desktop().messageBeep(0);  // no beep set: nothing happens
    DesktopServices services;
    services.beep = [&beeps] { ++beeps; };
    platform.desktop().connectDesktop(services);
    platform.desktop().messageBeep(0);
    EXPECT_EQ(beeps, 1);
}

TEST_F(LinuxPlatformTest, RealMachineIsTheNtFamily) {
    // Constructed on the real roots; only read.
    const auto platform = createSystemPlatform();
    const auto version = platform->identity().getVersion();
    ASSERT_TRUE(version.has_value());
    EXPECT_EQ(version->platformId, kPlatformNT);
}

}  // namespace
}  // namespace zelvo::platform
