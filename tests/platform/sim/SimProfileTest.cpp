#include "platform/sim/SimProfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>

#include "TestConfig.h"
#include "platform/CodePage.h"
#include "platform/RegistryWrapper.h"
#include "platform/sim/SimPlatform.h"
#include "support/CodePageTextTesting.h"
#include "support/ScopedTempDir.h"

using namespace zelvo::platform;

namespace {

const std::string kProfileDir = std::string(ZELVO_FIXTURE_DIR) + "/../../resources/sim/";

struct RegFact {
    HKey root;
    const char* path;
    const char* name;
};

// The registry values the pages read, on either family.
const RegFact kFacts[] = {
    {kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "RegisteredOwner"},
    {kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Windows\\CurrentVersion", "RegisteredOrganization"},
    {kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner"},
    {kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOrganization"},
    {kHKeyLocalMachine, "Hardware\\Description\\System\\CentralProcessor\\0", "Identifier"},
    {kHKeyLocalMachine, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "ProcessorNameString"},
    {kHKeyLocalMachine, "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0", "VendorIdentifier"},
    {kHKeyLocalMachine, "HARDWARE\\DESCRIPTION\\System", "SystemBIOSVersion"},
    {kHKeyLocalMachine, "HARDWARE\\DESCRIPTION\\System", "SystemBIOSDate"},
    {kHKeyLocalMachine, "SYSTEM\\ControlSet001\\Control\\Class\\{4D36E97D-E325-11CE-BFC1-08002BE10318}\\0014",
     "DriverDesc"},
    {kHKeyLocalMachine, "SYSTEM\\ControlSet001\\Control\\Class\\{4D36E97D-E325-11CE-BFC1-08002BE10318}\\0014",
     "DriverVersion"},
    {kHKeyDynData, "PerfStats\\StartStat", "KERNEL\\CPUUsage"},
    {kHKeyDynData, "PerfStats\\StatData", "KERNEL\\CPUUsage"},
    {kHKeyDynData, "PerfStats\\StopStat", "KERNEL\\CPUUsage"},
};

void expectSameMachine(SimMachine& a, SimMachine& b) {
    ASSERT_EQ(a.version.has_value(), b.version.has_value());
    if (a.version) {
        EXPECT_EQ(a.version->platformId, b.version->platformId);
        EXPECT_EQ(a.version->major, b.version->major);
        EXPECT_EQ(a.version->build, b.version->build);
    }
    EXPECT_EQ(a.computerName, b.computerName);
    EXPECT_EQ(a.thousandSeparator, b.thousandSeparator);
    EXPECT_EQ(a.decimalSeparator, b.decimalSeparator);
    EXPECT_EQ(a.memory.totalPhys, b.memory.totalPhys);
    EXPECT_EQ(a.memory.availPhys, b.memory.availPhys);
    for (std::size_t i = 0; i < 26; ++i) {
        SCOPED_TRACE(static_cast<char>('A' + i));
        ASSERT_EQ(a.drives[i].has_value(), b.drives[i].has_value());
        if (!a.drives[i])
            continue;
        EXPECT_EQ(a.drives[i]->type, b.drives[i]->type);
        EXPECT_EQ(a.drives[i]->mediumPresent, b.drives[i]->mediumPresent);
        EXPECT_EQ(a.drives[i]->label, b.drives[i]->label);
        EXPECT_EQ(a.drives[i]->serial, b.drives[i]->serial);
        EXPECT_EQ(a.drives[i]->totalBytes, b.drives[i]->totalBytes);
        EXPECT_EQ(a.drives[i]->freeBytes, b.drives[i]->freeBytes);
        EXPECT_EQ(a.drives[i]->remoteName, b.drives[i]->remoteName);
    }
    ASSERT_EQ(a.displayModes.size(), b.displayModes.size());
    for (std::size_t i = 0; i < a.displayModes.size(); ++i) {
        EXPECT_EQ(a.displayModes[i].width, b.displayModes[i].width);
        EXPECT_EQ(a.displayModes[i].bitsPerPixel, b.displayModes[i].bitsPerPixel);
    }
    EXPECT_EQ(a.clock.cyclesPerSecond, b.clock.cyclesPerSecond);
    EXPECT_EQ(a.romMapped, b.romMapped);
    EXPECT_EQ(a.romStrings, b.romStrings);
    EXPECT_EQ(a.currentDirectory, b.currentDirectory);
    EXPECT_EQ(a.programPath, b.programPath);
    EXPECT_EQ(a.directories, b.directories);
    for (const RegFact& f : kFacts) {
        SCOPED_TRACE(std::string(f.path) + " " + f.name);
        const auto va = a.registry.getValue(f.root, f.path, f.name);
        const auto vb = b.registry.getValue(f.root, f.path, f.name);
        ASSERT_EQ(va.has_value(), vb.has_value());
        if (va) {
            EXPECT_EQ(va->type, vb->type);
            EXPECT_EQ(va->data, vb->data);
        }
    }
}

TEST(SimProfile, TheProfileFilesAreTheFactoryMachines) {
    SimMachine file98 = loadSimProfile(kProfileDir + "win98.json");
    SimMachine factory98 = makeWin9xMachine();
    expectSameMachine(file98, factory98);
    SimMachine fileNt = loadSimProfile(kProfileDir + "winnt.json");
    SimMachine factoryNt = makeNtMachine();
    expectSameMachine(fileNt, factoryNt);
}

// What the pages need of each family, read through the platform calls.
std::string readString(Platform& p, HKey root, const std::string& path, const std::string& name) {
    RegistryWrapper reg(p.registry(), p.text(), root, RegAccess::Read);
    if (!reg.OpenKey("\\" + path, false))
        return "(no key)";
    return p.text().toUtf8(reg.ReadString(name));
}

// Facts of each factory machine written out here, apart from the profile files, so a machine that
// is not built from its own profile (a file embedded under the other's name, a byte lost on the
// way, a field the reader skips) fails even when the file and the factory agree.
struct FactoryFacts {
    const char* name;
    SimMachine (*make)();
    std::uint32_t platformId;
    std::uint32_t build;
    const char* computerName;  // UTF-8
    std::uint64_t totalPhys;
    std::uint64_t availPhys;
    std::uint32_t serialC;
    double cyclesPerSecond;
    std::size_t displayModes;
    const char* owner;  // UTF-8
};

const FactoryFacts kFactoryFacts[] = {
    {"win98", makeWin9xMachine, kPlatformWin9x, 67766446, "ZELVO98", 133627904, 52166656, 0x1A2B3C4D, 450000000, 8,
     "山田 太郎"},
    {"winnt", makeNtMachine, kPlatformNT, 2195, "開発用ＰＣ", 536330240, 305643520, 0x3C5D7E9F, 2400000000, 10,
     "佐藤 花子"},
};

TEST(SimProfile, TheFactoryMachinesHoldTheirProfilesFacts) {
    for (const FactoryFacts& facts : kFactoryFacts) {
        SCOPED_TRACE(facts.name);
        SimPlatform p(facts.make());
        const auto version = p.identity().getVersion();
        ASSERT_TRUE(version.has_value());
        EXPECT_EQ(version->platformId, facts.platformId);
        EXPECT_EQ(version->build, facts.build);
        const auto name = p.identity().getComputerName(16);
        ASSERT_TRUE(name.has_value());
        EXPECT_EQ(p.text().toUtf8(*name), facts.computerName);
        const MemoryStatus memory = p.memory().globalMemoryStatus();
        EXPECT_EQ(memory.totalPhys, facts.totalPhys);
        EXPECT_EQ(memory.availPhys, facts.availPhys);
        const auto volume = p.drives().getVolumeInformation("C:\\");
        ASSERT_TRUE(volume.has_value());
        EXPECT_EQ(volume->serial, facts.serialC);
        EXPECT_EQ(p.machine().clock.cyclesPerSecond, facts.cyclesPerSecond);
        EXPECT_EQ(p.machine().displayModes.size(), facts.displayModes);
        const std::string version9x = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
        const std::string versionNt = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
        EXPECT_EQ(readString(p, kHKeyLocalMachine, facts.platformId == kPlatformNT ? versionNt : version9x,
                             "RegisteredOwner"),
                  facts.owner);
    }
}

TEST(SimProfile, Win9xMachine) {
    SimPlatform p(makeWin9xMachine());
    ASSERT_TRUE(p.identity().getVersion().has_value());
    EXPECT_EQ(p.identity().getVersion()->platformId, kPlatformWin9x);
    const std::string version = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion";
    const std::string owner = readString(p, kHKeyLocalMachine, version, "RegisteredOwner");
    EXPECT_FALSE(owner.empty());
    EXPECT_GT(cp932::byteCount(owner), owner.size() / 2);  // kanji: the code page matters
    EXPECT_TRUE(cp932::isLeadByte(static_cast<std::uint8_t>(cp932::fromUtf8(owner)[0])));
    EXPECT_FALSE(readString(p, kHKeyLocalMachine, version, "RegisteredOrganization").empty());
    const std::string cpu = "Hardware\\Description\\System\\CentralProcessor\\0";
    EXPECT_FALSE(readString(p, kHKeyLocalMachine, cpu, "Identifier").empty());
    EXPECT_EQ(readString(p, kHKeyLocalMachine, cpu, "VendorIdentifier"), "GenuineIntel");

    // The performance statistics: every start and stop value fits the 4-byte buffer the
    // program reads them into, and the load is a 4-byte binary value.
    for (const char* key : {"\\PerfStats\\StartStat", "\\PerfStats\\StatData", "\\PerfStats\\StopStat"}) {
        SCOPED_TRACE(key);
        RegistryWrapper reg(p.registry(), p.text(), kHKeyDynData);
        ASSERT_TRUE(reg.OpenKey(key, false));
        const auto names = reg.GetValueNames();
        EXPECT_GE(names.size(), 2u);
        for (const auto& name : names) {
            std::int32_t data = -1;
            EXPECT_EQ(reg.ReadBinaryData(name, &data, 4), 4) << name;
        }
    }
    RegistryWrapper stat(p.registry(), p.text(), kHKeyDynData);
    ASSERT_TRUE(stat.OpenKey("\\PerfStats\\StatData", false));
    std::uint8_t load[4] = {};
    ASSERT_EQ(stat.ReadBinaryData("KERNEL\\CPUUsage", load, 4), 4);
    EXPECT_LE(load[0], 100);

    for (std::uint32_t address : {0xFE061u, 0xFE091u, 0xFFFF5u, 0xFEC71u}) {
        const auto text = p.memory().readRomString(address);
        ASSERT_TRUE(text.has_value());
        EXPECT_FALSE(text->empty()) << std::hex << address;
    }
    EXPECT_EQ(p.drives().getDriveType("A:\\"), kDriveRemovable);
    EXPECT_EQ(p.drives().getDriveType("C:\\"), kDriveFixed);
    EXPECT_EQ(p.drives().getDriveType("D:\\"), kDriveCdrom);
    EXPECT_EQ(p.drives().getDriveType("Z:\\"), kDriveRemote);
    EXPECT_EQ(p.drives().getVolumeInformation("C:\\")->label, "SYSTEM");
    EXPECT_FALSE(p.drives().getVolumeInformation("A:\\").has_value());
    EXPECT_FALSE(p.drives().getVolumeInformation("D:\\").has_value());
    EXPECT_EQ(p.drives().wnetGetConnection("Z:"), "\\\\SRV\\DATA");
    // Start-up creates TempData beside the program once.
    const std::string program = p.files().programPath().value_or(CodePageText()).bytes();
    const std::string tempData = program.substr(0, program.rfind('\\') + 1) + "TempData";
    EXPECT_TRUE(p.files().createDirectory(CodePageText(tempData)));
    EXPECT_FALSE(p.files().createDirectory(CodePageText(tempData)));
    EXPECT_TRUE(p.identity().getComputerName(16).has_value());
    EXPECT_EQ(p.text().getLocaleInfo(LocaleItem::ThousandSeparator, 2), ",");
    EXPECT_EQ(p.text().getLocaleInfo(LocaleItem::DecimalSeparator, 2), ".");
    EXPECT_TRUE(p.display().enumDisplaySettings(0).has_value());
}

TEST(SimProfile, NtMachine) {
    SimPlatform p(makeNtMachine());
    ASSERT_TRUE(p.identity().getVersion().has_value());
    EXPECT_EQ(p.identity().getVersion()->platformId, kPlatformNT);
    const std::string version = "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion";
    EXPECT_TRUE(cp932::isLeadByte(
        static_cast<std::uint8_t>(cp932::fromUtf8(readString(p, kHKeyLocalMachine, version, "RegisteredOwner"))[0])));
    const std::string cpu = "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0";
    EXPECT_FALSE(readString(p, kHKeyLocalMachine, cpu, "ProcessorNameString").empty());
    EXPECT_EQ(readString(p, kHKeyLocalMachine, cpu, "VendorIdentifier"), "GenuineIntel");

    // No HKEY_DYN_DATA on NT.
    HKey key = 0;
    EXPECT_EQ(p.registry().regOpenKey(kHKeyDynData, "PerfStats\\StatData", RegAccess::Read, &key), kRegInvalidHandle);
    // The BIOS version is a multi-string of at most 100 bytes (the page's buffer) with two pieces.
    RegistryWrapper bios(p.registry(), p.text(), kHKeyLocalMachine);
    ASSERT_TRUE(bios.OpenKey("\\HARDWARE\\DESCRIPTION\\System", false));
    char buffer[100] = {};
    const int read = bios.ReadBinaryData("SystemBIOSVersion", buffer, 100);
    EXPECT_GT(read, 0);
    const std::string raw(buffer, static_cast<std::size_t>(read));
    EXPECT_EQ(raw.substr(raw.size() - 2), std::string(2, '\0'));
    EXPECT_EQ(std::count(raw.begin(), raw.end(), '\0'), 3);
    EXPECT_FALSE(bios.ReadString("SystemBIOSDate").empty());
    ASSERT_TRUE(
        bios.OpenKey("\\SYSTEM\\ControlSet001\\Control\\Class\\{4D36E97D-E325-11CE-BFC1-08002BE10318}\\0014", false));
    EXPECT_FALSE(bios.ReadString("DriverDesc").empty());
    EXPECT_FALSE(bios.ReadString("DriverVersion").empty());

    EXPECT_FALSE(p.memory().readRomString(0xFE061).has_value());
    const auto name = p.identity().getComputerName(16);
    ASSERT_TRUE(name.has_value());
    EXPECT_TRUE(p.text().isLeadByte(static_cast<std::uint8_t>(name->bytes()[0])));
    EXPECT_EQ(p.drives().getVolumeInformation("C:\\")->fileSystem, "NTFS");
}

TEST(SimProfile, MachinesAreIndependent) {
    SimMachine a = makeNtMachine();
    SimMachine b = makeNtMachine();
    a.registry.setValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner",
                        regSz("別人"));
    EXPECT_NE(
        a.registry.getValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner")
            ->data,
        b.registry.getValue(kHKeyLocalMachine, "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", "RegisteredOwner")
            ->data);
}

TEST(SimProfile, ValueEncodings) {
    SimMachine m = parseSimProfile(R"({"registry": {"keys": [{"key": "HKLM\\K", "values": [
        {"name": "sz", "type": "REG_SZ", "data": "山"},
        {"name": "multi", "type": "REG_MULTI_SZ", "data": ["a", "bc"]},
        {"name": "dword", "type": "REG_DWORD", "data": "0x01020304"},
        {"name": "qword", "type": "REG_QWORD", "data": 258},
        {"name": "bin", "type": 3, "data": "de ad BE EF"},
        {"name": "raw", "type": "REG_SZ", "hex": "41 42"},
        {"name": "名前", "type": "REG_EXPAND_SZ", "data": "%X%"}
    ]}]}})",
                                   "inline");
    const auto get = [&](const std::string& name) {
        return *m.registry.getValue(kHKeyLocalMachine, "K", cp932::fromUtf8(name));
    };
    EXPECT_EQ(get("sz").data, std::string("\x8E\x52\0", 3));
    EXPECT_EQ(get("multi").data, std::string("a\0bc\0\0", 6));
    EXPECT_EQ(get("dword").data, std::string("\x04\x03\x02\x01", 4));
    EXPECT_EQ(get("qword").data, std::string("\x02\x01\0\0\0\0\0\0", 8));
    EXPECT_EQ(get("bin").data, "\xDE\xAD\xBE\xEF");
    EXPECT_EQ(get("raw").type, kRegSz);
    EXPECT_EQ(get("raw").data, "AB");
    EXPECT_EQ(get("名前").type, kRegExpandSz);

    SimMachine empty = parseSimProfile("{}", "empty");
    EXPECT_FALSE(empty.version.has_value());
    EXPECT_FALSE(empty.computerName.has_value());
    SimMachine failing = parseSimProfile(R"({"version": null, "computerName": null,
        "locale": {"thousandSeparator": null, "decimalSeparator": ""}})",
                                         "failing");
    EXPECT_FALSE(failing.version.has_value());
    EXPECT_FALSE(failing.thousandSeparator.has_value());
    EXPECT_EQ(failing.decimalSeparator, "");
}

