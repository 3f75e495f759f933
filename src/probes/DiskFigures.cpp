#include "probes/DiskFigures.h"

#include <limits>
#include <optional>

#include "format/IntegerText.h"
#include "platform/ErrorModeScope.h"
#include "probes/UsagePercentage.h"

namespace zelvo {

namespace {

std::string RootOfDriveNumber(int driveNumber) {
    if (driveNumber < 1 || driveNumber > 26)
        return {};  // the current drive
    return std::string{static_cast<char>('A' + driveNumber - 1), ':', '\\'};
}

// Cluster counts times cluster size; nullopt when the product does not fit a signed 64-bit count
// (no real drive, but the counts come from outside).
std::optional<std::int64_t> ClusterBytes(std::uint64_t sectorsPerCluster, std::uint64_t bytesPerSector,
                                         std::uint64_t clusters) {
    std::int64_t clusterSize = 0;
    std::int64_t bytes = 0;
    if (__builtin_mul_overflow(sectorsPerCluster, bytesPerSector, &clusterSize) ||
        __builtin_mul_overflow(clusterSize, clusters, &bytes))
        return std::nullopt;
    return bytes;
}

}  // namespace

int DriveNumberFromLetter(char letter, int current) {
    if (letter >= 'a' && letter <= 'z')
        return letter - 'a' + 1;
    return current;
}

VolumeTexts ReadVolumeTexts(platform::Drives& drives, const platform::TextLocale& text, char letter) {
    // With no drive chosen the root would be an empty path; that names no volume.
    if (letter == '\0')
        return {};
    // A drive without a medium is to fail the query, not to put a system prompt before the user.
    const platform::ErrorModeScope errorMode(drives, platform::kSemFailCriticalErrors);
    const auto volume = drives.getVolumeInformation(std::string{letter, ':', '\\'});
    if (!volume)
        return {};
    return {HexText(volume->serial, 8), text.toUtf8(volume->fileSystem), true};
}

DriveBytes QueryDriveBytes(platform::Drives& drives, int driveNumber) {
    const std::string root = RootOfDriveNumber(driveNumber);
    const platform::ErrorModeScope errorMode(drives, platform::kSemFailCriticalErrors);
    if (drives.hasDiskFreeSpaceEx()) {
        const auto space = drives.getDiskFreeSpaceEx(root);
        if (!space)
            return {};
        return {space->totalBytes, space->freeBytesAvailable};
    }
    const auto clusters = drives.getDiskFreeSpace(root);
    if (!clusters)
        return {};
    const auto size = ClusterBytes(clusters->sectorsPerCluster, clusters->bytesPerSector, clusters->totalClusters);
    const auto free = ClusterBytes(clusters->sectorsPerCluster, clusters->bytesPerSector, clusters->freeClusters);
    if (!size || !free)
        return {};
    return {*size, *free};
}

UsageFigures ComputeDiskFigures(DriveBytes bytes) {
    // Two real byte counts never overflow here; counts from a faulty source are held at the ends.
    std::int64_t usedBytes = 0;
    if (__builtin_sub_overflow(bytes.size, bytes.free, &usedBytes))
        usedBytes =
            bytes.free < 0 ? std::numeric_limits<std::int64_t>::max() : std::numeric_limits<std::int64_t>::min();

    // A drive of 0 bytes fails here, before any figure or text is made.
    const int percentage = UsagePercentage(usedBytes, bytes.size);
    return MakeUsageFigures(static_cast<double>(bytes.size), static_cast<double>(usedBytes),
                            static_cast<double>(bytes.free), percentage, SizeUnits::MegabytesOrGigabytes);
}

UsageFigures ReadDiskFigures(platform::Drives& drives, int driveNumber) {
    return ComputeDiskFigures(QueryDriveBytes(drives, driveNumber));
}

}  // namespace zelvo
