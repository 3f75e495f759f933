// The rules behind the Linux drives, one table each: remote names, serial numbers, file-system
// names, udev text, which mounts are drives, and how letters are given.

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "platform/linux/DriveLetters.h"
#include "platform/linux/VolumeId.h"

namespace zelvo::platform::drives {
namespace {

TEST(LinuxDriveRules, RemoteNameFromSource) {
    struct Row {
        std::string source;
        std::optional<std::string> remote;
    };
    const std::vector<Row> rows = {
        {"//srv/data", "\\\\srv\\data"},
        {"//srv/data/", "\\\\srv\\data"},
        {"//srv/Public Share/sub", "\\\\srv\\Public Share\\sub"},
        {"//", std::nullopt},
        {"srv:/export/home", "\\\\srv\\export\\home"},
        {"srv:/", "\\\\srv"},
        {"backup@vault:", "\\\\backup@vault"},
        {"backup@vault:docs/2024", "\\\\backup@vault\\docs\\2024"},
        {"[fd00::10]:/export", "\\\\[fd00::10]\\export"},
        {"[fd00::10]", std::nullopt},
        {"C:\\", std::nullopt},  // a Windows drive shared into WSL
        {"drvfs", std::nullopt},
        {"/dev/sda1", std::nullopt},
        {"dir/x:y", std::nullopt},
        {"srv\\:share", std::nullopt},  // a backslash would end the server inside its name
        {"", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.source);
        EXPECT_EQ(remoteNameFromSource(row.source), row.remote);
    }
}

TEST(LinuxDriveRules, SerialFromUuid) {
    struct Row {
        std::string fsType;
        std::string uuid;
        std::optional<std::uint32_t> serial;
    };
    const std::vector<Row> rows = {
        {"vfat", "ABCD-1234", 0xABCD1234},
        {"exfat", "64E1-7A52", 0x64E17A52},
        {"ntfs", "0123456789ABCDEF", 0x89ABCDEF},  // low half of the 64-bit serial
        {"ntfs3", "01D9A2B3C4D5E6F7", 0xC4D5E6F7},
        {"ext4", "3f2504e0-4f89-11d3-9a0c-0305e82c3301", 0x3F2504E0},
        {"btrfs", "E3A1F5C7-9b2d-4e6f-8a0c-1d3e5f7a9b2c", 0xE3A1F5C7},
        {"iso9660", "2023-08-08-02-20-37-00", 0x20230808},
        {"ext4", "not-a-hex-uuid", 0x9F9C0356},  // first bytes of its SHA-256
        {"vfat", "AB-12", 0x94AB5E19},           // too short to be a serial: hashed too
        {"vfat", "", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fsType + " " + row.uuid);
        EXPECT_EQ(serialFromUuid(row.fsType, row.uuid), row.serial);
    }
}

TEST(LinuxDriveRules, StableVolumeIdIsTheStartOfSha256) {
    EXPECT_EQ(stableVolumeId("tmpfs", "/tmp"), 0xFC9F9B6Du);
    EXPECT_EQ(stableVolumeId("tmpfs", "/var/tmp"), 0x18C28421u);
    EXPECT_EQ(stableVolumeId("overlay", "/"), 0x1848692Bu);
}

TEST(LinuxDriveRules, WindowsFileSystemName) {
    struct Row {
        std::string fsType;
        std::string fatVersion;
        std::optional<std::uint64_t> clusters;
        std::string name;
    };
    const std::vector<Row> rows = {
        {"vfat", "FAT32", std::nullopt, "FAT32"},
        {"vfat", "FAT16", std::nullopt, "FAT"},
        {"vfat", "FAT12", 70000, "FAT"},  // the recorded version wins over the count
        {"vfat", "", 65525, "FAT32"},
        {"vfat", "", 65524, "FAT"},
        {"vfat", "", std::nullopt, "FAT"},
        {"msdos", "", 4084, "FAT"},
        {"exfat", "1.0", std::nullopt, "exFAT"},
        {"ntfs", "", std::nullopt, "NTFS"},
        {"ntfs3", "", std::nullopt, "NTFS"},
        {"iso9660", "Joliet Extension", std::nullopt, "CDFS"},
        {"udf", "2.01", std::nullopt, "UDF"},
        {"ext4", "1.0", std::nullopt, "EXT4"},
        {"fuse.sshfs", "", std::nullopt, "SSHFS"},
        {"nfs4", "", std::nullopt, "NFS4"},
        {"fuseblk", "", std::nullopt, "FUSEBLK"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.fsType + " " + row.fatVersion);
        EXPECT_EQ(windowsFileSystemName(row.fsType, row.fatVersion, row.clusters), row.name);
    }
}

TEST(LinuxDriveRules, DecodeUdevText) {
    struct Row {
        std::string encoded;
        std::string decoded;
    };
    const std::vector<Row> rows = {
        {"SD\\x20CARD", "SD CARD"},
        {"a\\x2fb", "a/b"},
        {"caf\\xc3\\xa9", "caf\xc3\xa9"},
        {"\\x5c", "\\"},
        {"plain", "plain"},
        {"\\x", "\\x"},
        {"\\x4", "\\x4"},
        {"\\xZZ", "\\xZZ"},
        {"end\\", "end\\"},
        {"", ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.encoded);
        EXPECT_EQ(decodeUdevText(row.encoded), row.decoded);
    }
}

TEST(LinuxDriveRules, ParseUdevRecordKeepsProperties) {
    const auto properties = parseUdevRecord(
        "S:disk/by-label/KINGSTON\nW:3\nE:ID_FS_TYPE=vfat\nE:ID_FS_LABEL=\nE:DEVLINKS=a=b c\nE:=orphan\n"
        "E:NOEQUALS\ngarbage\n\nE:ID_FS_UUID=A1B2-C3D4");
    const std::map<std::string, std::string> expected = {
        {"ID_FS_TYPE", "vfat"}, {"ID_FS_LABEL", ""}, {"DEVLINKS", "a=b c"}, {"ID_FS_UUID", "A1B2-C3D4"}};
    EXPECT_EQ(properties, expected);
}

MountEntry mountOf(std::string fsType, std::string target, std::string source = "src") {
    MountEntry mount;
    mount.id = 30;
    mount.root = "/";
    mount.fsType = std::move(fsType);
    mount.target = std::move(target);
    mount.source = std::move(source);
    return mount;
}

BlockDevice deviceOf(std::string name, std::string disk, unsigned major) {
    BlockDevice device;
    device.name = std::move(name);
    device.disk = std::move(disk);
    device.major = major;
    return device;
}

TEST(LinuxDriveRules, DriveTypeOfMount) {
    struct Row {
        std::string what;
        MountEntry mount;
        std::optional<BlockDevice> device;
        VolumeIdentity identity;
        std::optional<std::uint32_t> type;
    };
    auto pseudo = [](MountEntry mount) {
        mount.pseudoType = true;
        return mount;
    };
    auto network = [](MountEntry mount) {
        mount.networkType = true;
        return mount;
    };
    auto with = [](BlockDevice device, auto change) {
        change(device);
        return device;
    };
    const BlockDevice sata = deviceOf("sda1", "sda", 8);
    VolumeIdentity esp;
    esp.partitionType = "C12A7328-F81F-11D2-BA4B-00A0C93EC93B";
    VolumeIdentity mbrEsp;
    mbrEsp.partitionType = "0xef";
    VolumeIdentity udevCdrom;
    udevCdrom.cdrom = true;
    const std::vector<Row> rows = {
        {"tmpfs /tmp", pseudo(mountOf("tmpfs", "/tmp")), {}, {}, kDriveRamdisk},
        {"tmpfs /var/tmp", pseudo(mountOf("tmpfs", "/var/tmp")), {}, {}, kDriveRamdisk},
        {"tmpfs /mnt/ram", pseudo(mountOf("tmpfs", "/mnt/ram")), {}, {}, kDriveRamdisk},
        {"ramfs /media/r", pseudo(mountOf("ramfs", "/media/r")), {}, {}, kDriveRamdisk},
        {"tmpfs /", pseudo(mountOf("tmpfs", "/")), {}, {}, kDriveRamdisk},
        {"tmpfs /run/user", pseudo(mountOf("tmpfs", "/run/user/1000")), {}, {}, std::nullopt},
        {"tmpfs /dev/shm", pseudo(mountOf("tmpfs", "/dev/shm")), {}, {}, std::nullopt},
        {"tmpfs /tmpdata", pseudo(mountOf("tmpfs", "/tmpdata")), {}, {}, std::nullopt},
        {"tmpfs /mntx", pseudo(mountOf("tmpfs", "/mntx")), {}, {}, std::nullopt},
        {"overlay /", pseudo(mountOf("overlay", "/")), {}, {}, kDriveFixed},
        {"overlay layer", pseudo(mountOf("overlay", "/var/lib/docker/overlay2/4b7e/merged")), {}, {}, std::nullopt},
        {"proc", pseudo(mountOf("proc", "/proc")), {}, {}, std::nullopt},
        {"cgroup2", pseudo(mountOf("cgroup2", "/sys/fs/cgroup")), {}, {}, std::nullopt},
        {"fuse.portal", mountOf("fuse.portal", "/run/user/1000/doc"), {}, {}, std::nullopt},
        {"fuse app image", mountOf("fuse.App.AppImage", "/tmp/.mount_App"), {}, {}, std::nullopt},
        {"fuseblk", mountOf("fuseblk", "/mnt/win"), sata, {}, kDriveFixed},
        {"nfs4", network(mountOf("nfs4", "/home/shared")), {}, {}, kDriveRemote},
        {"fuse.sshfs", network(mountOf("fuse.sshfs", "/mnt/b")), {}, {}, kDriveRemote},
        {"ceph", mountOf("ceph", "/mnt/ceph"), {}, {}, kDriveRemote},
        {"vboxsf", pseudo(mountOf("vboxsf", "/media/sf_share")), {}, {}, kDriveRemote},
        {"snap squashfs", mountOf("squashfs", "/snap/core22/864"), deviceOf("loop1", "loop1", 7), {}, std::nullopt},
        {"snap image",
         mountOf("ext4", "/mnt/x"),
         with(deviceOf("loop1", "loop1", 7), [](auto& d) { d.loopBackingFile = "/home/u/Downloads/app_1.snap"; }),
         {},
         std::nullopt},
        {"deleted snap",
         mountOf("squashfs", "/mnt/y"),
         with(deviceOf("loop2", "loop2", 7),
              [](auto& d) { d.loopBackingFile = "/var/lib/snapd/snaps/core_1.snap (deleted)"; }),
         {},
         std::nullopt},
        {"flatpak image",
         mountOf("ext4", "/mnt/z"),
         with(deviceOf("loop3", "loop3", 7),
              [](auto& d) { d.loopBackingFile = "/home/u/.local/share/flatpak/repo/x.img"; }),
         {},
         std::nullopt},
        {"disk image",
         mountOf("ext4", "/mnt/img"),
         with(deviceOf("loop4", "loop4", 7), [](auto& d) { d.loopBackingFile = "/home/u/disk.img"; }),
         {},
         kDriveFixed},
        {"disc image",
         mountOf("iso9660", "/mnt/iso"),
         with(deviceOf("loop5", "loop5", 7), [](auto& d) { d.loopBackingFile = "/home/u/debian.iso"; }),
         {},
         kDriveCdrom},
        {"DVD", mountOf("udf", "/media/dvd"), deviceOf("sr0", "sr0", 11), {}, kDriveCdrom},
        {"udev optical", mountOf("iso9660", "/media/cd"), deviceOf("sdc", "sdc", 8), udevCdrom, kDriveCdrom},
        {"floppy", mountOf("vfat", "/media/floppy"), deviceOf("fd0", "fd0", 2), {}, kDriveRemovable},
        {"zram", mountOf("ext4", "/mnt/zram"), deviceOf("zram1", "zram1", 252), {}, kDriveRamdisk},
        {"brd", mountOf("ext2", "/mnt/ram0"), deviceOf("ram0", "ram0", 1), {}, kDriveRamdisk},
        {"removable flag",
         mountOf("vfat", "/media/s"),
         with(sata, [](auto& d) { d.removable = true; }),
         {},
         kDriveRemovable},
        {"USB disk", mountOf("ext4", "/media/u"), with(sata, [](auto& d) { d.usb = true; }), {}, kDriveRemovable},
        {"SD card",
         mountOf("exfat", "/media/sd"),
         with(deviceOf("mmcblk0p1", "mmcblk0", 179), [](auto& d) { d.sdCard = true; }),
         {},
         kDriveRemovable},
        {"eMMC", mountOf("ext4", "/"), deviceOf("mmcblk0p2", "mmcblk0", 179), {}, kDriveFixed},
        {"SATA", mountOf("ext4", "/data"), sata, {}, kDriveFixed},
        {"EFI system partition", mountOf("vfat", "/boot/efi"), sata, esp, std::nullopt},
        {"EFI (MBR)", mountOf("vfat", "/efi"), sata, mbrEsp, std::nullopt},
        {"EFI as root", mountOf("vfat", "/"), sata, esp, kDriveFixed},
        {"zfs dataset", mountOf("zfs", "/tank", "tank/data"), {}, {}, kDriveFixed},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(driveTypeOf(row.mount, row.device, row.identity), row.type);
    }
}

Drive driveAt(std::string target, std::uint32_t type, bool floppy = false) {
    Drive drive;
    drive.type = type;
    drive.mount = mountOf("ext4", std::move(target));
    if (floppy)
        drive.device = deviceOf("fd0", "fd0", 2);
    return drive;
}

std::string lettersOf(const std::vector<Drive>& drives) {
    std::string text;
    for (const auto& drive : drives)
        text += std::string(1, drive.letter) + "=" + drive.mount.target + " ";
    return text;
}

TEST(LinuxDriveRules, AssignDriveLetters) {
    struct Row {
        std::string what;
        std::vector<Drive> drives;
        std::string letters;
    };
    const std::vector<Row> rows = {
        {"root is C, the rest in mount-point order",
         {driveAt("/tmp", kDriveRamdisk), driveAt("/media/b", kDriveRemovable), driveAt("/", kDriveFixed),
          driveAt("/media/a", kDriveCdrom)},
         "C=/ D=/media/a E=/media/b F=/tmp "},
        {"floppies take A and B, a third one D",
         {driveAt("/", kDriveFixed), driveAt("/f3", kDriveRemovable, true), driveAt("/f1", kDriveRemovable, true),
          driveAt("/f2", kDriveRemovable, true), driveAt("/data", kDriveFixed)},
         "A=/f1 B=/f2 C=/ D=/data E=/f3 "},
        {"network drives from Z down",
         {driveAt("/", kDriveFixed), driveAt("/net/b", kDriveRemote), driveAt("/net/a", kDriveRemote),
          driveAt("/data", kDriveFixed)},
         "C=/ D=/data Y=/net/b Z=/net/a "},
        {"no root: C stays free", {driveAt("/data", kDriveFixed)}, "D=/data "},
        {"network root is C", {driveAt("/", kDriveRemote), driveAt("/n", kDriveRemote)}, "C=/ Z=/n "},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(lettersOf(assignDriveLetters(row.drives)), row.letters);
    }
}

TEST(LinuxDriveRules, LettersRunOut) {
    // 21 local and 4 network drives besides the root: D..X go to the first 21 local ones, Z and Y to
    // two network ones; the last two network drives find no letter.
    std::vector<Drive> drives = {driveAt("/", kDriveFixed)};
    for (int i = 0; i < 21; ++i)
        drives.push_back(driveAt("/l" + std::string(1, static_cast<char>('a' + i)), kDriveFixed));
    for (int i = 0; i < 4; ++i)
        drives.push_back(driveAt("/n" + std::to_string(i), kDriveRemote));
    const auto lettered = assignDriveLetters(drives);
    ASSERT_EQ(lettered.size(), 24u);
    EXPECT_EQ(lettered[1].letter, 'D');
    EXPECT_EQ(lettered[1].mount.target, "/la");
    EXPECT_EQ(lettered[21].letter, 'X');
    EXPECT_EQ(lettered[21].mount.target, "/lu");
    EXPECT_EQ(lettered[22].letter, 'Y');
    EXPECT_EQ(lettered[22].mount.target, "/n1");
    EXPECT_EQ(lettered[23].letter, 'Z');
    EXPECT_EQ(lettered[23].mount.target, "/n0");

    // 30 local drives: D..Z for the first 23 in mount-point order, none for network drives.
    std::vector<Drive> many = {driveAt("/", kDriveFixed), driveAt("/net", kDriveRemote)};
    for (int i = 0; i < 30; ++i)
        many.push_back(driveAt("/d" + std::to_string(10 + i), kDriveFixed));
    const auto full = assignDriveLetters(many);
    ASSERT_EQ(full.size(), 24u);
    EXPECT_EQ(full.back().letter, 'Z');
    EXPECT_EQ(full.back().mount.target, "/d32");
    for (const auto& drive : full)
        EXPECT_NE(drive.type, kDriveRemote);
}

}  // namespace
}  // namespace zelvo::platform::drives
