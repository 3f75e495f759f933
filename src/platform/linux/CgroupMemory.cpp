#include "platform/linux/CgroupMemory.h"

#include <algorithm>

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform {

std::optional<CgroupMemoryBound> cgroupMemoryBound(const std::vector<CgroupMemoryLevel>& levels) {
    std::optional<CgroupMemoryBound> bound;
    for (const auto& level : levels) {
        // A limit whose usage cannot be read ("max", garbage, no file) tells nothing of what is
        // left under it: taking the usage as zero would show an empty container.
        if (!level.limit || !level.usage)
            continue;
        const std::uint64_t limit = *level.limit;
        const std::uint64_t working = *level.usage - std::min(level.inactiveFile, *level.usage);
        const std::uint64_t available = limit > working ? limit - working : 0;
        if (!bound) {
            bound = CgroupMemoryBound{limit, available};
        } else {
            bound->limit = std::min(bound->limit, limit);
            bound->available = std::min(bound->available, available);
        }
    }
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
    if (text == "max")
        return std::nullopt;
    const auto value = linuxfs::parseUnsigned(text);
    // cgroup v1 writes "no limit" as PAGE_COUNTER_MAX pages, just below 2^63. A limit of 0 bytes
    // is none a running process lives under: it is read as damaged, not divided by.
    if (!value || *value == 0 || *value >= (std::uint64_t{1} << 62))
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> memoryStatField(std::string_view stat, std::string_view key) {
    for (const std::string_view line : linuxfs::splitLines(stat)) {
        const auto space = line.find(' ');
        if (space != std::string_view::npos && line.substr(0, space) == key) {
            return linuxfs::parseUnsigned(line.substr(space + 1));
        }
    }
    return std::nullopt;
}

std::vector<std::string> cgroupDirectories(const std::string& mount, std::string_view path) {
    std::vector<std::string> directories{mount};
    for (std::size_t start = 1; start < path.size();) {
        const auto end = std::min(path.find('/', start), path.size());
        const std::string_view name = path.substr(start, end - start);
        if (name == "." || name == "..")
            return {};
        if (!name.empty())
            directories.push_back(directories.back() + "/" + std::string(name));
        start = end + 1;
    }
    return directories;
}

CgroupMemory::CgroupMemory(const LinuxRoots& roots) {
    const auto procCgroup = linuxfs::readFile(linuxfs::joinPath(roots.proc, "/self/cgroup"), linuxfs::kKernelTextLimit);
    if (!procCgroup)
        return;
    const CgroupPaths paths = parseProcCgroup(*procCgroup);
    const std::string cgroupRoot = linuxfs::joinPath(roots.sys, "/fs/cgroup");

    std::string mount;
    std::string path;
    if (paths.v1Memory && linuxfs::readFile(cgroupRoot + "/memory/memory.limit_in_bytes", 64)) {
        mount = cgroupRoot + "/memory";
        path = *paths.v1Memory;
        limitFile_ = "memory.limit_in_bytes";
        usageFile_ = "memory.usage_in_bytes";
        inactiveKey_ = "total_inactive_file";
    } else if (paths.v2) {
        // Unified hierarchy at the cgroup root, or beside the v1 controllers (hybrid systems).
        mount = linuxfs::readFile(cgroupRoot + "/cgroup.controllers", 4096) ? cgroupRoot : cgroupRoot + "/unified";
        path = *paths.v2;
        limitFile_ = "memory.max";
        usageFile_ = "memory.current";
        inactiveKey_ = "inactive_file";
    } else {
        return;
    }

    directories_ = cgroupDirectories(mount, path);
}

std::optional<CgroupMemoryBound> CgroupMemory::bound() const {
    // Usage and page cache are read only where a limit applies.
    std::vector<CgroupMemoryLevel> levels;
    for (const std::string& directory : directories_) {
        const auto limit = linuxfs::readFile(directory + "/" + limitFile_, 64);
        if (!limit)
            continue;
        CgroupMemoryLevel level;
        level.limit = parseCgroupLimit(*limit);
        if (level.limit) {
            if (const auto usage = linuxfs::readFile(directory + "/" + usageFile_, 64))
                level.usage = linuxfs::parseUnsigned(*usage);
            if (const auto stat = linuxfs::readFile(directory + "/memory.stat", linuxfs::kKernelTextLimit))
                level.inactiveFile = memoryStatField(*stat, inactiveKey_).value_or(0);
        }
        levels.push_back(level);
    }
    return cgroupMemoryBound(levels);
}

}  // namespace zelvo::platform
