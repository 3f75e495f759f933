// Memory status from /proc/meminfo texts and cgroup memory controllers.

#include <gtest/gtest.h>

#include <limits>

#include "platform/linux/MemInfo.h"
#include "support/FixtureFiles.h"

namespace zelvo::platform {
namespace {

using test::linuxFixture;

constexpr std::uint64_t KiB = 1024;
using OptU64 = std::optional<std::uint64_t>;

struct MemInfoCase {
    const char* label;
    std::string text;
    OptU64 total, free, available, buffers, cached, swapTotal, swapFree;
};

TEST(LinuxMemInfo, ParsesFields) {
    const MemInfoCase cases[] = {
        {"Intel desktop", linuxFixture("intel-desktop/proc/meminfo"), 32768236 * KiB, 18223404 * KiB, 26453120 * KiB,
         612340 * KiB, 7823156 * KiB, 2097148 * KiB, 2097148 * KiB},
        {"kernel 3.2 without MemAvailable", linuxFixture("qemu-vm/proc/meminfo"), 2060180 * KiB, 1408552 * KiB,
         std::nullopt, 40872 * KiB, 399324 * KiB, 520188 * KiB, 520188 * KiB},
        {"empty", "", std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {"no unit means bytes", "MemTotal: 1000\n", 1000, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
         std::nullopt, std::nullopt},
        {"malformed numbers are absent",
         "MemTotal: lots kB\nMemFree: -5 kB\nMemAvailable: 12x kB\nBuffers: 0x10 kB\nCached:\nSwapTotal: 0X10 kB\n",
         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {"2^53 kB is still a 64-bit byte count", "MemTotal: 9007199254740992 kB\n", std::uint64_t{1} << 63,
         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {"too large for 64 bits once in bytes", "MemTotal: 18014398509481984 kB\nMemFree: 18014398509481983 kB\n",
         std::nullopt, 18014398509481983 * KiB, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
        {"first occurrence wins, no trailing newline", "MemTotal: 4 kB\nMemTotal: 8 kB\nSwapFree: 2 kB", 4 * KiB,
         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, 2 * KiB},
        {"similar names do not match", "MemTotalX: 4 kB\n MemTotal: 8 kB\nSwapCached: 3 kB\n", std::nullopt,
         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const MemInfo info = parseMemInfo(c.text);
        EXPECT_EQ(info.memTotal, c.total);
        EXPECT_EQ(info.memFree, c.free);
        EXPECT_EQ(info.memAvailable, c.available);
        EXPECT_EQ(info.buffers, c.buffers);
        EXPECT_EQ(info.cached, c.cached);
        EXPECT_EQ(info.swapTotal, c.swapTotal);
        EXPECT_EQ(info.swapFree, c.swapFree);
    }
}

struct StatusCase {
    const char* label;
    MemInfo info;
    std::optional<CgroupMemoryBound> cgroup;
    bool valid;
    std::uint64_t total, available;
    std::uint32_t load;
    std::uint64_t totalPageFile, availPageFile;
};

TEST(LinuxMemInfo, BuildsTheMemoryStatus) {
    constexpr std::uint64_t GiB = 1024 * 1024 * 1024;
    constexpr std::uint64_t max = std::numeric_limits<std::uint64_t>::max();
    const StatusCase cases[] = {
        {"MemAvailable is the available memory",
         {16 * GiB, 1 * GiB, 12 * GiB, 0, 0, 2 * GiB, 1 * GiB},
         std::nullopt,
         true,
         16 * GiB,
         12 * GiB,
         25,
         18 * GiB,
         13 * GiB},
        {"old kernel: free plus buffers plus cache",
         {8 * GiB, 1 * GiB, std::nullopt, 1 * GiB, 2 * GiB, 0, 0},
         std::nullopt,
         true,
         8 * GiB,
         4 * GiB,
         50,
         8 * GiB,
         4 * GiB},
        {"MemAvailable above the total is capped",
         {4 * GiB, 1 * GiB, 5 * GiB, 0, 0, 0, 0},
         std::nullopt,
         true,
         4 * GiB,
         4 * GiB,
         0,
         4 * GiB,
         4 * GiB},
        {"more than 4 GiB stays exact",
         {(64 * GiB) + 4096, 0, 1, 0, 0, 0, 0},
         std::nullopt,
         true,
         (64 * GiB) + 4096,
         1,
         99,
         (64 * GiB) + 4096,
         1},
        {"nothing available", {2 * GiB, 0, 0, 0, 0, 0, 0}, std::nullopt, true, 2 * GiB, 0, 100, 2 * GiB, 0},
        {"no MemTotal", {std::nullopt, 1 * GiB, 1 * GiB, 0, 0, 0, 0}, std::nullopt, false, 0, 0, 0, 0, 0},
        // Nothing says what is in use: the query fails rather than show all memory in use.
        {"neither MemAvailable nor MemFree",
         {8 * GiB, std::nullopt, std::nullopt, 1 * GiB, 2 * GiB, 0, 0},
         std::nullopt,
         false,
         0,
         0,
         0,
         0,
         0},
        {"zero MemTotal", {0, 0, 0, 0, 0, 0, 0}, std::nullopt, false, 0, 0, 0, 0, 0},
        {"cgroup limit below the machine's memory",
         {8 * GiB, 4 * GiB, 6 * GiB, 0, 0, 0, 0},
         CgroupMemoryBound{1 * GiB, GiB / 4},
         true,
         1 * GiB,
         GiB / 4,
         75,
         1 * GiB,
         GiB / 4},
        {"cgroup headroom above what the machine has left",
         {8 * GiB, 0, GiB / 8, 0, 0, 0, 0},
         CgroupMemoryBound{2 * GiB, 1 * GiB},
         true,
         2 * GiB,
         GiB / 8,
         93,
         2 * GiB,
         GiB / 8},
        {"cgroup limit above the machine's memory changes nothing",
         {8 * GiB, 0, 6 * GiB, 0, 0, 0, 0},
         CgroupMemoryBound{16 * GiB, 10 * GiB},
         true,
         8 * GiB,
         6 * GiB,
         25,
         8 * GiB,
         6 * GiB},
        {"saturating sums", {max, max, std::nullopt, max, max, max, max}, std::nullopt, true, max, max, 0, max, max},
        {"swap free above swap total",
         {4 * GiB, 0, 2 * GiB, 0, 0, 1 * GiB, 3 * GiB},
         std::nullopt,
         true,
         4 * GiB,
         2 * GiB,
         50,
         5 * GiB,
         3 * GiB},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto status = memoryStatusFrom(c.info, c.cgroup);
        ASSERT_EQ(status.has_value(), c.valid);
        if (!status)
            continue;
        EXPECT_EQ(status->totalPhys, c.total);
        EXPECT_EQ(status->availPhys, c.available);
        EXPECT_EQ(status->memoryLoad, c.load);
        EXPECT_EQ(status->totalPageFile, c.totalPageFile);
        EXPECT_EQ(status->availPageFile, c.availPageFile);
    }
}

TEST(LinuxMemInfo, CgroupBoundIsTheTightestAlongThePath) {
    struct Case {
        const char* label;
        std::vector<CgroupMemoryLevel> levels;
        std::optional<CgroupMemoryBound> bound;
    };
    const Case cases[] = {
        {"no levels", {}, std::nullopt},
        {"no limits anywhere", {{std::nullopt, 100, 0}, {std::nullopt, 50, 10}}, std::nullopt},
        {"page cache that can be dropped counts as available", {{1000, 600, 200}}, CgroupMemoryBound{1000, 600}},
        {"usage unknown: no bound", {{1000, std::nullopt, 0}}, std::nullopt},
        {"usage unknown above a readable level",
         {{500, std::nullopt, 0}, {1000, 100, 0}},
         CgroupMemoryBound{1000, 900}},
        {"usage above the limit", {{1000, 1500, 0}}, CgroupMemoryBound{1000, 0}},
        {"inactive file above usage", {{1000, 100, 500}}, CgroupMemoryBound{1000, 1000}},
        {"parent's limit is tighter", {{500, 400, 0}, {1000, 100, 0}}, CgroupMemoryBound{500, 100}},
        {"child's headroom is smaller though its limit is larger",
         {{2000, 1000, 0}, {3000, 2900, 0}},
         CgroupMemoryBound{2000, 100}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const auto bound = cgroupMemoryBound(c.levels);
        ASSERT_EQ(bound.has_value(), c.bound.has_value());
        if (bound) {
            EXPECT_EQ(bound->limit, c.bound->limit);
            EXPECT_EQ(bound->available, c.bound->available);
        }
    }
}

TEST(LinuxMemInfo, FindsTheProcessCgroup) {
    struct Case {
        const char* label;
        std::string text;
        std::optional<std::string> v1, v2;
    };
    const Case cases[] = {
        {"recorded hybrid machine", linuxFixture("firecracker-vm/proc/self/cgroup"),
         "/process_api/da4b5ab80c8c549d49534e02e6d9545a", "/"},
        {"unified only", linuxFixture("intel-desktop/proc/self/cgroup"), std::nullopt,
         "/user.slice/user-1000.slice/session-2.scope"},
        {"container namespace", linuxFixture("docker-container/proc/self/cgroup"), std::nullopt, "/"},
        {"kernel without cgroups", "", std::nullopt, std::nullopt},
        {"memory shares a hierarchy", "5:cpu,memory:/a/b\n", "/a/b", std::nullopt},
        {"path containing a colon", "0::/x:y\n", std::nullopt, "/x:y"},
        {"malformed lines", "garbage\n4:memory\n4:memory:relative\n0:x:/ignored\n", std::nullopt, std::nullopt},
        {"memory must be a whole name", "3:memoryx:/a\n", std::nullopt, std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        const CgroupPaths paths = parseProcCgroup(c.text);
        EXPECT_EQ(paths.v1Memory, c.v1);
        EXPECT_EQ(paths.v2, c.v2);
    }
}

TEST(LinuxMemInfo, WalksTheCgroupPathBelowTheMount) {
    using Dirs = std::vector<std::string>;
    const struct {
        const char* path;
        Dirs directories;
    } cases[] = {
        {"/", {"/m"}},
        {"/a/b", {"/m", "/m/a", "/m/a/b"}},
        {"//a//b/", {"/m", "/m/a", "/m/a/b"}},
        // A cgroup outside the reader's namespace: nothing below the mount stands for it.
        {"/../../batch/job1", {}},
        {"/a/../../etc", {}},
        {"///./", {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(cgroupDirectories("/m", c.path), c.directories);
    }
}

TEST(LinuxMemInfo, ParsesLimitAndStatFiles) {
    EXPECT_EQ(parseCgroupLimit("536870912\n"), 536870912u);
    EXPECT_EQ(parseCgroupLimit("max\n"), std::nullopt);
    EXPECT_EQ(parseCgroupLimit("9223372036854771712\n"), std::nullopt);  // v1's "unlimited"
    EXPECT_EQ(parseCgroupLimit(""), std::nullopt);
    EXPECT_EQ(parseCgroupLimit("-1"), std::nullopt);
    EXPECT_EQ(parseCgroupLimit("0x100"), std::nullopt);
    EXPECT_EQ(parseCgroupLimit("0\n"), std::nullopt);  // no process runs under it: not divided by

    const std::string stat = linuxFixture("docker-container/sys/fs/cgroup/memory.stat");
    EXPECT_EQ(memoryStatField(stat, "inactive_file"), 20971520u);
    EXPECT_EQ(memoryStatField(stat, "anon"), 49283072u);
    EXPECT_EQ(memoryStatField(stat, "total_inactive_file"), std::nullopt);
    EXPECT_EQ(memoryStatField("inactive_file lots\n", "inactive_file"), std::nullopt);
    EXPECT_EQ(procSizeField("Name:\tzelvo\nVmSize:\t  123456 kB\n", "VmSize"), 123456u * 1024);
    EXPECT_EQ(procSizeField("VmRSS:\t1 kB\n", "VmSize"), std::nullopt);
}

}  // namespace
}  // namespace zelvo::platform
