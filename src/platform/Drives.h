#pragma once
// Drives and volumes, with the Windows calls' meaning: drive letters, root paths such as "c:\" (ASCII),
// sizes in bytes and in clusters, volume labels and serials, network connections.

#include <cstdint>
#include <optional>
#include <string>

#include "platform/CodePageText.h"

namespace zelvo::platform {

struct DiskSpace {
    std::int64_t totalBytes = 0;
    std::int64_t freeBytesAvailable = 0;  // to the calling user (quotas, reserved blocks)
    std::int64_t totalFreeBytes = 0;
};

struct DiskClusters {
    std::uint32_t sectorsPerCluster = 0;
    std::uint32_t bytesPerSector = 0;
    std::uint32_t freeClusters = 0;
    std::uint32_t totalClusters = 0;
};

struct VolumeInformation {
    CodePageText label;
    std::uint32_t serial = 0;
    std::uint32_t maxComponentLength = 0;
    std::uint32_t flags = 0;
    CodePageText fileSystem;
};

// Drive types of the drive-type query.
enum DriveType : std::uint32_t {
    kDriveUnknown = 0,
    kDriveNoRootDir = 1,
    kDriveRemovable = 2,
    kDriveFixed = 3,
    kDriveRemote = 4,
    kDriveCdrom = 5,
    kDriveRamdisk = 6,
};

class Drives {
public:
    virtual ~Drives() = default;

    // Bit mask of existing drive letters, bit 0 = A:; 0 when there is none.
    virtual std::uint32_t getLogicalDrives() const = 0;
    // Drive type of a root path such as "c:\"; kDriveNoRootDir for a letter that does not exist.
    virtual std::uint32_t getDriveType(const std::string& root) const = 0;
    // Whether the 64-bit free-space query exists on this system.
    virtual bool hasDiskFreeSpaceEx() const = 0;
    // Size and free space in bytes of the drive whose root is `root`; the current drive when
    // `root` is empty. nullopt when the drive cannot be read.
    virtual std::optional<DiskSpace> getDiskFreeSpaceEx(const std::string& root) const = 0;
    // The same in sectors and clusters (counts capped at 32 bits); nullopt when it cannot be read.
    virtual std::optional<DiskClusters> getDiskFreeSpace(const std::string& root) const = 0;
    // Volume label, serial and file-system name of a root path; nullopt when it cannot be read.
    virtual std::optional<VolumeInformation> getVolumeInformation(const std::string& root) const = 0;
    // Sets the critical-error mode and returns the previous one; it cannot fail.
    virtual std::uint32_t setErrorMode(std::uint32_t mode) = 0;
    // Remote name connected to a local device such as "Z:"; nullopt when it is not a network
    // drive or the connection cannot be named.
    virtual std::optional<CodePageText> wnetGetConnection(const std::string& localName) const = 0;
    // The process's current directory, e.g. "C:\WORK" or "\\server\share\dir"; nullopt when it
    // cannot be read, which the drive selector reads as "no current drive".
    virtual std::optional<CodePageText> getCurrentDirectory() const = 0;
};

}  // namespace zelvo::platform

// The drive calls as a backend's drives declare them, written once here.
#define ZELVO_DRIVES_CALLS                                                                         \
    std::uint32_t getLogicalDrives() const override;                                               \
    std::uint32_t getDriveType(const std::string& root) const override;                            \
    bool hasDiskFreeSpaceEx() const override;                                                      \
    std::optional<DiskSpace> getDiskFreeSpaceEx(const std::string& root) const override;           \
    std::optional<DiskClusters> getDiskFreeSpace(const std::string& root) const override;          \
    std::optional<VolumeInformation> getVolumeInformation(const std::string& root) const override; \
    std::uint32_t setErrorMode(std::uint32_t mode) override;                                       \
    std::optional<CodePageText> wnetGetConnection(const std::string& localName) const override;    \
    std::optional<CodePageText> getCurrentDirectory() const override