struct BadCase {
    const char* json;
    const char* message;  // the part of the message after "bad.json: "
};

TEST(SimProfile, MalformedProfilesGiveClearErrors) {
    const BadCase cases[] = {
        {"{", "not valid JSON at offset"},
        {"[]", "expected an object at the top"},
        {R"({"drivs": {}})", "unknown member \"drivs\""},
        {R"({"version": {"major": 4}})", "version: platformId is missing"},
        {R"({"version": {"platformId": "one"}})", "version.platformId: \"one\" is not a whole number"},
        {R"({"version": {"platformId": 1.5}})", "version.platformId: expected a whole number"},
        {R"({"version": {"platformId": -1}})", "version.platformId: -1 is out of range"},
        {R"({"computerName": 5})", "computerName: expected text"},
        {R"({"hasDiskFreeSpaceEx": "yes"})", "hasDiskFreeSpaceEx: expected true or false"},
        {R"({"memory": {"totalPhys": 1e300}})", "memory.totalPhys: number too large"},
        {R"({"memory": {"totalPhys": 9007199254740993}})", "memory.totalPhys: number too large"},
        {R"({"drives": {"C": {"type": "fixed", "totalBytes": -9007199254740993}}})",
         "drives.C.totalBytes: number too large"},
        {R"({"description": "\ud800"})", "not valid JSON at offset"},
        {R"({"memory": {"totalPhys": 10, "availPhys": 20}})", "memory: availPhys is larger than totalPhys"},
        {R"({"drives": {"c": {"type": "fixed"}}})", "drives: unknown member \"c\""},
        {R"({"drives": {"C": {}}})", "drives.C: type is missing"},
        {R"({"drives": {"C": {"type": "floppy"}}})", "drives.C.type: unknown drive type \"floppy\""},
        {R"({"drives": {"C": {"type": "fixed", "totalBytes": 1, "freeBytes": 2}}})",
         "drives.C: freeBytes is larger than totalBytes"},
        {R"({"drives": {"C": {"type": "fixed", "serial": "0x1FFFFFFFF"}}})", "drives.C.serial: 8589934591 is out"},
        {R"({"displayModes": [{"width": 640}]})", "displayModes[0]: height is missing"},
        {R"({"displayModes": {}})", "displayModes: expected a list"},
        {R"({"clock": {"stepMs": 0}})", "clock.stepMs: 0 is out of range"},
        {R"({"clock": {"cyclesPerSecond": -5}})", "clock.cyclesPerSecond: a negative rate"},
        {R"({"rom": {"strings": {"0xZZ": "x"}}})", "rom.strings.0xZZ: \"0xZZ\" is not a whole number"},
        {R"({"rom": {"strings": {"0x100000": "x"}}})", "rom.strings.0x100000: 1048576 is out of range"},
        {R"({"registry": {"absentRoots": ["HKEY_NOWHERE"]}})",
         "registry.absentRoots[0]: unknown root key \"HKEY_NOWHERE\""},
        {R"({"registry": {"keys": [{"values": []}]}})", "registry.keys[0]: key is missing"},
        {R"({"registry": {"keys": [{"key": "HKLM\\A\\\\B"}]}})", "registry.keys[0].key: \"HKLM\\A\\\\B\" has an empty"},
        {R"({"registry": {"keys": [{"key": "HKLM\\A", "values": [{"name": "v"}]}]}})",
         "registry.keys[0].values[0]: name and type are required"},
        {R"({"registry": {"keys": [{"key": "HKLM\\A", "values": [{"name": "v", "type": "REG_TEXT", "data": ""}]}]}})",
         "registry.keys[0].values[0].type: unknown value type \"REG_TEXT\""},
        {R"({"registry": {"keys": [{"key": "HKLM\\A", "values": [{"name": "v", "type": "REG_BINARY", "data": "0g"}]}]}})",
         "registry.keys[0].values[0].data: 'g' is not a hex digit"},
        {R"({"registry": {"keys": [{"key": "HKLM\\A", "values": [{"name": "v", "type": "REG_BINARY", "data": "012"}]}]}})",
         "registry.keys[0].values[0].data: odd number of hex digits"},
        {R"({"registry": {"keys": [{"key": "HKLM\\A", "values": [{"name": "v", "type": "REG_SZ", "data": "x", "hex": "00"}]}]}})",
         "registry.keys[0].values[0]: give either data or hex"},
        {R"({"registry": {"keys": [{"key": "HKLM\\A", "values": [{"name": "v", "type": "REG_MULTI_SZ", "data": "x"}]}]}})",
         "registry.keys[0].values[0].data: expected a list"},
        {R"({"registry": {"keys": [{"key": "HKLM\\A", "values": [{"name": "v", "type": "REG_DWORD", "data": 4294967296}]}]}})",
         "registry.keys[0].values[0].data: 4294967296 is out of range"},
    };
    for (const BadCase& c : cases) {
        SCOPED_TRACE(c.json);
        try {
            parseSimProfile(c.json, "bad.json");
            ADD_FAILURE() << "accepted";
        } catch (const SimProfileError& e) {
            const std::string message = e.what();
            EXPECT_EQ(message.rfind("bad.json: ", 0), 0u) << message;
            EXPECT_NE(message.find(c.message), std::string::npos) << message;
        }
    }
}

