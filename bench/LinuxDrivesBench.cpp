// Cost of the drive calls on this machine. The mask query scans the mounts; the other calls reuse
// that scan while the mount table is unchanged. The drive selector's list rebuild makes the mask
// query and, per drive, the type and volume queries.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "DriveListCalls.h"
#include "platform/linux/LinuxDrives.h"

namespace {

using zelvo::platform::LinuxDrives;
using zelvo::platform::LinuxRoots;

void BM_LogicalDrives(benchmark::State& state) {
    LinuxDrives drives{LinuxRoots{}};
    for (auto _ : state)
        benchmark::DoNotOptimize(drives.getLogicalDrives());
}
BENCHMARK(BM_LogicalDrives);

// What one rebuild of the drive list asks.
void BM_DriveListRebuild(benchmark::State& state) {
    LinuxDrives drives{LinuxRoots{}};
    for (auto _ : state)
        askLikeTheDriveListRebuild(drives);
}
BENCHMARK(BM_DriveListRebuild);

// The disk page's figures for drive C.
void BM_DiskFigures(benchmark::State& state) {
    LinuxDrives drives{LinuxRoots{}};
    for (auto _ : state)
        benchmark::DoNotOptimize(drives.getDiskFreeSpaceEx("C:\\"));
}
BENCHMARK(BM_DiskFigures);

}  // namespace
