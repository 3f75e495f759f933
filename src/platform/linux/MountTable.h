#pragma once
// The kernel's table of mounted file systems (/proc/self/mountinfo).

#include <sys/types.h>

#include <ctime>
#include <optional>
#include <string>
#include <string_view>
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

// A file system served by a user-space driver (FUSE): "fuse", "fuseblk", "fuse.sshfs" … Its
// driver may hang, so anything that touches it must be bounded in time.
bool isUserSpaceFileSystem(const std::string& fsType);

// One line of mountinfo in the kernel's format
// "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw,errors=continue";
// nullopt when the line is not in that format.
std::optional<MountEntry> parseMountInfoLine(std::string_view line);

// The entries of a mountinfo text in table order. A line that is not in the kernel's format is
// skipped, and only that line.
std::vector<MountEntry> parseMountTable(std::string_view text);

// The entries of a mountinfo file (parseMountTable); an unreadable file gives an empty table.
std::vector<MountEntry> readMountTable(const std::string& mountinfoPath);

// Tells whether a mount table may have changed since it was last asked. The kernel marks a change
// of /proc/self/mountinfo as a priority event on an open descriptor (poll); a recorded table (a
// regular file) counts as changed when its size, times or inode change.
class MountTableWatch {
public:
    explicit MountTableWatch(std::string mountinfoPath);
    ~MountTableWatch();
    MountTableWatch(const MountTableWatch&) = delete;
    MountTableWatch& operator=(const MountTableWatch&) = delete;

    // True at the first call, when the table cannot be watched, and after any change since the
    // previous call.
    bool changed();

private:
    struct FileState {
        dev_t device = 0;
        ino_t inode = 0;
        off_t size = 0;
        timespec modified{};
        timespec statusChanged{};
    };

    std::string path_;
    int fd_ = -1;
    std::optional<FileState> last_;
};

}  // namespace zelvo::platform::drives
