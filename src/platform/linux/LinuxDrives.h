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

    ZELVO_DRIVES_CALLS;

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
