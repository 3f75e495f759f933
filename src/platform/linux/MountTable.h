#pragma once
// The kernel's table of mounted file systems (mountinfo), read with libmount.

#include <string>
#include <vector>

namespace zelvo::platform::drives {

struct MountEntry {
    int id = 0;
    unsigned major = 0;  // device number of the mounted file system (0 for virtual ones)
    unsigned minor = 0;
    std::string root;    // directory of the file system that appears here; "/" for all of it
    std::string target;  // mount point
    std::string fsType;  // as the kernel names it: "ext4", "fuseblk", "fuse.sshfs", …
    std::string source;  // "/dev/sda1", "//srv/data", "srv:/export", "tmpfs", …
    bool readOnly = false;
    bool networkType = false;  // on libmount's list of network file systems
    bool pseudoType = false;   // on libmount's list of kernel pseudo file systems
};

// The entries of a mountinfo file in table order. Lines that are not in the kernel's format are
// skipped; an unreadable file gives an empty table.
std::vector<MountEntry> readMountTable(const std::string& mountinfoPath);

}  // namespace zelvo::platform::drives
