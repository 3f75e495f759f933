#pragma once
// The memory limit of the process's cgroup: which files of the cgroup memory controller describe
// the process's cgroup and its ancestors, and what their figures leave the process.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/linux/LinuxRoots.h"

namespace zelvo::platform {

// One level of the process's cgroup path, from the root down, as its memory controller reports it.
struct CgroupMemoryLevel {
    std::optional<std::uint64_t> limit;  // nullopt: no limit ("max", or no limit file)
    std::optional<std::uint64_t> usage;  // bytes charged, page cache included; nullopt: unreadable
    std::uint64_t inactiveFile = 0;      // reclaimable page cache within the usage
};

// What a memory limit along the cgroup path leaves the process: the tightest limit, and the least
// headroom below any limit (limit − usage + inactive page cache, the way `docker stats` counts).
// A level whose usage cannot be read sets no bound.
struct CgroupMemoryBound {
    std::uint64_t limit = 0;
    std::uint64_t available = 0;
};
std::optional<CgroupMemoryBound> cgroupMemoryBound(const std::vector<CgroupMemoryLevel>& levels);

// The process's cgroup paths from /proc/self/cgroup: the v1 memory hierarchy's ("4:memory:/x")
// and the unified v2 one's ("0::/x").
struct CgroupPaths {
    std::optional<std::string> v1Memory;
    std::optional<std::string> v2;
};
CgroupPaths parseProcCgroup(std::string_view text);

// A limit file's value: memory.max ("max" = none) or memory.limit_in_bytes (a number; v1 writes
// an unlimited cgroup as a value near 2^63). nullopt for no limit, a limit of 0 or malformed text.
std::optional<std::uint64_t> parseCgroupLimit(std::string_view text);

// A "key value" line's value from memory.stat; nullopt when absent or malformed.
std::optional<std::uint64_t> memoryStatField(std::string_view stat, std::string_view key);

// The directories of `path`'s cgroup and its ancestors below the controller's `mount`, from the
// mount itself down. Empty when a component is "." or "..": the kernel writes a cgroup outside the
// reader's cgroup namespace as "/../…", which no directory below the mount stands for.
std::vector<std::string> cgroupDirectories(const std::string& mount, std::string_view path);

// The controller's files for the process's cgroup and each of its ancestors that exists below the
// mount (a container without a cgroup namespace sees its own cgroup at the mount's root while
// /proc/self/cgroup names the host's path). Where they are does not change while the program
// runs, so they are found once, at construction; the figures in them are read at each query.
class CgroupMemory {
public:
    explicit CgroupMemory(const LinuxRoots& roots);

    // The bound the limits along the path set now; nullopt when no limit applies.
    std::optional<CgroupMemoryBound> bound() const;

private:
    std::vector<std::string> directories_;  // from the mount's root down to the process's cgroup
    const char* limitFile_ = nullptr;
    const char* usageFile_ = nullptr;
    const char* inactiveKey_ = nullptr;
};

}  // namespace zelvo::platform
