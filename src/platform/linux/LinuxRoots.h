#pragma once
// Where the Linux backend reads the machine from. Every file it reads goes through one of these
// roots, so tests can point the backend at recorded fixture trees.

#include <string>

namespace zelvo::platform {

struct LinuxRoots {
    std::string proc = "/proc";
    std::string sys = "/sys";
    std::string etc = "/etc";
    std::string dev = "/dev";  // /dev/disk/by-* links
    std::string udevData = "/run/udev/data";
    // Prefix put before every mount point when a mounted file system is queried (statvfs, the
    // volume files); empty on the real machine.
    std::string mountPrefix;

    // A machine recorded below `base`: base/proc, base/sys, base/etc, base/dev, base/run/udev/data,
    // and its mounted file systems below base/root.
    static LinuxRoots below(const std::string& base) {
        return {base + "/proc", base + "/sys", base + "/etc", base + "/dev", base + "/run/udev/data", base + "/root"};
    }
};

}  // namespace zelvo::platform
