// Reading the kernel's mount table: the fields the drive rules use, and damaged tables that must
// not crash or produce mounts that do not exist.

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/linux/LinuxDrives.h"
#include "platform/linux/MountTable.h"
#include "support/CodePageTextTesting.h"

namespace zelvo::platform {
namespace {

using drives::readMountTable;

// A string literal with every byte, embedded NULs included.
template <std::size_t N>
std::string bytes(const char (&text)[N]) {
    return std::string(text, N - 1);
}

class MountTableFile : public ::testing::Test {
protected:
    // Writes `text` as <tmp>/proc/self/mountinfo and returns its path.
    std::string write(const std::string& text) {
        std::filesystem::create_directories(root() + "/proc/self");
        const std::string path = root() + "/proc/self/mountinfo";
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    std::string root() const { return dir_.path().toStdString(); }

    QTemporaryDir dir_;
};

TEST_F(MountTableFile, FieldsOfEachMount) {
    const auto table =
        readMountTable(write("27 1 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw,discard\n"
                             "48 27 179:1 / /media/alice/SD\\040CARD rw,nosuid - exfat /dev/mmcblk0p1 rw,uid=1000\n"
                             "49 27 8:17 / /media/disk rw,relatime - ext4 /dev/sdb1 ro,relatime\n"
                             "50 27 11:0 / /media/cd ro,nosuid - iso9660 /dev/sr0 ro\n"
                             "60 27 0:52 / /home/shared rw - nfs4 nas:/export/home rw,vers=4.2\n"
                             "61 27 0:21 / /proc rw,nosuid - proc proc rw\n"
                             "62 27 254:1 /srv/appdata /data rw - ext4 /dev/vda1 rw\n"));
    ASSERT_EQ(table.size(), 7u);
    EXPECT_EQ(table[0].id, 27);
    EXPECT_EQ(table[0].major, 254u);
    EXPECT_EQ(table[0].minor, 0u);
    EXPECT_EQ(table[0].target, "/");
    EXPECT_EQ(table[0].fsType, "ext4");
    EXPECT_EQ(table[0].source, "/dev/vda");
    EXPECT_FALSE(table[0].readOnly);
    EXPECT_EQ(table[1].target, "/media/alice/SD CARD");  // octal escape undone
    EXPECT_TRUE(table[2].readOnly);                      // read-only file system
    EXPECT_TRUE(table[3].readOnly);                      // read-only mount
    EXPECT_TRUE(table[4].networkType);
    EXPECT_FALSE(table[4].pseudoType);
    EXPECT_TRUE(table[5].pseudoType);
    EXPECT_FALSE(table[5].networkType);
    EXPECT_EQ(table[6].root, "/srv/appdata");
}

TEST_F(MountTableFile, DamagedTablesGiveOnlyRealMounts) {
    struct Case {
        std::string what;
        std::string text;
        std::vector<std::string> targets;  // of the mounts read
    };
    const std::string good1 = "27 1 254:0 / / rw - ext4 /dev/vda rw\n";
    const std::string good2 = "29 27 8:1 / /media/stick rw - vfat /dev/sda1 rw\n";
    const std::vector<Case> cases = {
        {"garbage between", good1 + "garbage line here\n" + good2, {"/", "/media/stick"}},
        {"missing separator", good1 + "28 27 0:25 / /mnt/x rw\n" + good2, {"/", "/media/stick"}},
        {"bad device number", good1 + "30 27 zz:1 / /bad rw - ext4 /dev/sdz rw\n", {"/"}},
        {"cut short", good1 + "31 27 8:3\n", {"/"}},
        {"no source", good1 + "32 27 8:2 / /media/ok rw - ext4\n", {"/"}},
        {"empty lines", "\n\n" + good1 + "\n", {"/"}},
        {"NUL byte", good1 + bytes("33 27 8:4 / /a\0b rw - ext4 /dev/sdc1 rw\n"), {"/"}},
        {"long line",
         good1 + "34 27 8:5 / /" + std::string(100000, 'x') + " rw - ext4 /dev/sdd1 rw\n",
         {"/", "/" + std::string(100000, 'x')}},
        {"binary", bytes("\x01\xff\xfe\x00\x10 - - -\n\xc3\x28"), {}},
        // A damaged first line costs that line only, not the whole table.
        {"damaged first line", "garbage first\n" + good1 + good2, {"/", "/media/stick"}},
        // Damaged lines that still name "/" must not hide the root file system.
        {"options without rw or ro", good1 + "30 27 0:26 / / nosuid - tmpfs tmpfs rw\n" + good2, {"/", "/media/stick"}},
        {"options where a tag belongs",
         good1 + "30 27 0:26 / / rw,nosuid rw - tmpfs tmpfs rw\n" + good2,
         {"/", "/media/stick"}},
        {"raw tab", good1 + "30 27 0:26 / /\t rw - tmpfs tmpfs rw\n" + good2, {"/", "/media/stick"}},
        {"field after the super options",
         good1 + "30 27 0:26 / / rw - tmpfs tmpfs rw garbage\n" + good2,
         {"/", "/media/stick"}},
        {"second separator", good1 + "30 27 0:26 / / rw - tmpfs tmpfs rw - x y z\n" + good2, {"/", "/media/stick"}},
        {"empty source", good1 + "30 27 0:26 / / rw - tmpfs  rw\n" + good2, {"/", "/media/stick"}},
        {"bad minor number", good1 + "30 27 0:26x / / rw - tmpfs tmpfs rw\n" + good2, {"/", "/media/stick"}},
        {"empty", "", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<std::string> targets;
        for (const auto& entry : readMountTable(write(c.text)))
            targets.push_back(entry.target);
        EXPECT_EQ(targets, c.targets);
    }
}

TEST_F(MountTableFile, DamagedFirstLineInventsNoMounts) {
    // With a damaged first line libmount takes the table for an fstab; none of its guesses may
    // come out as mounts.
    const auto table =
        readMountTable(write("garbage first\n27 1 254:0 / / rw - ext4 /dev/vda rw\n"
                             "32 27 8:3\n29 27 8:1 / /media/stick rw - vfat /dev/sda1 rw\n"));
    for (const auto& entry : table) {
        SCOPED_TRACE(entry.target);
        EXPECT_GT(entry.id, 0);
        EXPECT_EQ(entry.target.substr(0, 1), "/");
    }
}

TEST_F(MountTableFile, DriveCallsSeeMountsChangedAfterTheListWasRead) {
    write("27 1 254:0 / / rw - ext4 /dev/vda rw\n29 27 8:1 / /media/stick rw - vfat /dev/sda1 rw\n");
    DriveSeams seams;
    seams.currentDirectory = [] { return std::optional<std::string>("/media/card/photos"); };
    LinuxDrives drives(LinuxRoots::below(root()), seams);
    EXPECT_EQ(drives.getLogicalDrives(), (1u << 2) | (1u << 3));
    EXPECT_EQ(drives.getDriveType("e:\\"), kDriveNoRootDir);
    EXPECT_EQ(drives.getCurrentDirectory(), "C:\\media\\card\\photos");

    // A card is mounted; the calls that follow, without a new mask query, see it.
    write(
        "27 1 254:0 / / rw - ext4 /dev/vda rw\n29 27 8:1 / /media/stick rw - vfat /dev/sda1 rw\n"
        "31 27 179:1 / /media/card rw - exfat /dev/mmcblk0p1 rw\n");
    EXPECT_EQ(drives.getDriveType("d:\\"), kDriveFixed);
    EXPECT_TRUE(drives.getVolumeInformation("e:\\"));
    EXPECT_EQ(drives.getCurrentDirectory(), "D:\\photos");
}

TEST_F(MountTableFile, MissingTableGivesNoDrives) {
    EXPECT_TRUE(readMountTable(root() + "/proc/self/mountinfo").empty());
    DriveSeams seams;
    seams.currentDirectory = [] { return std::optional<std::string>("/home/alice"); };
    LinuxDrives drives(LinuxRoots::below(root()), seams);
    EXPECT_EQ(drives.getLogicalDrives(), 0u);
    EXPECT_EQ(drives.getDriveType(""), kDriveNoRootDir);
    EXPECT_FALSE(drives.getDiskFreeSpaceEx(""));
    // No drive holds the directory: no letter, which the drive selector reads as none.
    EXPECT_EQ(drives.getCurrentDirectory(), "\\home\\alice");
}

TEST_F(MountTableFile, GarbageTableThroughTheDriveCalls) {
    write("\xff\xfe 1 2 3 - - -\n27 1 254:0 / / rw - ext4\n- - - - - - -\n");
    LinuxDrives drives(LinuxRoots::below(root()), DriveSeams{});
    EXPECT_EQ(drives.getLogicalDrives(), 0u);
    EXPECT_FALSE(drives.getVolumeInformation("c:\\"));
    EXPECT_EQ(drives.getCurrentDirectory(), "\\");  // no current directory seam: none known
}

}  // namespace
}  // namespace zelvo::platform
