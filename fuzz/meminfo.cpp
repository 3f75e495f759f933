// /proc/meminfo and the VmSize line of /proc/self/status, bounded by a cgroup limit, as the memory
// page's record. Parts: meminfo, status, then the cgroup limit, usage and memory.stat texts.

#include "platform/linux/MemInfo.h"
#include "FuzzInput.h"
#include "platform/linux/CgroupMemory.h"
#include "platform/linux/LinuxFiles.h"

using namespace zelvo;
using namespace zelvo::platform;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto [meminfo, status, limit, usage, stat] = fuzz::parts<5>(data, size);
    const MemInfo info = parseMemInfo(meminfo);
    procSizeField(status, "VmSize");
    CgroupMemoryLevel level;
    level.limit = parseCgroupLimit(limit);
    level.usage = linuxfs::parseUnsigned(usage);
    level.inactiveFile = memoryStatField(stat, "inactive_file").value_or(0);
    const auto bound = cgroupMemoryBound({level});

    const auto record = memoryStatusFrom(info, bound);
    if (!record)
        return 0;
    fuzz::require(info.memTotal && *info.memTotal > 0, "a record needs a total");
    fuzz::require(record->totalPhys > 0 && record->totalPhys <= *info.memTotal, "the total is at most MemTotal");
    fuzz::require(record->availPhys <= record->totalPhys, "no more available than in all");
    fuzz::require(record->memoryLoad <= 100, "the load is a percentage");
    fuzz::require(record->totalPageFile >= record->totalPhys, "the page file holds the memory");
    fuzz::require(record->availPageFile >= record->availPhys, "the page file's headroom holds the memory's");
    if (bound && bound->limit < *info.memTotal)
        fuzz::require(record->totalPhys == bound->limit, "a tighter limit is the total");
    return 0;
}
