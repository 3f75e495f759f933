#pragma once
// Memory status from /proc/meminfo, bounded by the process's cgroup memory limit (CgroupMemory.h).

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/Platform.h"
#include "platform/linux/CgroupMemory.h"

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

// The memory-status record the page reads. When a cgroup limit below the machine's memory binds
// the process (a container), that limit is the memory the process has, so it is shown as the
// total and its headroom as available: the machine's figures would promise memory the process
// would be killed for using. nullopt when meminfo has no usable MemTotal, or neither MemAvailable
// nor MemFree.
std::optional<MemoryStatus> memoryStatusFrom(const MemInfo& info, const std::optional<CgroupMemoryBound>& cgroup);

}  // namespace zelvo::platform
