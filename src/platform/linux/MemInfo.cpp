#include "platform/linux/MemInfo.h"

#include <algorithm>
#include <limits>

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform {

namespace {

// "  24683772 kB" → bytes; nullopt when malformed or too large for 64 bits.
std::optional<std::uint64_t> meminfoBytes(std::string_view value) {
    value = linuxfs::trim(value);
    std::uint64_t scale = 1;
    if (value.size() > 2 && value.substr(value.size() - 2) == "kB") {
        scale = 1024;
        value = linuxfs::trim(value.substr(0, value.size() - 2));
    }
    const auto number = linuxfs::parseUnsigned(value);
    if (!number)
        return std::nullopt;
    if (*number > std::numeric_limits<std::uint64_t>::max() / scale)
        return std::nullopt;
    return *number * scale;
}

std::uint64_t saturatingAdd(std::uint64_t a, std::uint64_t b) {
    return b > std::numeric_limits<std::uint64_t>::max() - a ? std::numeric_limits<std::uint64_t>::max() : a + b;
}

}  // namespace

std::optional<std::uint64_t> procSizeField(std::string_view text, std::string_view key) {
    for (const std::string_view line : linuxfs::splitLines(text)) {
        const auto colon = line.find(':');
        if (colon != std::string_view::npos && line.substr(0, colon) == key)
            return meminfoBytes(line.substr(colon + 1));
    }
    return std::nullopt;
}

MemInfo parseMemInfo(std::string_view text) {
    MemInfo info;
    const std::pair<std::string_view, std::optional<std::uint64_t>*> fields[] = {
        {"MemTotal", &info.memTotal}, {"MemFree", &info.memFree}, {"MemAvailable", &info.memAvailable},
        {"Buffers", &info.buffers},   {"Cached", &info.cached},   {"SwapTotal", &info.swapTotal},
        {"SwapFree", &info.swapFree},
    };
    for (const std::string_view line : linuxfs::splitLines(text)) {
        const auto colon = line.find(':');
        if (colon == std::string_view::npos)
            continue;
        const std::string_view key = line.substr(0, colon);
        for (const auto& [name, target] : fields)
            if (key == name && !*target)
                *target = meminfoBytes(line.substr(colon + 1));
    }
    return info;
}

std::optional<MemoryStatus> memoryStatusFrom(const MemInfo& info, const std::optional<CgroupMemoryBound>& cgroup) {
    // Without MemAvailable and MemFree nothing says how much is in use: the query fails rather
    // than show all memory in use.
    if (!info.memTotal || *info.memTotal == 0 || (!info.memAvailable && !info.memFree))
        return std::nullopt;
    std::uint64_t total = *info.memTotal;
    std::uint64_t available = 0;
    if (info.memAvailable) {
        available = *info.memAvailable;
    } else {
        // Kernels before 3.14 have no MemAvailable; free plus the caches is the usual estimate.
        const std::uint64_t parts[] = {info.memFree.value_or(0), info.buffers.value_or(0), info.cached.value_or(0)};
        for (const std::uint64_t part : parts)
            available = saturatingAdd(available, part);
    }
    // MemAvailable is an estimate and some virtualised kernels report it above the total.
    available = std::min(available, total);
    if (cgroup && cgroup->limit < total) {
        total = cgroup->limit;
        available = std::min(available, cgroup->available);
    }

    MemoryStatus status;
    status.totalPhys = total;
    status.availPhys = available;
    status.memoryLoad = static_cast<std::uint32_t>(((total - available) * 100.0L) / total);
    // The page file of Windows is the commit limit: physical memory plus swap.
    const std::uint64_t swapTotal = info.swapTotal.value_or(0);
    const std::uint64_t swapFree = std::min(info.swapFree.value_or(0), swapTotal);
    status.totalPageFile = saturatingAdd(total, swapTotal);
    status.availPageFile = saturatingAdd(available, swapFree);
    return status;
}

}  // namespace zelvo::platform
