// The kernel release as the version query's numbers, including releases too large to hold.

#include <gtest/gtest.h>

#include "platform/linux/KernelRelease.h"

namespace zelvo::platform {
namespace {

struct ReleaseRow {
    const char* release;
    std::uint32_t major, minor, patch;
};

TEST(LinuxKernelRelease, ReadsTheLeadingNumbers) {
    const ReleaseRow rows[] = {
        {"6.1.0-18-amd64", 6, 1, 0},
        {"6.6.20+rpt-rpi-v8", 6, 6, 20},
        {"5.15", 5, 15, 0},
        {"", 0, 0, 0},
        {"linux", 0, 0, 0},
        {"4294967295.1.2", 4294967295u, 1, 2},
        // A part that does not fit 32 bits is not cut down to a wrong number: it and the parts
        // after it read as 0.
        {"4294967296.1.2", 0, 0, 0},
        {"6.4294967296.1", 6, 0, 0},
        {"6.1.99999999999999999999999", 6, 1, 0},
    };
    for (const ReleaseRow& row : rows) {
        SCOPED_TRACE(row.release);
        const KernelVersion version = parseKernelRelease(row.release);
        EXPECT_EQ(version.major, row.major);
        EXPECT_EQ(version.minor, row.minor);
        EXPECT_EQ(version.patch, row.patch);
    }
}

}  // namespace
}  // namespace zelvo::platform
