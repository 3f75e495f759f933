#include "platform/linux/LinuxDrives.h"

#include <sys/statvfs.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <filesystem>
#include <limits>
#include <utility>

#include "platform/linux/DetachedQuery.h"
#include "platform/linux/VolumeId.h"

namespace zelvo::platform {

using drives::Drive;

namespace {

constexpr std::uint32_t kMaxComponentLength = 255;  // NAME_MAX
// GetVolumeInformation flags.
constexpr std::uint32_t kCaseSensitiveSearch = 0x1;
constexpr std::uint32_t kCasePreservedNames = 0x2;
constexpr std::uint32_t kUnicodeOnDisk = 0x4;
constexpr std::uint32_t kReadOnlyVolume = 0x80000;

// "c:\", "C:", "c:/" → 'C'; nullopt for anything else.
std::optional<char> letterOfRoot(const std::string& root) {
    if (root.size() < 2 || root.size() > 3 || root[1] != ':')
        return std::nullopt;
    if (root.size() == 3 && root[2] != '\\' && root[2] != '/')
        return std::nullopt;
    const auto c = static_cast<unsigned char>(root[0]);
    if (c > 0x7f || !std::isalpha(c))
        return std::nullopt;
    return static_cast<char>(std::toupper(c));
}

// `path` lies on the mount at `target`.
bool holds(const std::string& target, const std::string& path) {
    if (target == "/")
        return !path.empty() && path[0] == '/';
    return path == target ||
           (path.size() > target.size() && path.compare(0, target.size(), target) == 0 && path[target.size()] == '/');
}

std::string withBackslashes(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::int64_t bytes(std::uint64_t count, std::uint64_t unit) {
    std::uint64_t product = 0;
    if (__builtin_mul_overflow(count, unit, &product) || product > std::numeric_limits<std::int64_t>::max())
        return std::numeric_limits<std::int64_t>::max();
    return static_cast<std::int64_t>(product);
}

std::uint32_t capped(std::uint64_t value) {
    return static_cast<std::uint32_t>(std::min<std::uint64_t>(value, std::numeric_limits<std::uint32_t>::max()));
}

bool isWindowsFileSystem(const std::string& name) {
    return name == "FAT" || name == "FAT32" || name == "exFAT" || name == "NTFS" || name == "CDFS" || name == "UDF";
}

}  // namespace

DriveSeams systemDriveSeams() {
    DriveSeams seams;
    seams.fileSystemFigures = [](const std::string& path) -> std::optional<FsFigures> {
        struct statvfs st {};
        int rc = 0;
        do {
            rc = ::statvfs(path.c_str(), &st);
        } while (rc != 0 && errno == EINTR);
        if (rc != 0)
            return std::nullopt;
        FsFigures figures;
        figures.fragmentSize = st.f_frsize != 0 ? st.f_frsize : st.f_bsize;
        figures.blocks = st.f_blocks;
        figures.freeBlocks = st.f_bfree;
        figures.availableBlocks = st.f_bavail;
        return figures;
    };
    seams.hangingQueries = HangingQueryPlace::ChildProcess;
    seams.currentDirectory = []() -> std::optional<std::string> {
        std::error_code ec;
        auto path = std::filesystem::current_path(ec);
        if (ec)
            return std::nullopt;
        return path.string();
    };
    return seams;
}

LinuxDrives::LinuxDrives(LinuxRoots roots) : LinuxDrives(std::move(roots), systemDriveSeams()) {}

LinuxDrives::LinuxDrives(LinuxRoots roots, DriveSeams seams)
    : roots_(std::move(roots)), seams_(std::move(seams)), mountWatch_(roots_.proc + "/self/mountinfo") {}

// Bit mask of the lettered drives, bit 0 = A:.
std::uint32_t LinuxDrives::getLogicalDrives() const {
    std::uint32_t mask = 0;
    for (const auto& drive : presentDrives(true))
        mask |= 1u << (drive.letter - 'A');
    return mask;
}

// DriveType of "c:\", "C:\" or "c:" (either case); "" is the current drive. kDriveNoRootDir
// for a letter without a drive or a text that names no drive root.
std::uint32_t LinuxDrives::getDriveType(const std::string& root) const {
    const auto drive = findDrive(root);
    return drive ? drive->type : kDriveNoRootDir;
}

// Always true: the byte counts are 64-bit.
bool LinuxDrives::hasDiskFreeSpaceEx() const {
    return true;
}

// statvfs figures in bytes: total f_blocks, free to the user f_bavail, free f_bfree, each
// times f_frsize. nullopt when the drive does not exist or cannot be read in time.
std::optional<DiskSpace> LinuxDrives::getDiskFreeSpaceEx(const std::string& root) const {
    const auto drive = findDrive(root);
    if (!drive)
        return std::nullopt;
    const auto figures = figuresOf(*drive);
    if (!figures)
        return std::nullopt;
    DiskSpace space;
    space.totalBytes = bytes(figures->blocks, figures->fragmentSize);
    space.freeBytesAvailable = bytes(figures->availableBlocks, figures->fragmentSize);
    space.totalFreeBytes = bytes(figures->freeBlocks, figures->fragmentSize);
    return space;
}

// The same figures as 512-byte sectors and clusters of f_frsize bytes; counts above 32 bits
// are capped at 0xFFFFFFFF.
std::optional<DiskClusters> LinuxDrives::getDiskFreeSpace(const std::string& root) const {
    const auto drive = findDrive(root);
    if (!drive)
        return std::nullopt;
    const auto figures = figuresOf(*drive);
    if (!figures || figures->fragmentSize == 0)
        return std::nullopt;
    DiskClusters clusters;
    const std::uint64_t unit = figures->fragmentSize;
    clusters.bytesPerSector = unit % 512 == 0 ? 512 : capped(unit);
    clusters.sectorsPerCluster = capped(unit / clusters.bytesPerSector);
    clusters.totalClusters = capped(figures->blocks);
    clusters.freeClusters = capped(figures->availableBlocks);
    return clusters;
}

// Label, serial and file-system name; nullopt when the drive does not exist.
std::optional<VolumeInformation> LinuxDrives::getVolumeInformation(const std::string& root) const {
    const auto drive = findDrive(root);
    if (!drive)
        return std::nullopt;
    const auto& mount = drive->mount;
    VolumeInformation info;
    info.maxComponentLength = kMaxComponentLength;
    drives::VolumeIdentity identity;
    // Labels come from files about the device, never from the mounted file system itself.
    if (drive->device)
        identity = drives::readVolumeIdentity(roots_, *drive->device, true);
    const std::string type =
        drives::isUserSpaceFileSystem(mount.fsType) && !identity.fsType.empty() ? identity.fsType : mount.fsType;
    std::optional<std::uint64_t> clusterCount;
    if ((type == "vfat" || type == "msdos") && identity.fsVersion.empty()) {
        if (const auto figures = figuresOf(*drive))
            clusterCount = figures->blocks;  // vfat counts its blocks in clusters
    }
    info.fileSystem = CodePageText(drives::windowsFileSystemName(type, identity.fsVersion, clusterCount));
    info.label = CodePageText(identity.label);
    info.serial =
        drives::serialFromUuid(type, identity.uuid).value_or(drives::stableVolumeId(mount.source, mount.target));
    info.flags = isWindowsFileSystem(info.fileSystem.bytes()) ? kCasePreservedNames | kUnicodeOnDisk
                                                              : kCaseSensitiveSearch | kCasePreservedNames;
    if (mount.readOnly)
        info.flags |= kReadOnlyVolume;
    return info;
}

// Windows form of a network drive's source for a local name "Z:"; nullopt for drives that are
// not network drives or whose source names no server.
std::optional<CodePageText> LinuxDrives::wnetGetConnection(const std::string& localName) const {
    if (!letterOfRoot(localName))
        return std::nullopt;
    const auto drive = findDrive(localName);
    if (!drive || drive->type != kDriveRemote)
        return std::nullopt;
    return codePageText(drives::remoteNameFromSource(drive->mount.source));
}

// The current directory as "E:\dir\sub": the letter of the drive holding it, then the path below
// that drive's mount point. A directory on no drive comes back without a letter ("\dir\sub",
// a lone "\" when the process has none), which the drive selector treats as "no current drive".
std::optional<CodePageText> LinuxDrives::getCurrentDirectory() const {
    std::string cwd;
    const auto drive = currentDrive(&cwd);
    if (!drive)
        return CodePageText(withBackslashes(cwd.empty() ? std::string("/") : cwd));
    const std::string& target = drive->mount.target;
    std::string below = target == "/" ? cwd.substr(1) : cwd.substr(std::min(cwd.size(), target.size() + 1));
    return CodePageText(std::string(1, drive->letter) + ":\\" + withBackslashes(below));
}

// Stores the critical-error mode and returns the previous one. Linux shows no critical-error
// dialogs, so the mode changes nothing else.
std::uint32_t LinuxDrives::setErrorMode(std::uint32_t mode) {
    return errorMode_.exchange(mode);
}

const std::vector<Drive>& LinuxDrives::presentDrives(bool rescan) const {
    // The watch is asked every time, so a change it reports is never left for a later call.
    if (mountWatch_.changed() || rescan)
        drives_ = drives::scanDrives(roots_);
    return drives_;
}

std::optional<Drive> LinuxDrives::findDrive(const std::string& root) const {
    if (root.empty())
        return currentDrive(nullptr);
    const auto letter = letterOfRoot(root);
    if (!letter)
        return std::nullopt;
    for (const auto& drive : presentDrives(false)) {
        if (drive.letter == *letter)
            return drive;
    }
    return std::nullopt;
}

// The drive whose mount point is the longest prefix of the current directory.
std::optional<Drive> LinuxDrives::currentDrive(std::string* cwd) const {
    const auto directory = seams_.currentDirectory ? seams_.currentDirectory() : std::nullopt;
    if (!directory)
        return std::nullopt;
    if (cwd)
        *cwd = *directory;
    const Drive* best = nullptr;
    for (const auto& drive : presentDrives(false)) {
        if (holds(drive.mount.target, *directory) && (!best || drive.mount.target.size() > best->mount.target.size()))
            best = &drive;
    }
    if (!best)
        return std::nullopt;
    return *best;
}

std::optional<FsFigures> LinuxDrives::figuresOf(const Drive& drive) const {
    const std::string path = roots_.mountPrefix + drive.mount.target;
    // A server that is gone, or a user-space driver stuck on a failing disk, holds statvfs for as
    // long as it likes: on its own mount and on every mount reached through it.
    if (drive.mayHang)
        return boundedFigures(path);
    if (!seams_.fileSystemFigures)
        return std::nullopt;
    return seams_.fileSystemFigures(path);
}

std::optional<FsFigures> LinuxDrives::boundedFigures(const std::string& path) const {
    if (!seams_.fileSystemFigures)
        return std::nullopt;
    {
        std::lock_guard pendingLock(pendingMutex_);
        const auto it = pending_.find(path);
        if (it != pending_.end()) {
            if (!it->second->wait(std::chrono::milliseconds(0)))
                return std::nullopt;  // the last query still hangs
            pending_.erase(it);
        }
    }
    auto query = DetachedQuery::start(seams_.hangingQueries, seams_.fileSystemFigures, path);
    if (!query)
        return std::nullopt;  // no thread or process to be had
    if (query->wait(seams_.queryTimeout))
        return query->answer();
    std::lock_guard pendingLock(pendingMutex_);
    pending_[path] = std::move(query);
    return std::nullopt;
}

}  // namespace zelvo::platform
