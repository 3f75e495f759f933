// The drive calls on a machine with 10,000 mounts (a container host: overlay layers, pod volumes,
// network namespaces, bind mounts), recorded into a temporary directory at start. What the drive
// selector asks when it rebuilds its list, and what the disk page asks when a drive is chosen.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "DriveListCalls.h"
#include "platform/linux/LinuxDrives.h"

namespace {

using zelvo::platform::DriveSeams;
using zelvo::platform::FsFigures;
using zelvo::platform::LinuxDrives;
using zelvo::platform::LinuxRoots;

constexpr int kExtraMounts = 10000;

// The machine's tree: its mount table and empty /sys, /dev and udev directories.
class ManyMountsMachine {
public:
    ManyMountsMachine() {
        char pattern[] = "/tmp/zelvo-many-mounts-XXXXXX";
        if (!::mkdtemp(pattern))
            std::abort();
        base_ = pattern;
        for (const char* dir : {"/proc/self", "/sys", "/dev", "/run/udev/data"})
            std::filesystem::create_directories(base_ + dir);
        std::ofstream table(base_ + "/proc/self/mountinfo");
        table << "1 0 254:0 / / rw,relatime shared:1 - ext4 /dev/vda rw\n"
                 "2 1 254:1 / /boot rw,relatime - ext4 /dev/vda1 rw\n"
                 "3 1 0:30 / /tmp rw,nosuid,nodev - tmpfs tmpfs rw\n"
                 "4 1 8:17 / /media/stick rw,nosuid,nodev - vfat /dev/sdb1 rw\n"
                 "5 1 0:31 / /srv/nfs rw - nfs4 nas:/export/home rw,vers=4.2\n";
        for (int i = 0; i < kExtraMounts; ++i) {
            const int id = 100 + i;
            const std::string n = std::to_string(i);
            switch (i % 4) {
                case 0:
                    table << id << " 1 0:" << 1000 + i << " / /var/lib/docker/overlay2/" << n
                          << "/merged rw,relatime - overlay overlay rw,lowerdir=/l" << n << "\n";
                    break;
                case 1:
                    table << id << " 1 0:" << 1000 + i << " / /var/lib/kubelet/pods/" << n
                          << "/volumes/kube-api-access rw,relatime - tmpfs tmpfs rw,size=4096k\n";
                    break;
                case 2:
                    table << id << " 1 0:4 net:[" << 4026531000 + i << "] /run/netns/cni-" << n
                          << " rw - nsfs nsfs rw\n";
                    break;
                default:
                    table << id << " 1 254:0 /var/lib/kubelet/pods/" << n << "/etc-hosts /var/lib/kubelet/pods/" << n
                          << "/containers/app/hosts rw,relatime - ext4 /dev/vda rw\n";
                    break;
            }
        }
    }
    ~ManyMountsMachine() {
        std::error_code ec;
        std::filesystem::remove_all(base_, ec);
    }

    LinuxRoots roots() const { return LinuxRoots::below(base_); }

private:
    std::string base_;
};

const ManyMountsMachine& machine() {
    static const ManyMountsMachine instance;
    return instance;
}

// Every file system answers at once with the same figures; the current directory is /home.
DriveSeams fixedSeams() {
    DriveSeams seams;
    seams.fileSystemFigures = [](const std::string&) -> std::optional<FsFigures> {
        return FsFigures{4096, 1000000, 500000, 400000};
    };
    seams.currentDirectory = [] { return std::optional<std::string>("/home/alice"); };
    return seams;
}

// One rebuild of the drive selector's list.
void BM_DriveListWith10000Mounts(benchmark::State& state) {
    LinuxDrives drives(machine().roots(), fixedSeams());
    for (auto _ : state)
        askLikeTheDriveListRebuild(drives);
}
BENCHMARK(BM_DriveListWith10000Mounts)->Unit(benchmark::kMillisecond);

// The disk page after a drive is chosen: the volume, then size and free space twice each.
void BM_DiskPageChangeWith10000Mounts(benchmark::State& state) {
    LinuxDrives drives(machine().roots(), fixedSeams());
    for (auto _ : state) {
        benchmark::DoNotOptimize(drives.getVolumeInformation("c:\\"));
        for (int i = 0; i < 4; ++i)
            benchmark::DoNotOptimize(drives.getDiskFreeSpaceEx("C:\\"));
    }
}
BENCHMARK(BM_DiskPageChangeWith10000Mounts)->Unit(benchmark::kMillisecond);

}  // namespace
