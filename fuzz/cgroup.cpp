// /proc/self/cgroup, the walk from the controller's mount down to the process's cgroup, and the
// limit, usage and memory.stat files of each level. Parts: /proc/self/cgroup, then for each of up
// to three levels its limit, usage and memory.stat.

#include <algorithm>
#include <optional>

#include "FuzzInput.h"
#include "platform/linux/CgroupMemory.h"
#include "platform/linux/LinuxFiles.h"

using namespace zelvo;
using namespace zelvo::platform;

namespace {

constexpr std::string_view kMount = "/sys/fs/cgroup";

// Every directory lies below the mount, one path component deeper than the one before; a path that
// leaves the mount has none.
void checkWalk(const std::optional<std::string>& path) {
    if (!path)
        return;
    fuzz::require(!path->empty() && path->front() == '/', "cgroup paths are absolute");
    const auto directories = cgroupDirectories(std::string(kMount), *path);
    if (directories.empty()) {
        const bool leavesTheMount = path->find("/.") != std::string::npos;
        fuzz::require(leavesTheMount, "only a path with . or .. components has no levels");
        return;
    }
    fuzz::require(directories.front() == kMount, "the walk starts at the mount");
    for (std::size_t i = 1; i < directories.size(); ++i) {
        const std::string& parent = directories[i - 1];
        const std::string& child = directories[i];
        fuzz::require(child.size() > parent.size() + 1 && child.compare(0, parent.size(), parent) == 0 &&
                          child[parent.size()] == '/',
                      "each level lies inside the one above");
        const std::string_view name = std::string_view(child).substr(parent.size() + 1);
        fuzz::require(name.find('/') == std::string_view::npos && name != "." && name != "..",
                      "each level is one cgroup below the one above, never outside the mount");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto input = fuzz::parts<10>(data, size);
    const CgroupPaths paths = parseProcCgroup(input[0]);
    checkWalk(paths.v1Memory);
    checkWalk(paths.v2);

    std::vector<CgroupMemoryLevel> levels;
    for (std::size_t i = 1; i + 2 < input.size(); i += 3) {
        CgroupMemoryLevel level;
        level.limit = parseCgroupLimit(input[i]);
        fuzz::require(!level.limit || *level.limit > 0, "a limit of nothing is no limit");
        level.usage = linuxfs::parseUnsigned(input[i + 1]);
        level.inactiveFile = memoryStatField(input[i + 2], "inactive_file").value_or(0);
        memoryStatField(input[i + 2], "total_inactive_file");
        levels.push_back(level);
    }
    const auto bound = cgroupMemoryBound(levels);
    if (!bound)
        return 0;
    fuzz::require(bound->available <= bound->limit, "no more headroom than the limit");
    const bool fromALevel = std::any_of(levels.begin(), levels.end(), [&](const CgroupMemoryLevel& level) {
        return level.limit && level.usage && *level.limit == bound->limit;
    });
    fuzz::require(fromALevel, "the bound is the limit of a level whose usage was read");
    return 0;
}
