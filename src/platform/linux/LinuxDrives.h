#pragma once
// The drive calls of the Linux backend: the mounted file systems a user would call drives, with
// Windows drive letters, types, labels and serial numbers (the rules are in DriveLetters.h and
// VolumeId.h). The calls see the present drives, as the Windows calls do, without reading a table
// of thousands of mounts at every call: the mask query (the start of a drive-list rebuild) scans the
// mounts afresh, and the other calls reuse that scan until the kernel reports a change of the
// mount table.
//
// A network file system whose server is gone, or a user-space one (FUSE: ntfs-3g, exfat-fuse,
// sshfs) whose driver hangs, can block statvfs for minutes or for ever, and so can any mount below
// it, whose path walks through it. Queries of such drives therefore run in a child process
// (DetachedQuery) and are given up after DriveSeams::queryTimeout (1.5 s); while such a query
// still hangs, further queries of the same drive fail at once instead of stacking more blocked
// processes. Nothing waits for a hung query, so this object and the process end while it is stuck
// in the kernel. The drive-list rebuild never looks at such a mount point. File systems the kernel
// serves itself, reached through no such mount, are queried directly.

#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/Drives.h"
#include "platform/linux/DriveLetters.h"
#include "platform/linux/DriveSeams.h"
#include "platform/linux/LinuxRoots.h"

namespace zelvo::platform {

class DetachedQuery;

class LinuxDrives final : public Drives {
public:
    explicit LinuxDrives(LinuxRoots roots);
    // `seams` stand in for statvfs and getcwd (tests use recorded figures).
    LinuxDrives(LinuxRoots roots, DriveSeams seams);

    // Bit mask of the lettered drives, bit 0 = A:.
    std::uint32_t getLogicalDrives() const override;
    // DriveType of "c:\", "C:\" or "c:" (either case); "" is the current drive. kDriveNoRootDir
    // for a letter without a drive or a text that names no drive root.
    std::uint32_t getDriveType(const std::string& root) const override;
    // Always true: the byte counts are 64-bit.
    bool hasDiskFreeSpaceEx() const override;
    // statvfs figures in bytes: total f_blocks, free to the user f_bavail, free f_bfree, each
    // times f_frsize. nullopt when the drive does not exist or cannot be read in time.
    std::optional<DiskSpace> getDiskFreeSpaceEx(const std::string& root) const override;
    // The same figures as 512-byte sectors and clusters of f_frsize bytes; counts above 32 bits
    // are capped at 0xFFFFFFFF.
    std::optional<DiskClusters> getDiskFreeSpace(const std::string& root) const override;
    // Label, serial and file-system name; nullopt when the drive does not exist.
    std::optional<VolumeInformation> getVolumeInformation(const std::string& root) const override;
    // Windows form of a network drive's source for a local name "Z:"; nullopt for drives that are
    // not network drives or whose source names no server.
    std::optional<CodePageText> wnetGetConnection(const std::string& localName) const override;
    // The current directory as "E:\dir\sub": the letter of the drive holding it, then the path below
    // that drive's mount point. A directory on no drive comes back without a letter ("\dir\sub",
    // a lone "\" when the process has none), which the drive selector treats as "no current drive".
    std::optional<CodePageText> getCurrentDirectory() const override;
    // Stores the critical-error mode and returns the previous one. Linux shows no critical-error
    // dialogs, so the mode changes nothing else.
    std::uint32_t setErrorMode(std::uint32_t mode) override;

private:
    // The drives of the last scan; scanned again when `rescan` or when the mount table changed.
    const std::vector<drives::Drive>& presentDrives(bool rescan) const;
    std::optional<drives::Drive> findDrive(const std::string& root) const;
    std::optional<drives::Drive> currentDrive(std::string* cwd) const;
    std::optional<FsFigures> figuresOf(const drives::Drive& drive) const;
    std::optional<FsFigures> boundedFigures(const std::string& path) const;

    LinuxRoots roots_;
    DriveSeams seams_;
    // The queries change none of what they answer: the scan is a cache of the mount table, the
    // pending map the queries still running in the background.
    mutable drives::MountTableWatch mountWatch_;
    mutable std::vector<drives::Drive> drives_;
    std::atomic<std::uint32_t> errorMode_{0};
    mutable std::mutex pendingMutex_;
    mutable std::map<std::string, std::shared_ptr<DetachedQuery>> pending_;  // queries given up, still running
};

}  // namespace zelvo::platform
