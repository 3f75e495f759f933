// The drive calls on the machine the tests run on; they only read.

#include <gtest/gtest.h>
#include <sys/statvfs.h>

#include <cstdint>
#include <string>

#include "platform/linux/LinuxDrives.h"
#include "support/CodePageTextTesting.h"

namespace zelvo::platform {
namespace {

TEST(LinuxDrivesRealMachine, RootFileSystemIsDriveC) {
    LinuxDrives drives{LinuxRoots{}};
    const std::uint32_t mask = drives.getLogicalDrives();
    ASSERT_TRUE(mask & (1u << 2)) << "mask " << mask;
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        if (!(mask & (1u << (letter - 'A'))))
            continue;
        SCOPED_TRACE(letter);
        const std::uint32_t type = drives.getDriveType(std::string(1, letter) + ":\\");
        EXPECT_GE(type, static_cast<std::uint32_t>(kDriveRemovable));
        EXPECT_LE(type, static_cast<std::uint32_t>(kDriveRamdisk));
    }

    struct statvfs root {};
    ASSERT_EQ(::statvfs("/", &root), 0);
    const std::uint64_t unit = root.f_frsize != 0 ? root.f_frsize : root.f_bsize;
    const auto space = drives.getDiskFreeSpaceEx("c:\\");
    ASSERT_TRUE(space);
    EXPECT_EQ(static_cast<std::uint64_t>(space->totalBytes), root.f_blocks * unit);
    EXPECT_LE(space->freeBytesAvailable, space->totalFreeBytes);
    EXPECT_LE(space->totalFreeBytes, space->totalBytes);

    const auto volume = drives.getVolumeInformation("C:\\");
    ASSERT_TRUE(volume);
    EXPECT_FALSE(volume->fileSystem.empty());

    // The current directory starts with the letter of a drive that exists.
    const std::string current = drives.getCurrentDirectory().value().bytes();
    ASSERT_GE(current.size(), 3u);
    ASSERT_GE(current[0], 'A');
    ASSERT_LE(current[0], 'Z');
    EXPECT_TRUE(mask & (1u << (current[0] - 'A')));
    EXPECT_EQ(current.substr(1, 2), ":\\");
}

}  // namespace
}  // namespace zelvo::platform
