// The system-devices driver entry: choosing the device, naming it, and its driver's version.

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "platform/linux/MachineRegistry.h"
#include "platform/linux/PciDevice.h"
#include "support/FixtureFiles.h"

namespace zelvo::platform {
namespace {

using test::linuxFixturePath;
using test::readRecordedFile;

TEST(LinuxPciDevice, LooksUpPciIds) {
    const std::string ids = readRecordedFile(linuxFixturePath("amd-laptop") + "/usr/share/misc/pci.ids");
    ASSERT_FALSE(ids.empty());
    struct Case {
        const char* label;
        std::uint16_t vendor, device;
        std::optional<std::string> vendorName, deviceName;
    };
    const Case cases[] = {
        {"AMD root complex", 0x1022, 0x1630, "Advanced Micro Devices, Inc. [AMD]", "Renoir/Cezanne Root Complex"},
        {"Intel 440FX, last vendor before the classes", 0x8086, 0x1237, "Intel Corporation",
         "440FX - 82441FX PMC [Natoma]"},
        {"known vendor, unknown device", 0x1022, 0xbeef, "Advanced Micro Devices, Inc. [AMD]", std::nullopt},
        {"a subsystem id is not a device", 0x1022, 0x17aa, "Advanced Micro Devices, Inc. [AMD]", std::nullopt},
        {"device of another vendor", 0x1002, 0x1630, "Advanced Micro Devices, Inc. [AMD/ATI]", std::nullopt},
        {"unknown vendor", 0xabcd, 0x0001, std::nullopt, std::nullopt},
        {"class codes are not vendors", 0x0006, 0x0000, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto name = lookupPciIds(ids, c.vendor, c.device);
        ASSERT_EQ(name.has_value(), c.vendorName.has_value());
        if (name) {
            EXPECT_EQ(name->vendor, *c.vendorName);
            EXPECT_EQ(name->device, c.deviceName);
        }
    }
    EXPECT_EQ(lookupPciIds("", 0x8086, 0x1237), std::nullopt);
    EXPECT_EQ(lookupPciIds("8086\n\t1237\n80", 0x8086, 0x1237), std::nullopt);
    EXPECT_EQ(lookupPciIds("8086  Intel\n\t1237  Natoma", 0x8086, 0x1237)->device, "Natoma");
}

TEST(LinuxPciDevice, ReadsUdevProperties) {
    const std::string data = readRecordedFile(linuxFixturePath("intel-desktop") + "/run/udev/data/+pci:0000:00:00.0");
    EXPECT_EQ(udevProperty(data, "ID_VENDOR_FROM_DATABASE"), "Intel Corporation");
    EXPECT_EQ(udevProperty(data, "ID_MODEL_FROM_DATABASE"), "8th Gen Core Processor Host Bridge/DRAM Registers");
    EXPECT_EQ(udevProperty(data, "ID_MODEL"), std::nullopt);
    EXPECT_EQ(udevProperty("E:ID_MODEL_FROM_DATABASE=\n", "ID_MODEL_FROM_DATABASE"), std::nullopt);
    EXPECT_EQ(udevProperty("S:ID_VENDOR_FROM_DATABASE=x\n", "ID_VENDOR_FROM_DATABASE"), std::nullopt);
}

TEST(LinuxPciDevice, DescribesDevices) {
    EXPECT_EQ(pciDescription(PciIdsName{"Intel Corporation", "440FX - 82441FX PMC [Natoma]"}, 0x8086, 0x1237),
              "Intel Corporation 440FX - 82441FX PMC [Natoma]");
    EXPECT_EQ(pciDescription(PciIdsName{"Intel Corporation", std::nullopt}, 0x8086, 0x0d57),
              "Intel Corporation PCI device 8086:0d57");
    EXPECT_EQ(pciDescription(std::nullopt, 0x1af4, 0x0001), "PCI device 1af4:0001");
}

TEST(LinuxPciDevice, ChoosesTheHostBridge) {
    struct Case {
        const char* label;
        std::vector<PciAddressClass> devices;
        std::optional<std::string> chosen;
    };
    const Case cases[] = {
        {"host bridge present", {{"0000:00:00.0", 0x060000}, {"0000:00:01.0", 0x060400}}, "0000:00:00.0"},
        {"host bridge at 00:00.0 whatever its class", {{"0000:00:00.0", 0x050000}}, "0000:00:00.0"},
        {"lowest bridge otherwise",
         {{"0001:00:02.0", 0x020000}, {"0001:00:05.0", 0x060400}, {"0001:00:03.0", 0x060400}},
         "0001:00:03.0"},
        {"no bridge", {{"0000:01:00.0", 0x0c0330}}, std::nullopt},
        {"no PCI", {}, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(chooseSystemDevice(c.devices), c.chosen);
    }
}

void writeFile(const QString& path, const QByteArray& text) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text);
}

TEST(LinuxPciDevice, DriverVersionIsTheModuleVersionElseTheKernelRelease) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sys = dir.filePath("sys");
    const QString device = sys + "/bus/pci/devices/0000:00:00.0";
    writeFile(device + "/vendor", "0x8086\n");
    writeFile(device + "/device", "0x3ec2\n");
    writeFile(device + "/class", "0x060000\n");
    writeFile(sys + "/bus/pci/drivers/ie31200_edac/bind", "");
    writeFile(sys + "/module/ie31200_edac/version", "1.2.3\n");
    ASSERT_TRUE(QFile::link(sys + "/bus/pci/drivers/ie31200_edac", device + "/driver"));

    LinuxRoots roots;
    roots.sys = sys.toStdString();
    roots.udevData = dir.filePath("udev").toStdString();
    const std::string ids = linuxFixturePath("amd-laptop") + "/usr/share/misc/pci.ids";

    // A built-in driver: no module link, so the kernel's release versions it.
    auto entry = systemDevicesDriver(roots, {"/nonexistent/pci.ids", ids}, "6.1.0-18-amd64");
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->description, "Intel Corporation 8th Gen Core Processor Host Bridge/DRAM Registers");
    EXPECT_EQ(entry->version, "6.1.0-18-amd64");

    ASSERT_TRUE(QFile::link(sys + "/module/ie31200_edac", sys + "/bus/pci/drivers/ie31200_edac/module"));
    entry = systemDevicesDriver(roots, {ids}, "6.1.0-18-amd64");
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->version, "1.2.3");

    // No name database at all: the numeric ids.
    entry = systemDevicesDriver(roots, {}, "6.1.0-18-amd64");
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->description, "PCI device 8086:3ec2");

    // Unreadable ids: no entry.
    writeFile(device + "/vendor", "vendor\n");
    EXPECT_FALSE(systemDevicesDriver(roots, {ids}, "6.1.0-18-amd64").has_value());
}

}  // namespace
}  // namespace zelvo::platform
