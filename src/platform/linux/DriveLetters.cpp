#include "platform/linux/DriveLetters.h"

#include <algorithm>
#include <array>
#include <filesystem>
#include <set>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace zelvo::platform::drives {

namespace fs = std::filesystem;

namespace {

bool startsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool endsWith(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() && text.substr(text.size() - suffix.size()) == suffix;
}

// `path` is `directory` itself or lies below it.
bool isAtOrBelow(std::string_view path, std::string_view directory) {
    return path == directory ||
           (startsWith(path, directory) && path.size() > directory.size() && path[directory.size()] == '/');
}

bool isRamType(const std::string& type) {
    return type == "tmpfs" || type == "ramfs" || type == "rootfs";
}

// Where users keep files in RAM: a RAM disk anywhere else is the system's own scratch space.
bool isUserRamDiskPlace(const std::string& target) {
    return target == "/" || target == "/tmp" || target == "/var/tmp" || isAtOrBelow(target, "/mnt") ||
           isAtOrBelow(target, "/media");
}

bool isPackagedApplication(const MountEntry& mount, const std::optional<BlockDevice>& device) {
    if (mount.fsType == "squashfs" &&
        (isAtOrBelow(mount.target, "/snap") || isAtOrBelow(mount.target, "/var/lib/snapd")))
        return true;
    if (!device || !device->isLoop())
        return false;
    std::string_view file = device->loopBackingFile;
    if (endsWith(file, " (deleted)"))
        file.remove_suffix(10);
    return isAtOrBelow(file, "/snap") || isAtOrBelow(file, "/var/lib/snapd") || isAtOrBelow(file, "/var/lib/flatpak") ||
           file.find("/.local/share/flatpak/") != std::string_view::npos || endsWith(file, ".snap");
}

std::uint32_t deviceDriveType(const MountEntry& mount, const BlockDevice& device, const VolumeIdentity& identity) {
    if (device.isOptical() || identity.cdrom)
        return kDriveCdrom;
    // Windows shows a mounted disc image as a DVD drive.
    if (device.isLoop() && (mount.fsType == "iso9660" || mount.fsType == "udf"))
        return kDriveCdrom;
    if (device.isRamBacked())
        return kDriveRamdisk;
    if (device.isFloppy() || device.removable || device.usb || device.sdCard)
        return kDriveRemovable;
    return kDriveFixed;
}

// The mounts no later mount on the same point hides.
std::vector<MountEntry> visibleMounts(std::vector<MountEntry> table) {
    std::vector<MountEntry> visible;
    std::set<std::string> covered;
    for (auto it = table.rbegin(); it != table.rend(); ++it) {
        if (covered.insert(it->target).second)
            visible.push_back(std::move(*it));
    }
    std::reverse(visible.begin(), visible.end());
    return visible;
}

// A bind mount of a single file (a container's /etc/hosts) has a file as its mount point.
bool isFileBindMount(const MountEntry& mount, const std::string& mountPrefix) {
    if (mount.root == "/")
        return false;
    std::error_code ec;
    const auto status = fs::status(mountPrefix + mount.target, ec);
    return !ec && status.type() != fs::file_type::directory;
}

// Keeps one mount per file system: a mount of the whole file system before a mount of a
// directory in it, the root before other mount points, then mount-point order.
std::vector<Drive> oncePerFileSystem(std::vector<Drive> drives) {
    auto rank = [](const Drive& drive) {
        return std::make_tuple(drive.mount.root != "/", drive.mount.target != "/", drive.mount.target);
    };
    std::stable_sort(drives.begin(), drives.end(), [&](const Drive& a, const Drive& b) { return rank(a) < rank(b); });
    std::vector<Drive> kept;
    std::set<std::pair<unsigned, unsigned>> seen;
    for (auto& drive : drives) {
        if (drive.mount.major == 0 && drive.mount.minor == 0) {  // no device number to compare
            kept.push_back(std::move(drive));
            continue;
        }
        if (seen.insert({drive.mount.major, drive.mount.minor}).second)
            kept.push_back(std::move(drive));
    }
    return kept;
}

// The mount points of the mounts whose file system may hang: a network share whose server is gone,
// a user-space driver that stops answering.
std::vector<std::string> mayHangTargets(const std::vector<MountEntry>& visible) {
    std::vector<std::string> targets;
    for (const auto& mount : visible)
        if (isNetworkMount(mount) || isUserSpaceFileSystem(mount.fsType))
            targets.push_back(mount.target);
    return targets;
}

// A walk to `target` passes through every mount at or above it.
bool walksThroughAny(const std::string& target, const std::vector<std::string>& mountPoints) {
    return std::any_of(mountPoints.begin(), mountPoints.end(),
                       [&target](const std::string& point) { return point == "/" || isAtOrBelow(target, point); });
}

}  // namespace

