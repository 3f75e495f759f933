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
    if (!number || value.substr(0, 2) == "0x")
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

std::optional<CgroupMemoryBound> cgroupMemoryBound(const std::vector<CgroupMemoryLevel>& levels) {
    std::optional<CgroupMemoryBound> bound;
    for (const auto& level : levels) {
        if (!level.limit)
            continue;
        const std::uint64_t limit = *level.limit;
        std::uint64_t available = limit;
        if (level.usage) {
            const std::uint64_t working = *level.usage - std::min(level.inactiveFile, *level.usage);
            available = limit > working ? limit - working : 0;
        }
        if (!bound) {
            bound = CgroupMemoryBound{limit, available};
        } else {
            bound->limit = std::min(bound->limit, limit);
            bound->available = std::min(bound->available, available);
        }
    }
    if (bound)
        bound->available = std::min(bound->available, bound->limit);
    return bound;
}

CgroupPaths parseProcCgroup(std::string_view text) {
    CgroupPaths paths;
    for (const std::string_view line : linuxfs::splitLines(text)) {
        // hierarchy-ID:controller-list:cgroup-path; the path may itself contain ':'.
        const auto first = line.find(':');
        if (first == std::string_view::npos)
            continue;
        const auto second = line.find(':', first + 1);
        if (second == std::string_view::npos)
            continue;
        const std::string_view id = line.substr(0, first);
        const std::string_view controllers = line.substr(first + 1, second - first - 1);
        const std::string path(line.substr(second + 1));
        if (path.empty() || path.front() != '/')
            continue;
        if (id == "0" && controllers.empty()) {
            paths.v2 = path;
            continue;
        }
        std::string_view rest = controllers;
        while (!rest.empty()) {
            const auto comma = rest.find(',');
            if (rest.substr(0, comma) == "memory")
                paths.v1Memory = path;
            if (comma == std::string_view::npos)
                break;
            rest.remove_prefix(comma + 1);
        }
    }
    return paths;
}

std::optional<std::uint64_t> parseCgroupLimit(std::string_view text) {
    text = linuxfs::trim(text);
    if (text == "max" || text.substr(0, 2) == "0x")
        return std::nullopt;
    const auto value = linuxfs::parseUnsigned(text);
    // cgroup v1 writes "no limit" as PAGE_COUNTER_MAX pages, just below 2^63.
    if (!value || *value >= (std::uint64_t{1} << 62))
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> memoryStatField(std::string_view stat, std::string_view key) {
    for (const std::string_view line : linuxfs::splitLines(stat)) {
        const auto space = line.find(' ');
        if (space != std::string_view::npos && line.substr(0, space) == key) {
            const std::string_view value = line.substr(space + 1);
            if (value.substr(0, 2) == "0x")
                return std::nullopt;
            return linuxfs::parseUnsigned(value);
        }
    }
    return std::nullopt;
}

std::optional<MemoryStatus> memoryStatusFrom(const MemInfo& info, const std::optional<CgroupMemoryBound>& cgroup) {
    if (!info.memTotal || *info.memTotal == 0)
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
