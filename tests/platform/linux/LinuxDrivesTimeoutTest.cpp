// A network file system whose server is gone: its statvfs never returns. The drive calls must give
// up after the network time limit, not stack up blocked threads, and survive the hung thread.

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

// A statvfs stand-in that blocks on the mount at `hungMount` until released. Shared with the
// worker threads, so it outlives every call.
struct HungServer {
    std::string hungMount;
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    int calls = 0;     // on the hung mount
    int returned = 0;  // calls on the hung mount that have returned
    std::set<std::thread::id> threads;

    void release() {
        std::lock_guard lock(mutex);
        released = true;
        changed.notify_all();
    }
    void waitUntilReturned(int count) {
        std::unique_lock lock(mutex);
        changed.wait(lock, [&] { return returned >= count; });
    }
    int callCount() {
        std::lock_guard lock(mutex);
        return calls;
    }
    int returnCount() {
        std::lock_guard lock(mutex);
        return returned;
    }
};

// A machine's recorded figures (the server's unless named), with `server->hungMount` hanging. The
// time limit is the real one unless a test needs a hung call to end sooner.
DriveSeams seamsWith(std::shared_ptr<HungServer> server, std::chrono::milliseconds timeout = DriveSeams{}.queryTimeout,
                     const std::string& machine = "server") {
    DriveSeams seams = recordedSeams(machine, "/");
    seams.queryTimeout = timeout;
    const std::string prefix = machineRoots(machine).mountPrefix;
    seams.fileSystemFigures = [server, recorded = seams.fileSystemFigures, prefix](const std::string& path) {
        {
            std::unique_lock lock(server->mutex);
            server->threads.insert(std::this_thread::get_id());
            if (path == prefix + server->hungMount) {
                ++server->calls;
                server->changed.wait(lock, [&] { return server->released; });
                ++server->returned;
                server->changed.notify_all();
            }
        }
        return recorded(path);
    };
    return seams;
}

TEST(LinuxDrivesTimeout, HungNetworkDriveIsGivenUp) {
    auto server = std::make_shared<HungServer>();
    server->hungMount = "/home/shared";  // Z:
    {
        LinuxDrives drives(machineRoots("server"), seamsWith(server));
        EXPECT_FALSE(drives.getDiskFreeSpaceEx("z:\\"));
        EXPECT_EQ(server->callCount(), 1);
        EXPECT_EQ(server->returnCount(), 0);  // it gave up; the query still hangs

        // While it hangs, asking again fails at once without another blocked thread.
        EXPECT_FALSE(drives.getDiskFreeSpaceEx("Z:\\"));
        EXPECT_FALSE(drives.getDiskFreeSpace("z:\\"));
        EXPECT_EQ(server->callCount(), 1);

        // Nothing else needs the hung file system.
        EXPECT_EQ(drives.getLogicalDrives() & (1u << 25), 1u << 25);
        EXPECT_EQ(drives.getDriveType("z:\\"), kDriveRemote);
        const auto volume = drives.getVolumeInformation("z:\\");
        ASSERT_TRUE(volume);
        EXPECT_EQ(volume->fileSystem, "NFS4");
        EXPECT_EQ(drives.wnetGetConnection("Z:"), "\\\\nas.example.lan\\export\\home");
        // Other network drives still answer.
        const auto other = drives.getDiskFreeSpaceEx("x:\\");
        ASSERT_TRUE(other);
        EXPECT_EQ(other->totalBytes, 4000787030016);
    }
    // The drives object is gone; the worker finishes on state it shares.
    server->release();
    server->waitUntilReturned(1);
    EXPECT_EQ(server->returnCount(), 1);
}

TEST(LinuxDrivesTimeout, HungUserSpaceDriverIsGivenUp) {
    auto driver = std::make_shared<HungServer>();
    driver->hungMount = "/mnt/data";  // E:, NTFS through ntfs-3g (fuseblk)
    // Should a query wait for the driver, the driver comes back after a while and the test fails
    // instead of hanging.
    std::thread comesBack([driver] {
        std::unique_lock lock(driver->mutex);
        if (!driver->changed.wait_for(lock, std::chrono::seconds(20), [&] { return driver->released; })) {
            driver->released = true;
            driver->changed.notify_all();
        }
    });
    {
        LinuxDrives drives(machineRoots("dualboot"), seamsWith(driver, DriveSeams{}.queryTimeout, "dualboot"));
        EXPECT_FALSE(drives.getDiskFreeSpaceEx("e:\\"));
        EXPECT_FALSE(drives.getDiskFreeSpace("e:\\"));
        EXPECT_EQ(driver->callCount(), 1);
        EXPECT_EQ(driver->returnCount(), 0);  // given up while the driver still hangs
        const auto volume = drives.getVolumeInformation("e:\\");
        ASSERT_TRUE(volume);
        EXPECT_EQ(volume->fileSystem, "NTFS");
        // The other user-space drive answers.
        const auto windows = drives.getDiskFreeSpaceEx("f:\\");
        ASSERT_TRUE(windows);
        EXPECT_EQ(windows->totalBytes, 322122547200);
    }
    // The drives object went while the worker was stuck; the worker ends on state it shares.
    driver->release();
    driver->waitUntilReturned(1);
    comesBack.join();
}

TEST(LinuxDrivesTimeout, AnsweringServerIsAskedAgain) {
    auto server = std::make_shared<HungServer>();
    server->hungMount = "/mnt/data";  // X:
    LinuxDrives drives(machineRoots("server"), seamsWith(server, std::chrono::milliseconds(100)));
    EXPECT_FALSE(drives.getDiskFreeSpaceEx("x:\\"));
    server->release();
    server->waitUntilReturned(1);
    // Until the old worker has handed in its result, asking fails at once; then the drive is asked
    // afresh and answers.
    std::optional<DiskSpace> space;
    while (!(space = drives.getDiskFreeSpaceEx("x:\\")))
        std::this_thread::yield();
    EXPECT_EQ(space->totalBytes, 4000787030016);
    EXPECT_GE(server->callCount(), 2);
}

TEST(LinuxDrivesTimeout, OnlyNetworkAndUserSpaceDrivesUseAWorker) {
    auto server = std::make_shared<HungServer>();
    server->hungMount = "/nothing";
    LinuxDrives drives(machineRoots("server"), seamsWith(server));
    ASSERT_TRUE(drives.getDiskFreeSpaceEx("c:\\"));
    ASSERT_TRUE(drives.getDiskFreeSpaceEx("e:\\"));
    {
        std::lock_guard lock(server->mutex);
        EXPECT_EQ(server->threads, std::set<std::thread::id>{std::this_thread::get_id()});
        server->threads.clear();
    }
    ASSERT_TRUE(drives.getDiskFreeSpaceEx("y:\\"));
    std::lock_guard lock(server->mutex);
    ASSERT_EQ(server->threads.size(), 1u);
    EXPECT_NE(*server->threads.begin(), std::this_thread::get_id());
}

TEST(LinuxDrivesTimeout, WithoutStatvfsEveryFigureFails) {
    DriveSeams seams;
    seams.currentDirectory = [] { return std::optional<std::string>("/"); };
    LinuxDrives drives(machineRoots("server"), seams);
    EXPECT_FALSE(drives.getDiskFreeSpaceEx("c:\\"));
    EXPECT_FALSE(drives.getDiskFreeSpaceEx("z:\\"));
    EXPECT_FALSE(drives.getDiskFreeSpace("z:\\"));
    EXPECT_TRUE(drives.getVolumeInformation("z:\\"));
}

}  // namespace
}  // namespace zelvo::platform