bool isNetworkMount(const MountEntry& mount) {
    static constexpr std::array<std::string_view, 10> kMoreShares = {
        "ceph",  "fuse.ceph",   "fuse.glusterfs", "fuse.s3fs", "fuse.rclone",
        "davfs", "fuse.davfs2", "virtiofs",       "vboxsf",    "fuse.vmhgfs-fuse",
    };
    return mount.networkType || std::find(kMoreShares.begin(), kMoreShares.end(), mount.fsType) != kMoreShares.end();
}

std::optional<std::uint32_t> driveTypeOf(const MountEntry& mount, const std::optional<BlockDevice>& device,
                                         const VolumeIdentity& identity) {
    const bool isRoot = mount.target == "/";
    if (isNetworkMount(mount))
        return kDriveRemote;
    if (isRamType(mount.fsType)) {
        if (isUserRamDiskPlace(mount.target))
            return kDriveRamdisk;
        return std::nullopt;
    }
    if (mount.fsType == "overlay")  // a container's root; elsewhere a layer of one
        return isRoot ? std::optional<std::uint32_t>(kDriveFixed) : std::nullopt;
    if (mount.pseudoType && !isRoot)
        return std::nullopt;
    if (isUserSpaceFileSystem(mount.fsType) && !device && !isRoot)
        return std::nullopt;
    if (isPackagedApplication(mount, device))
        return std::nullopt;
    if (!isRoot && isEfiSystemPartition(identity))
        return std::nullopt;
    if (!device)
        return kDriveFixed;  // zfs datasets and other volumes without one block device
    return deviceDriveType(mount, *device, identity);
}

std::vector<Drive> assignDriveLetters(std::vector<Drive> drives) {
    std::stable_sort(drives.begin(), drives.end(),
                     [](const Drive& a, const Drive& b) { return a.mount.target < b.mount.target; });
    std::vector<Drive> lettered;
    std::vector<Drive*> local;
    std::vector<Drive*> network;
    char nextFloppy = 'A';
    for (auto& drive : drives) {
        if (drive.mount.target == "/") {
            drive.letter = 'C';
        } else if (drive.device && drive.device->isFloppy() && nextFloppy <= 'B') {
            drive.letter = nextFloppy++;
        } else if (drive.type == kDriveRemote) {
            network.push_back(&drive);
        } else {
            local.push_back(&drive);
        }
    }
    char nextLocal = 'D';
    for (Drive* drive : local) {
        if (nextLocal > 'Z')
            break;
        drive->letter = nextLocal++;
    }
    char nextNetwork = 'Z';
    for (Drive* drive : network) {
        if (nextNetwork < nextLocal)
            break;
        drive->letter = nextNetwork--;
    }
    for (auto& drive : drives) {
        if (drive.letter != 0)
            lettered.push_back(std::move(drive));
    }
    std::sort(lettered.begin(), lettered.end(), [](const Drive& a, const Drive& b) { return a.letter < b.letter; });
    return lettered;
}

std::vector<Drive> scanDrives(const LinuxRoots& roots) {
    std::vector<Drive> candidates;
    auto visible = visibleMounts(readMountTable(roots.proc + "/self/mountinfo"));
    const auto slowMountPoints = mayHangTargets(visible);
    for (auto& mount : visible) {
        const bool network = isNetworkMount(mount);
        std::optional<BlockDevice> device;
        VolumeIdentity identity;
        if (!network) {
            device = findBlockDevice(roots.sys, mount.major, mount.minor, mount.source);
            if (device)
                identity = readVolumeIdentity(roots, *device, false);
        }
        const auto type = driveTypeOf(mount, device, identity);
        if (!type)
            continue;
        // Looking at a mount point that may hang would freeze the drive list with it; such a bind
        // mount is taken for a directory's.
        const bool mayHang = walksThroughAny(mount.target, slowMountPoints);
        if (!mayHang && isFileBindMount(mount, roots.mountPrefix))
            continue;
        Drive drive;
        drive.mayHang = mayHang;
        drive.type = *type;
        drive.mount = std::move(mount);
        drive.device = std::move(device);
        candidates.push_back(std::move(drive));
    }
    return assignDriveLetters(oncePerFileSystem(std::move(candidates)));
}

}  // namespace zelvo::platform::drives
