#pragma once
// The kernel's view of the block device behind a mounted file system, from sysfs.

#include <optional>
#include <string>

namespace zelvo::platform::drives {

struct BlockDevice {
    std::string name;  // kernel name of the mounted device: "sdb1", "nvme0n1p2", "dm-0"
    std::string disk;  // kernel name of the whole disk it belongs to: "sdb"
    unsigned major = 0;
    unsigned minor = 0;
    bool removable = false;       // the disk's removable-media flag
    bool usb = false;             // the disk hangs off a USB bus
    bool sdCard = false;          // the disk is an SD card in an MMC slot
    std::string loopBackingFile;  // for a loop device: the file it shows

    bool isOptical() const;    // SCSI CD/DVD drive ("sr0", major 11)
    bool isFloppy() const;     // "fd0", major 2
    bool isRamBacked() const;  // compressed RAM disk ("zram0") or RAM disk ("ram0", major 1)
    bool isLoop() const;
};

// The block device of a mount: by its device number (<sys>/dev/block/M:m) or, for file systems that
// report an anonymous number (btrfs), by the "/dev/…" source. A device-mapper or md device with one
// underlying disk takes its removable/USB/SD flags from that disk, so an encrypted stick stays
// removable. nullopt when the mount has no block device.
std::optional<BlockDevice> findBlockDevice(const std::string& sysRoot, unsigned major, unsigned minor,
                                           const std::string& source);

}  // namespace zelvo::platform::drives
