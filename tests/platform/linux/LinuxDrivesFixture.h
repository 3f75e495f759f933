#pragma once
// Recorded machines for the drive tests: mount table, sysfs, udev records and /dev/disk links under
// tests/fixtures/linux/drives/<machine>/, and the statvfs figures of their mounts (statvfs.txt).

#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <utility>

#include "TestConfig.h"
#include "platform/linux/DriveSeams.h"
#include "platform/linux/LinuxRoots.h"

namespace zelvo::platform::testing {

inline std::string machineDir(const std::string& machine) {
    return std::string(ZELVO_FIXTURE_DIR) + "/linux/drives/" + machine;
}

inline LinuxRoots machineRoots(const std::string& machine) {
    return LinuxRoots::below(machineDir(machine));
}

// statvfs.txt: "f_frsize f_blocks f_bfree f_bavail mount-point" per line.
inline std::map<std::string, FsFigures> recordedFigures(const std::string& machine) {
    std::map<std::string, FsFigures> figures;
    std::ifstream in(machineDir(machine) + "/statvfs.txt");
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#')
            continue;
        std::istringstream fields(line);
        FsFigures row;
        std::string mountPoint;
        fields >> row.fragmentSize >> row.blocks >> row.freeBlocks >> row.availableBlocks;
        std::getline(fields >> std::ws, mountPoint);
        figures[mountPoint] = row;
    }
    return figures;
}

// Seams answering statvfs from the machine's recorded figures (by mount point below the mount
// prefix) and getcwd with `cwd`.
inline DriveSeams recordedSeams(const std::string& machine, std::optional<std::string> cwd) {
    auto figures = std::make_shared<const std::map<std::string, FsFigures>>(recordedFigures(machine));
    const std::string prefix = machineRoots(machine).mountPrefix;
    DriveSeams seams;
    seams.fileSystemFigures = [figures, prefix](const std::string& path) -> std::optional<FsFigures> {
        if (path.compare(0, prefix.size(), prefix) != 0)
            return std::nullopt;
        const auto it = figures->find(path.substr(prefix.size()));
        if (it == figures->end())
            return std::nullopt;
        return it->second;
    };
    seams.currentDirectory = [cwd = std::move(cwd)] { return cwd; };
    return seams;
}

}  // namespace zelvo::platform::testing
