// A user-space drive whose driver takes requests and never answers, with a tmpfs and a bind mount
// below it, in a private mount namespace (tests/helpers/HungFuseCheck.cpp): the drive list, the
// disk page of the tmpfs and the end of the process must not wait for the driver.

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <time.h>

#include <chrono>
#include <string>

#include "support/HelperProcess.h"

namespace zelvo::platform {
namespace {

long long monotonicNs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000000000LL + now.tv_nsec;
}

TEST(LinuxHungFuse, DrivesBelowAHungDriverAndTheProcessEndDoNotWaitForIt) {
    test::HelperProcess helper({ZELVO_HUNG_FUSE_CHECK});
    ASSERT_TRUE(helper.started());
    const auto driver = helper.waitFor("driver", std::chrono::seconds(10));
    if (!driver) {
        const auto status = helper.waitForExit(std::chrono::seconds(10));
        if (status && WIFEXITED(*status) && WEXITSTATUS(*status) == 77)
            GTEST_SKIP() << helper.output();
        FAIL() << "the stand-in FUSE driver did not start:\n" << helper.output();
    }
    // Whatever happens below, the driver goes when the test does, and every hang with it.
    struct KillDriver {
        pid_t pid;
        ~KillDriver() { ::kill(pid, SIGKILL); }
    } killDriver{static_cast<pid_t>(std::stoi(*driver))};

    // Bounds: the drive list reads the mount table and device files only; the disk page gives the
    // hung drive up after 1.5 s (its volume and the size and free-space queries together), and
    // asks it no more while the first query hangs.
    const auto driveList = helper.waitFor("drive_list_ms", std::chrono::seconds(10));
    ASSERT_TRUE(driveList) << "the drive list waited for the driver:\n" << helper.output();
    EXPECT_LT(std::stod(*driveList), 100.0) << helper.output();
    const auto diskQuery = helper.waitFor("disk_query_ms", std::chrono::seconds(10));
    ASSERT_TRUE(diskQuery) << "the disk page waited for the driver:\n" << helper.output();
    EXPECT_GE(std::stod(*diskQuery), 1400.0) << helper.output();
    EXPECT_LT(std::stod(*diskQuery), 1500.0 + 300.0) << helper.output();
    EXPECT_EQ(helper.waitFor("disk_size", std::chrono::seconds(1)), "-1") << helper.output();
    EXPECT_NE(helper.waitFor("bound_letter", std::chrono::seconds(1)), "-") << helper.output();
    const auto repeat = helper.waitFor("repeat_query_ms", std::chrono::seconds(10));
    ASSERT_TRUE(repeat) << helper.output();
    EXPECT_LT(std::stod(*repeat), 100.0) << helper.output();

    // The process ends at once after its last call, with a query still stuck in the kernel.
    const auto lastCall = helper.waitFor("last_call_ns", std::chrono::seconds(10));
    ASSERT_TRUE(lastCall) << helper.output();
    const auto status = helper.waitForExit(std::chrono::seconds(5));
    const double endMs = static_cast<double>(monotonicNs() - std::stoll(*lastCall)) / 1e6;
    ASSERT_TRUE(status) << "the process lived on with its query stuck:\n" << helper.output();
    EXPECT_EQ(*status, 0) << helper.output();
    EXPECT_LT(endMs, 200.0) << helper.output();
    std::printf("drive list %s ms, disk page %s ms, again %s ms, process end %.1f ms after the last call\n",
                driveList->c_str(), diskQuery->c_str(), repeat->c_str(), endMs);
}

}  // namespace
}  // namespace zelvo::platform
