// Drives whose mount point lies below a network or user-space mount (a tmpfs under sshfs, a bind
// mount under ntfs-3g): a path walk to them passes through the mount that may hang, so their
// queries are bounded as its own are, and the drive-list rebuild does not look at them.

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <set>
#include <string>
#include <thread>

#include "LinuxDrivesFixture.h"
#include "platform/linux/LinuxDrives.h"
#include "support/CodePageTextTesting.h"

namespace zelvo::platform {
namespace {

using testing::machineRoots;
using testing::recordedSeams;

// statvfs stand-in: the recorded figures, but the mounts reached through the hung ones block
// until released (at the latest after 20 s, so an unbounded call fails the test instead of
// holding it). Shared with the query threads, so it outlives every call.
struct HungWalk {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    std::set<std::string> hung;
    std::set<std::thread::id> answeringThreads;  // of the calls that did not hang

    void release() {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
};

TEST(LinuxDrivesBelowHungMount, AreBoundedAndNotLookedAt) {
    const std::string machine = "hungmounts";
    const std::string prefix = machineRoots(machine).mountPrefix;
    auto walk = std::make_shared<HungWalk>();
    walk->hung = {prefix + "/mnt/remote", prefix + "/mnt/remote/cache", prefix + "/media/usb/photos"};
    DriveSeams seams = recordedSeams(machine, "/");
    seams.queryTimeout = std::chrono::milliseconds(100);
    seams.fileSystemFigures = [walk, recorded = seams.fileSystemFigures](const std::string& path) {
        std::unique_lock lock(walk->mutex);
        if (walk->hung.count(path))
            walk->changed.wait_for(lock, std::chrono::seconds(20), [&] { return walk->released; });
        else
            walk->answeringThreads.insert(std::this_thread::get_id());
        return recorded(path);
    };
    {
        LinuxDrives drives(machineRoots(machine), seams);
        // C: the root; D: the bind mount below ntfs-3g, listed although its recorded mount point
        // is a file: the rebuild did not look; E: /mnt/ram; F: the tmpfs below sshfs.
        const std::uint32_t local = drives.getLogicalDrives() & ((1u << 25) - 1);
        EXPECT_EQ(local, (1u << 2) | (1u << 3) | (1u << 4) | (1u << 5));
        for (const char* root : {"d:\\", "e:\\", "f:\\"})
            EXPECT_EQ(drives.getDriveType(root), kDriveRamdisk) << root;

        // The tmpfs beside the hung mount answers directly.
        const auto ram = drives.getDiskFreeSpaceEx("e:\\");
        ASSERT_TRUE(ram);
        EXPECT_EQ(ram->totalBytes, 25600 * 4096);
        // The drives below the hung mounts give up in time, and at once while they still hang.
        for (const char* root : {"d:\\", "f:\\"}) {
            SCOPED_TRACE(root);
            EXPECT_FALSE(drives.getDiskFreeSpaceEx(root));
            const auto start = std::chrono::steady_clock::now();
            EXPECT_FALSE(drives.getDiskFreeSpace(root));
            EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::milliseconds(50));
        }
        // The volume needs no statvfs of a tmpfs: it answers.
        EXPECT_TRUE(drives.getVolumeInformation("f:\\"));
    }
    walk->release();
    std::lock_guard lock(walk->mutex);
    EXPECT_EQ(walk->answeringThreads, std::set<std::thread::id>{std::this_thread::get_id()});
}

}  // namespace
}  // namespace zelvo::platform
