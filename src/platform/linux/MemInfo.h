#pragma once
// Memory status from /proc/meminfo and the process's cgroup memory limit.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Platform.h"

namespace zelvo::platform {

// Fields of /proc/meminfo, in bytes; a field the file lacks (or writes malformed) is nullopt.
struct MemInfo {
    std::optional<std::uint64_t> memTotal;
    std::optional<std::uint64_t> memFree;
    std::optional<std::uint64_t> memAvailable;  // since Linux 3.14
    std::optional<std::uint64_t> buffers;
    std::optional<std::uint64_t> cached;
    std::optional<std::uint64_t> swapTotal;
    std::optional<std::uint64_t> swapFree;
};

// Parses the text of /proc/meminfo ("MemTotal:       24683772 kB" lines; kB means KiB).
MemInfo parseMemInfo(std::string_view text);

// A "Key:   123 kB" field of /proc/meminfo or /proc/self/status, in bytes; nullopt when absent
// or malformed.
std::optional<std::uint64_t> procSizeField(std::string_view text, std::string_view key);

// One level of the process's cgroup path, from the root down, as its memory controller reports it.
struct CgroupMemoryLevel {
    std::optional<std::uint64_t> limit;  // nullopt: no limit ("max", or no limit file)
    std::optional<std::uint64_t> usage;  // bytes charged, page cache included
    std::uint64_t inactiveFile = 0;      // reclaimable page cache within the usage
};

// What a memory limit along the cgroup path leaves the process: the tightest limit, and the least
// headroom below any limit (limit − usage + inactive page cache, the way `docker stats` counts).
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
// an unlimited cgroup as a value near 2^63). nullopt for no limit or malformed text.
std::optional<std::uint64_t> parseCgroupLimit(std::string_view text);

// A "key value" line's value from memory.stat; nullopt when absent or malformed.
std::optional<std::uint64_t> memoryStatField(std::string_view stat, std::string_view key);

// The memory-status record the page reads. When a cgroup limit below the machine's memory binds
// the process (a container), that limit is the memory the process has, so it is shown as the
// total and its headroom as available: the machine's figures would promise memory the process
// would be killed for using. nullopt when meminfo has no usable MemTotal.
std::optional<MemoryStatus> memoryStatusFrom(const MemInfo& info, const std::optional<CgroupMemoryBound>& cgroup);

}  // namespace zelvo::platform
