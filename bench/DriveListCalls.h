#pragma once
// What the drive selector asks when it rebuilds its list: the mask of drive letters, then per
// drive its type and, inside a critical-error mode, its label or the share of a network drive.

#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "platform/linux/LinuxDrives.h"

inline void askLikeTheDriveListRebuild(zelvo::platform::LinuxDrives& drives) {
    const std::uint32_t mask = drives.getLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(mask & (1u << i)))
            continue;
        const std::string root = std::string(1, static_cast<char>('a' + i)) + ":\\";
        const std::uint32_t type = drives.getDriveType(root);
        const std::uint32_t previous = drives.setErrorMode(1);
        if (type == zelvo::platform::kDriveRemote)
            benchmark::DoNotOptimize(drives.wnetGetConnection(std::string(1, static_cast<char>('A' + i)) + ":"));
        benchmark::DoNotOptimize(drives.getVolumeInformation(root));
        drives.setErrorMode(previous);
    }
}
