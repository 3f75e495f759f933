#pragma once
// Which mounted file systems are drives, of which type, and under which letter.
//
// A drive is what a user would call one: the root file system, file systems on real block devices
// (disks, partitions, sticks, cards, optical media, disk images), network shares, and RAM disks
// mounted where users keep files (/tmp, /var/tmp, below /mnt and /media). Not drives: the kernel's
// pseudo file systems, RAM-backed mounts elsewhere (/run, /dev, /dev/shm, /sys …), user-space file
// systems without a disk or a server (portals, app images), overlay layers other than a
// container's root, packaged applications (snap squashfs images, loop devices backed by snap or
// flatpak files), the EFI system partition (Windows gives it no letter either), bind mounts of
// single files, mounts hidden by a later mount on the same point, and further mounts of a file
// system already listed (btrfs subvolumes, bind mounts of directories).
//
// Letters: C: is the root file system, so the disk page opens on the system disk. A: and B: go to
// floppy drives (/dev/fd*). The other local drives take D:, E:, … in mount-point order; network
// drives take Z:, Y:, … in mount-point order. Local drives are served first; what finds no letter
// left is not shown.
//
// Types: network file systems are remote; tmpfs, ramfs and zram/RAM block devices are RAM disks;
// optical drives (sr*, major 11, udev ID_CDROM) and mounted CD/DVD images (iso9660/udf on a loop
// device) are CD-ROM; floppies, disks with the removable flag, USB-attached disks and SD cards are
// removable (a stick or card is unplugged however its firmware sets the flag); the rest is fixed.

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/linux/BlockDevices.h"
#include "platform/linux/LinuxRoots.h"
#include "platform/linux/MountTable.h"
#include "platform/linux/VolumeId.h"

namespace zelvo::platform::drives {

struct Drive {
    char letter = 0;         // 'A' … 'Z'
    std::uint32_t type = 0;  // DriveType
    MountEntry mount;
    std::optional<BlockDevice> device;
    // Reaching the mount point may hang: the drive itself, or a mount its mount point lies below,
    // is served by a network or user-space file system (a tmpfs under a hung sshfs tree).
    bool mayHang = false;
};

// Network file systems: libmount's list, plus shares it does not know (ceph, cloud and WebDAV
// mounts, virtual-machine shared folders, which Windows guests also show as network drives).
bool isNetworkMount(const MountEntry& mount);

// The drive type of a mount; nullopt when the mount is no drive. `identity` is what udev knows of
// its device (empty without one).
std::optional<std::uint32_t> driveTypeOf(const MountEntry& mount, const std::optional<BlockDevice>& device,
                                         const VolumeIdentity& identity);

// Gives letters to drives (types set, each file system once); returns those that got one, in letter
// order.
std::vector<Drive> assignDriveLetters(std::vector<Drive> drives);

// The drives of the machine under `roots`, in letter order. A mount point that may hang is never
// looked at: what is known of such a drive comes from the mount table and the device's files.
std::vector<Drive> scanDrives(const LinuxRoots& roots);

}  // namespace zelvo::platform::drives
