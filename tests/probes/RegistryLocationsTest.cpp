#include "probes/RegistryLocations.h"

#include <gtest/gtest.h>

#include "platform/sim/SimPlatform.h"

namespace zelvo {
namespace {

using namespace platform;

TEST(DetectPlatform, LocationsAndGaugeByFamilyTwice) {
    const std::string vendorKey = "Hardware\\Description\\System\\CentralProcessor\\0\\";
    const struct {
        const char* name;
        std::optional<OsVersion> version;
        RegistryLocations expected;
        std::optional<bool> gauge;
    } rows[] = {
        {"9x",
         OsVersion{1, 4, 10, 2222},
         {"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\", vendorKey, "Identifier", vendorKey},
         true},
        {"NT",
         OsVersion{2, 5, 0, 2195},
         {"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\", "HARDWARE\\DESCRIPTION\\System\\CentralProcessor\\0\\",
          "ProcessorNameString", vendorKey},
         false},
        // Neither family: only the vendor key, set before the family is looked at.
        {"unknown", OsVersion{3, 1, 0, 0}, {"", "", "", vendorKey}, std::nullopt},
        {"failed query", std::nullopt, {"", "", "", ""}, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SimMachine machine = makeNtMachine();
        machine.version = row.version;
        SimPlatform platform(machine);
        RegistryLocations locations;
        for (int run = 0; run < 2; ++run) {
            SCOPED_TRACE(run);
            EXPECT_EQ(DetectPlatform(platform.identity(), locations), row.gauge);
            EXPECT_EQ(locations.versionKey, row.expected.versionKey);
            EXPECT_EQ(locations.processorNameKey, row.expected.processorNameKey);
            EXPECT_EQ(locations.processorNameValue, row.expected.processorNameValue);
            EXPECT_EQ(locations.processorVendorKey, row.expected.processorVendorKey);
        }
    }
}

TEST(DetectPlatform, NeitherFamilyKeepsWhatAnEarlierRunSet) {
    SimMachine machine = makeNtMachine();
    SimPlatform platform(machine);
    RegistryLocations locations;
    DetectPlatform(platform.identity(), locations);
    const RegistryLocations before = locations;
    machine.version->platformId = 0;
    EXPECT_EQ(DetectPlatform(platform.identity(), locations), std::nullopt);
    EXPECT_EQ(locations.versionKey, before.versionKey);
    EXPECT_EQ(locations.processorNameValue, before.processorNameValue);
    machine.version.reset();
    EXPECT_EQ(DetectPlatform(platform.identity(), locations), std::nullopt);
    EXPECT_EQ(locations.processorNameKey, before.processorNameKey);
}

}  // namespace
}  // namespace zelvo