TEST(SimProfile, OnlyTheFamilyProfilesAreEmbedded) {
    EXPECT_EQ(loadSimProfileResource("win98.json").version->platformId, kPlatformWin9x);
    EXPECT_EQ(loadSimProfileResource("winnt.json").version->platformId, kPlatformNT);
    for (const char* name : {"", "win95.json", "sim/win98.json", "WIN98.JSON"}) {
        SCOPED_TRACE(name);
        try {
            loadSimProfileResource(name);
            ADD_FAILURE() << "accepted";
        } catch (const SimProfileError& e) {
            EXPECT_NE(std::string(e.what()).find("no such profile"), std::string::npos) << e.what();
        }
    }
}

TEST(SimProfile, FileErrorsNameTheFile) {
    const zelvo::test::ScopedTempDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string missing = dir.filePath("missing.json");
    try {
        loadSimProfile(missing);
        ADD_FAILURE() << "accepted";
    } catch (const SimProfileError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(missing + ": cannot be read", 0), 0u) << e.what();
    }

    // A directory is no profile either.
    try {
        loadSimProfile(dir.path().string());
        ADD_FAILURE() << "accepted";
    } catch (const SimProfileError& e) {
        EXPECT_EQ(std::string(e.what()).rfind(dir.path().string() + ": cannot be read", 0), 0u) << e.what();
    }

    const std::string broken = dir.filePath("broken.json");
    std::ofstream(broken) << R"({"drives": {"C": {"type": "fixed", "label": 7}}})";
    try {
        loadSimProfile(broken);
        ADD_FAILURE() << "accepted";
    } catch (const SimProfileError& e) {
        EXPECT_EQ(std::string(e.what()), broken + ": drives.C.label: expected text");
    }
}

}  // namespace
