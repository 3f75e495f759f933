// A machine without udev records or /dev/disk links: where the device node can be read, label,
// serial and the real type under a user-space driver come from the superblock.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#include "LinuxDrivesFixture.h"
#include "platform/linux/LinuxDrives.h"
#include "support/CodePageTextTesting.h"

namespace zelvo::platform {
namespace {

using testing::machineRoots;
using testing::recordedSeams;

void putLe(std::vector<char>& image, std::size_t offset, std::uint64_t value, int size) {
    for (int i = 0; i < size; ++i)
        image[offset + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

// A FAT32 volume as Microsoft's FAT documentation lays it out: boot sector with the BIOS
// parameter block, two FATs, and the root directory (first cluster) holding the volume label.
std::vector<char> fat32Image(std::uint32_t serial, const std::string& label) {
    constexpr std::size_t kSector = 512;
    constexpr std::uint32_t kReserved = 32;
    constexpr std::uint32_t kFatSectors = 600;
    constexpr std::uint32_t kDataSectors = 70000;  // one sector per cluster: FAT32 by cluster count
    std::vector<char> image(kSector * (kReserved + 2 * kFatSectors + 1), 0);
    const std::string oem = "MSWIN4.1";
    image[0] = static_cast<char>(0xEB);
    image[1] = 0x58;
    image[2] = static_cast<char>(0x90);
    std::copy(oem.begin(), oem.end(), image.begin() + 3);
    putLe(image, 11, kSector, 2);                                     // bytes per sector
    image[13] = 1;                                                    // sectors per cluster
    putLe(image, 14, kReserved, 2);                                   // reserved sectors
    image[16] = 2;                                                    // FATs
    image[21] = static_cast<char>(0xF8);                              // media: fixed disk
    putLe(image, 24, 63, 2);                                          // sectors per track
    putLe(image, 26, 255, 2);                                         // heads
    putLe(image, 32, kReserved + 2 * kFatSectors + kDataSectors, 4);  // total sectors
    putLe(image, 36, kFatSectors, 4);                                 // sectors per FAT
    putLe(image, 44, 2, 4);                                           // root directory cluster
    putLe(image, 48, 1, 2);                                           // FSInfo sector
    putLe(image, 50, 6, 2);                                           // backup boot sector
    image[64] = static_cast<char>(0x80);                              // drive number
    image[66] = 0x29;                                                 // extended boot signature
    putLe(image, 67, serial, 4);
    const std::string noName = "NO NAME    FAT32   ";
    std::copy(noName.begin(), noName.end(), image.begin() + 71);
    image[510] = 0x55;
    image[511] = static_cast<char>(0xAA);
    for (std::uint32_t fat = 0; fat < 2; ++fat) {
        const std::size_t start = kSector * (kReserved + fat * kFatSectors);
        putLe(image, start, 0x0FFFFFF8, 4);      // media entry
        putLe(image, start + 4, 0x0FFFFFFF, 4);  // reserved entry
        putLe(image, start + 8, 0x0FFFFFFF, 4);  // root directory: one cluster
    }
    const std::size_t root = kSector * (kReserved + 2 * kFatSectors);
    std::string name = label;
    name.resize(11, ' ');
    std::copy(name.begin(), name.end(), image.begin() + root);
    image[root + 11] = 0x08;  // volume-label entry
    return image;
}

TEST(LinuxDrivesSuperblock, LabelSerialAndTypeFromTheDeviceNode) {
    QTemporaryDir dev;
    ASSERT_TRUE(dev.isValid());
    const std::string devPath = dev.path().toStdString();
    struct Node {
        std::string name;
        std::uint32_t serial;
        std::string label;
    };
    for (const Node& node : {Node{"sdc1", 0x1234ABCD, "CAMERA"}, Node{"sdd1", 0x5678EF01, "PHOTOS"}}) {
        const auto image = fat32Image(node.serial, node.label);
        std::ofstream(devPath + "/" + node.name, std::ios::binary)
            .write(image.data(), static_cast<std::streamsize>(image.size()));
    }
    LinuxRoots roots = machineRoots("alpine");
    roots.dev = devPath;
    LinuxDrives drives(roots, recordedSeams("alpine", "/"));

    const auto stick = drives.getVolumeInformation("e:\\");  // vfat mount of sdc1
    ASSERT_TRUE(stick);
    EXPECT_EQ(stick->label, "CAMERA");
    EXPECT_EQ(stick->serial, 0x1234ABCDu);
    EXPECT_EQ(stick->fileSystem, "FAT32");

    const auto card = drives.getVolumeInformation("d:\\");  // fuseblk mount of sdd1
    ASSERT_TRUE(card);
    EXPECT_EQ(card->label, "PHOTOS");
    EXPECT_EQ(card->serial, 0x5678EF01u);
    EXPECT_EQ(card->fileSystem, "FAT32");

    // The root's node is missing: nothing to read, the stable identifier stands in.
    const auto system = drives.getVolumeInformation("c:\\");
    ASSERT_TRUE(system);
    EXPECT_EQ(system->label, "");
    EXPECT_EQ(system->fileSystem, "EXT4");
}

}  // namespace
}  // namespace zelvo::platform
