// The Windows backend's drive calls against the real drives, and the drive layout of the
// throwaway Wine prefix (support/WineMachine.h).
#include <gtest/gtest.h>

#include <string>

#include "platform/win32/Win32Platform.h"
#include "support/CodePageTextTesting.h"
#include "support/WineMachine.h"

using namespace zelvo::platform;

namespace {

std::string rootOf(int index) {
    return std::string{static_cast<char>('A' + index), ':', '\\'};
}

TEST(Win32Drives, LettersAndTypesAreTheSystems) {
    Win32Platform platform;
    const std::uint32_t mask = platform.drives().getLogicalDrives();
    EXPECT_EQ(mask, GetLogicalDrives());
    EXPECT_NE(mask, 0u);
    for (int i = 0; i < 26; ++i) {
        SCOPED_TRACE(rootOf(i));
        const std::uint32_t type = platform.drives().getDriveType(rootOf(i));
        EXPECT_EQ(type, GetDriveTypeA(rootOf(i).c_str()));
        if ((mask & (1u << i)) == 0) {
            EXPECT_EQ(type, kDriveNoRootDir);
        }
    }
    EXPECT_EQ(platform.drives().getDriveType(""), GetDriveTypeA(nullptr));
    EXPECT_EQ(platform.drives().getDriveType(std::string("C:\\\0", 4)), kDriveNoRootDir);
}

TEST(Win32Drives, ThePrefixsDriveLayout) {
    ZELVO_REQUIRE_WINE_FAMILY();
    Win32Platform platform;
    const struct {
        char letter;
        std::uint32_t type;
        const char* fileSystem;
    } drives[] = {
        {'A', kDriveRemovable, "NTFS"},
        {'C', kDriveFixed, "NTFS"},
        {'D', kDriveCdrom, "CDFS"},
        {'E', kDriveRemote, "NTFS"},
    };
    for (const auto& d : drives) {
        const std::string root{d.letter, ':', '\\'};
        SCOPED_TRACE(root);
        EXPECT_NE(platform.drives().getLogicalDrives() & (1u << (d.letter - 'A')), 0u);
        EXPECT_EQ(platform.drives().getDriveType(root), d.type);
        const auto volume = platform.drives().getVolumeInformation(root);
        ASSERT_TRUE(volume.has_value());
        EXPECT_EQ(volume->fileSystem, d.fileSystem);
    }
    const auto c = platform.drives().getVolumeInformation("C:\\");
    ASSERT_TRUE(c.has_value());
    EXPECT_EQ(c->label, zelvo::test::kWineDriveLabelC);
    EXPECT_EQ(c->serial, zelvo::test::kWineDriveSerialC);
    // Wine's network drive is a directory, not a connection: the provider cannot name it.
    EXPECT_EQ(platform.drives().wnetGetConnection("E:"), std::nullopt);
}

TEST(Win32Drives, VolumeOfDriveC) {
    Win32Platform platform;
    char label[MAX_PATH + 1] = {};
    char fileSystem[MAX_PATH + 1] = {};
    DWORD serial = 0;
    DWORD maxLength = 0;
    DWORD flags = 0;
    ASSERT_TRUE(
        GetVolumeInformationA("C:\\", label, sizeof label, &serial, &maxLength, &flags, fileSystem, sizeof fileSystem));
    const auto volume = platform.drives().getVolumeInformation("C:\\");
    ASSERT_TRUE(volume.has_value());
    EXPECT_EQ(volume->label, label);
    EXPECT_EQ(volume->serial, serial);
    EXPECT_EQ(volume->maxComponentLength, maxLength);
    EXPECT_EQ(volume->flags, flags);
    EXPECT_EQ(volume->fileSystem, fileSystem);
}

TEST(Win32Drives, AMissingDriveCannotBeRead) {
    Win32Platform platform;
    const std::uint32_t mask = platform.drives().getLogicalDrives();
    int missing = 25;
    while (missing >= 0 && (mask & (1u << missing)))
        --missing;
    ASSERT_GE(missing, 0);
    SCOPED_TRACE(rootOf(missing));
    EXPECT_EQ(platform.drives().getVolumeInformation(rootOf(missing)), std::nullopt);
    EXPECT_EQ(platform.drives().getDiskFreeSpaceEx(rootOf(missing)), std::nullopt);
    EXPECT_EQ(platform.drives().getDiskFreeSpace(rootOf(missing)), std::nullopt);
}

TEST(Win32Drives, SizesOfDriveCAndOfTheCurrentDrive) {
    Win32Platform platform;
    EXPECT_EQ(platform.drives().hasDiskFreeSpaceEx(),
              GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetDiskFreeSpaceExA") != nullptr);
    ASSERT_TRUE(platform.drives().hasDiskFreeSpaceEx());
    for (const char* root : {"C:\\", ""}) {
        SCOPED_TRACE(root);
        ULARGE_INTEGER available{};
        ULARGE_INTEGER total{};
        ULARGE_INTEGER totalFree{};
        ASSERT_TRUE(GetDiskFreeSpaceExA(*root ? root : nullptr, &available, &total, &totalFree));
        const auto space = platform.drives().getDiskFreeSpaceEx(root);
        ASSERT_TRUE(space.has_value());
        EXPECT_EQ(static_cast<ULONGLONG>(space->totalBytes), total.QuadPart);
        EXPECT_GT(space->totalBytes, 0);
        EXPECT_LE(space->freeBytesAvailable, space->totalBytes);

        const auto clusters = platform.drives().getDiskFreeSpace(root);
        ASSERT_TRUE(clusters.has_value());
        const std::uint64_t clusterBytes = std::uint64_t{clusters->sectorsPerCluster} * clusters->bytesPerSector;
        EXPECT_GT(clusterBytes, 0u);
        EXPECT_LE(clusters->freeClusters, clusters->totalClusters);
        // The 32-bit counts may be capped; they never exceed the drive.
        EXPECT_LE(clusterBytes * clusters->totalClusters, total.QuadPart);
    }
}

TEST(Win32Drives, ErrorModeRoundTripAndConnections) {
    Win32Platform platform;
    const std::uint32_t previous = platform.drives().setErrorMode(SEM_FAILCRITICALERRORS);
    EXPECT_EQ(platform.drives().setErrorMode(previous), static_cast<std::uint32_t>(SEM_FAILCRITICALERRORS));
    EXPECT_EQ(platform.drives().wnetGetConnection("C:"), std::nullopt);  // a local drive
    EXPECT_EQ(platform.drives().wnetGetConnection(std::string("C:\0", 3)), std::nullopt);
}

}  // namespace
