// The drive calls against recorded machines: which mounts become drives, their letters, types,
// labels, serials, file-system names, remote names and sizes.

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "LinuxDrivesFixture.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/VolumeId.h"
#include "support/CodePageTextTesting.h"

namespace zelvo::platform {
namespace {

using testing::machineDir;
using testing::machineRoots;
using testing::recordedSeams;

// A serial Windows would show from the volume's UUID, or (hashed) the stable identifier of a
// volume without one, made from its source and mount point.
struct Serial {
    std::optional<std::uint32_t> value;
    std::string source;
    std::string target;
};
Serial fromUuid(std::uint32_t value) {
    return {value, {}, {}};
}
Serial hashed(std::string source, std::string target) {
    return {std::nullopt, std::move(source), std::move(target)};
}

struct ExpectedDrive {
    char letter;
    std::uint32_t type;
    std::string fileSystem;
    std::string label;
    Serial serial;
    std::optional<std::string> remote;
    std::int64_t totalBytes;
    std::int64_t availableBytes;
    bool readOnly = false;
};

struct Machine {
    std::string name;
    std::string cwd;
    std::string currentDirectory;  // what getCurrentDirectory gives for cwd
    std::vector<ExpectedDrive> drives;
};

std::ostream& operator<<(std::ostream& out, const Machine& machine) {
    return out << machine.name;
}

const std::vector<Machine>& machines() {
    static const std::vector<Machine> table = {
        {"laptop",  // USB stick (FAT32), SD card (exFAT), USB disk reporting removable=0, EFI partition
         "/media/alice/SD CARD/DCIM",
         "F:\\DCIM",
         {
             {'C', kDriveFixed, "EXT4", "", fromUuid(0x2F6A9C1E), {}, 499837304832, 303800463360},
             {'D', kDriveRemovable, "EXT4", "Backup Disk", fromUuid(0x9B1E5D0C), {}, 1000200994816, 600129536000, true},
             {'E', kDriveRemovable, "FAT32", "KINGSTON", fromUuid(0xA1B2C3D4), {}, 30989811712, 20054114304},
             {'F', kDriveRemovable, "exFAT", "SD CARD", fromUuid(0x64E17A52), {}, 31906070528, 13268418560},
             {'G', kDriveRamdisk, "TMPFS", "", hashed("tmpfs", "/tmp"), {}, 8211210240, 8210108416},
         }},
        {"dualboot",  // btrfs root with a /home subvolume, NTFS through ntfs-3g, LUKS on a USB stick
         "/home/alice",
         "C:\\home\\alice",
         {
             {'C', kDriveFixed, "BTRFS", "fedora", fromUuid(0xE3A1F5C7), {}, 511101108224, 246629216256},
             {'D', kDriveFixed, "EXT4", "", fromUuid(0xB4D2C6E8), {}, 1023303680, 685670400},
             {'E', kDriveFixed, "NTFS", "Data", fromUuid(0x8E9F0A1B), {}, 2000397795328, 409600000000},
             {'F', kDriveFixed, "NTFS", "OS", fromUuid(0xC4D5E6F7), {}, 322122547200, 123375616000},
             {'G', kDriveRemovable, "EXT4", "Secret", fromUuid(0x0D1C2B3A), {}, 30990663680, 27033600000},
             {'H', kDriveRamdisk, "TMPFS", "", hashed("tmpfs", "/tmp"), {}, 8338452480, 8338227200},
         }},
        {"server",  // LVM root, md RAID without a udev record, NFS, CIFS, SMB3, sshfs
         "/home/shared/alice",
         "Z:\\alice",
         {
             {'C', kDriveFixed, "EXT4", "", fromUuid(0x6D8F0A2C), {}, 250059161600, 151142400000},
             {'D', kDriveFixed, "EXT4", "boot", fromUuid(0xC1D2E3F4), {}, 510619648, 383220736},
             {'E', kDriveFixed, "XFS", "data", fromUuid(0x7C0E3F5A), {}, 3999738626048, 2048000000000},
             {'V', kDriveRemote, "NFS", "", hashed("[fd00::10]:/export/scratch", "/mnt/scratch"),
              "\\\\[fd00::10]\\export\\scratch", 1999634432000, 1048576000000},
             {'W', kDriveRemote, "SMB3", "", hashed("//fileserver/Public Share", "/mnt/public"),
              "\\\\fileserver\\Public Share", 1000196755456, 819200000000},
             {'X', kDriveRemote, "CIFS", "", hashed("//fileserver/data", "/mnt/data"), "\\\\fileserver\\data",
              4000787030016, 1269760000000},
             {'Y', kDriveRemote, "SSHFS", "", hashed("backup@vault.example.lan:/srv/backup", "/mnt/backup"),
              "\\\\backup@vault.example.lan\\srv\\backup", 8001563222016, 3686400000000},
             {'Z', kDriveRemote, "NFS4", "", hashed("nas.example.lan:/export/home", "/home/shared"),
              "\\\\nas.example.lan\\export\\home", 8000634880000, 2107637760000},
         }},
        {"container",  // overlay root, bind-mounted /etc files, a volume, /dev/shm
         "/data",
         "D:\\",
         {
             {'C', kDriveFixed, "OVERLAY", "", hashed("overlay", "/"), {}, 105089261568, 51978240000},
             {'D', kDriveFixed, "EXT4", "", hashed("/dev/vda1", "/data"), {}, 105089261568, 51978240000},
         }},
        {"desktop",  // snaps, a DVD, a mounted disc image, a floppy, a zram disk, an app image
         "/home/bob",
         "D:\\bob",
         {
             {'A', kDriveRemovable, "FAT", "DISK1", fromUuid(0x1C2D3E4F), {}, 1457664, 1433600},
             {'C', kDriveFixed, "EXT4", "", fromUuid(0xA7C3E1F9), {}, 248705380352, 110182400000},
             {'D', kDriveFixed, "EXT4", "home", fromUuid(0x51F0E8D7), {}, 2000397795328, 1126400000000},
             {'E', kDriveCdrom, "CDFS", "Ubuntu 22.04.3 LTS amd64", fromUuid(0x20230808), {}, 5029494784, 0, true},
             {'F', kDriveCdrom, "CDFS", "Debian 12.1.0 amd64 n", fromUuid(0x20230722), {}, 662700032, 0, true},
             {'G', kDriveRamdisk, "EXT4", "ramdisk", fromUuid(0x0A9B8C7D), {}, 8321499136, 7782400000},
         }},
        {"alpine",  // no udev database and no /dev/disk links (mdev); device nodes not readable
         "/root",
         "C:\\root",
         {
             {'C', kDriveFixed, "EXT4", "", hashed("/dev/sda3", "/"), {}, 20480000000, 11264000000},
             {'D', kDriveRemovable, "FUSEBLK", "", hashed("/dev/sdd1", "/media/card"), {}, 12288000000, 8192000000},
             // 80000 clusters: FAT32 by the cluster count
             {'E', kDriveRemovable, "FAT32", "", hashed("/dev/sdc1", "/media/stick"), {}, 40960000, 35840000},
         }},
        {"thismachine",  // recorded on the build machine (a virtual machine without udev)
         "/work/main",
         "C:\\work\\main",
         {
             {'C', kDriveFixed, "EXT4", "", hashed("/dev/vda", "/"), {}, 270553174016, 85108375552},
         }},
    };
    return table;
}

class LinuxDrivesMachineTest : public ::testing::TestWithParam<Machine> {
protected:
    LinuxDrives drives{machineRoots(GetParam().name), recordedSeams(GetParam().name, GetParam().cwd)};
};

TEST_P(LinuxDrivesMachineTest, LettersAreTheExpectedDrives) {
    std::uint32_t mask = 0;
    for (const auto& drive : GetParam().drives)
        mask |= 1u << (drive.letter - 'A');
    EXPECT_EQ(drives.getLogicalDrives(), mask);
    for (char letter = 'a'; letter <= 'z'; ++letter) {
        if (!(mask & (1u << (letter - 'a')))) {
            SCOPED_TRACE(letter);
            EXPECT_EQ(drives.getDriveType(std::string(1, letter) + ":\\"), kDriveNoRootDir);
            EXPECT_FALSE(drives.getVolumeInformation(std::string(1, letter) + ":\\"));
            EXPECT_FALSE(drives.getDiskFreeSpaceEx(std::string(1, letter) + ":\\"));
        }
    }
}

TEST_P(LinuxDrivesMachineTest, EachDriveAsWindowsShowsIt) {
    for (const auto& expected : GetParam().drives) {
        SCOPED_TRACE(std::string(1, expected.letter));
        const std::string lower = std::string(1, static_cast<char>(expected.letter + 32)) + ":\\";
        const std::string upper = std::string(1, expected.letter) + ":\\";
        EXPECT_EQ(drives.getDriveType(lower), expected.type);
        EXPECT_EQ(drives.getDriveType(upper), expected.type);

        const auto volume = drives.getVolumeInformation(upper);
        ASSERT_TRUE(volume);
        EXPECT_EQ(volume->fileSystem, expected.fileSystem);
        EXPECT_EQ(volume->label, expected.label);
        const std::uint32_t serial = expected.serial.value
                                         ? *expected.serial.value
                                         : drives::stableVolumeId(expected.serial.source, expected.serial.target);
        EXPECT_EQ(volume->serial, serial);
        EXPECT_EQ((volume->flags & 0x80000u) != 0, expected.readOnly);
        EXPECT_EQ(volume->maxComponentLength, 255u);

        EXPECT_EQ(drives.wnetGetConnection(std::string(1, expected.letter) + ":"), expected.remote);

        const auto space = drives.getDiskFreeSpaceEx(lower);
        ASSERT_TRUE(space);
        EXPECT_EQ(space->totalBytes, expected.totalBytes);
        EXPECT_EQ(space->freeBytesAvailable, expected.availableBytes);
        EXPECT_GE(space->totalFreeBytes, space->freeBytesAvailable);
    }
}

// A root is a letter, a colon and at most one slash or backslash; anything longer or shorter
// names no drive, however it begins.
TEST_P(LinuxDrivesMachineTest, OnlyARootNamesTheDrive) {
    const auto& drive = GetParam().drives.front();
    const std::pair<const char*, bool> rows[] = {
        {":\\", true},   {":/", true},     {":", true}, {":x", false},
        {":\\x", false}, {":\\\\", false}, {"", false}, {"\\", false},
    };
    for (const auto& [suffix, isRoot] : rows) {
        const std::string root = std::string(1, static_cast<char>(drive.letter + 32)) + suffix;
        SCOPED_TRACE(root);
        EXPECT_EQ(drives.getDriveType(root), isRoot ? drive.type : kDriveNoRootDir);
    }
}

TEST_P(LinuxDrivesMachineTest, CurrentDirectoryNamesTheDriveHoldingIt) {
    const std::string current = drives.getCurrentDirectory().value().bytes();
    EXPECT_EQ(current, GetParam().currentDirectory);
    // The empty root is the current drive.
    const char letter = current.at(0);
    EXPECT_EQ(drives.getDriveType(""), drives.getDriveType(std::string(1, letter) + ":\\"));
    const auto here = drives.getDiskFreeSpaceEx("");
    const auto there = drives.getDiskFreeSpaceEx(std::string(1, letter) + ":\\");
    ASSERT_TRUE(here);
    ASSERT_TRUE(there);
    EXPECT_EQ(here->totalBytes, there->totalBytes);
    EXPECT_EQ(here->freeBytesAvailable, there->freeBytesAvailable);
}

INSTANTIATE_TEST_SUITE_P(Machines, LinuxDrivesMachineTest, ::testing::ValuesIn(machines()),
                         [](const auto& paramInfo) { return paramInfo.param.name; });

// Exclusions the machines above show only as missing letters, named one by one.
TEST(LinuxDrivesMachines, MountsThatAreNoDrives) {
    struct Case {
        std::string machine;
        std::string cwd;       // a directory on the mount
        std::string expected;  // the current directory falls to the drive below it
    };
    const std::vector<Case> cases = {
        {"laptop", "/boot/efi/EFI", "C:\\boot\\efi\\EFI"},                      // EFI system partition
        {"laptop", "/run/user/1000/gvfs", "C:\\run\\user\\1000\\gvfs"},         // user-space, no disk
        {"laptop", "/dev/shm", "C:\\dev\\shm"},                                 // RAM-backed system area
        {"dualboot", "/home/alice", "C:\\home\\alice"},                         // second mount of the root
        {"desktop", "/snap/firefox/3068", "C:\\snap\\firefox\\3068"},           // packaged application
        {"desktop", "/srv/share/notes", "C:\\srv\\share\\notes"},               // bind of a listed disk
        {"desktop", "/tmp/.mount_ObsidiYx3Kq", "C:\\tmp\\.mount_ObsidiYx3Kq"},  // app image
        {"container", "/etc", "C:\\etc"},                                       // bind-mounted files
        {"container", "/proc/acpi", "C:\\proc\\acpi"},                          // masking tmpfs
        {"server", "/net/host", "C:\\net\\host"},                               // automounter
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.machine + " " + c.cwd);
        LinuxDrives drives(machineRoots(c.machine), recordedSeams(c.machine, c.cwd));
        EXPECT_EQ(drives.getCurrentDirectory(), c.expected);
    }
}

TEST(LinuxDrivesMachines, RecordedMachineMatchesDf) {
    // df -B1 --output=target,size,avail, taken together with the statvfs figures.
    std::ifstream df(machineDir("thismachine") + "/df.txt");
    std::string header;
    std::getline(df, header);
    std::string target;
    std::int64_t size = 0;
    std::int64_t avail = 0;
    ASSERT_TRUE(df >> target >> size >> avail);
    ASSERT_EQ(target, "/");
    LinuxDrives drives(machineRoots("thismachine"), recordedSeams("thismachine", "/"));
    const auto space = drives.getDiskFreeSpaceEx("C:\\");
    ASSERT_TRUE(space);
    EXPECT_EQ(space->totalBytes, size);
    EXPECT_EQ(space->freeBytesAvailable, avail);
}

TEST(LinuxDrivesMachines, ClustersFromTheSameFigures) {
    LinuxDrives drives(machineRoots("laptop"), recordedSeams("laptop", "/"));
    const auto clusters = drives.getDiskFreeSpace("e:\\");  // 32 KiB clusters
    ASSERT_TRUE(clusters);
    EXPECT_EQ(clusters->bytesPerSector, 512u);
    EXPECT_EQ(clusters->sectorsPerCluster, 64u);
    EXPECT_EQ(clusters->totalClusters, 945734u);
    EXPECT_EQ(clusters->freeClusters, 612003u);
}

}  // namespace
}  // namespace zelvo::platform
