// The page probes on the Linux backend, over every recorded machine: the probes look for the
// registry keys and values where the backend puts them, and the pages show the machine's own
// figures from its recorded files.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <algorithm>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "probes/BiosInfo.h"
#include "probes/ProcessorIdentity.h"
#include "probes/Registration.h"
#include "probes/RegistryLocations.h"
#include "support/CodePageTextTesting.h"
#include "support/FixtureFiles.h"
#include "support/LinuxFixtureMachine.h"

namespace zelvo {
namespace {

namespace fs = std::filesystem;

// A recorded file's text without trailing white space and zeros; empty when the file is missing.
std::string recorded(const fs::path& file) {
    std::string value = test::readRecordedFile(file.string());
    while (!value.empty() && (static_cast<unsigned char>(value.back()) <= ' '))
        value.pop_back();
    return value;
}

// The first "key : value" line of /proc/cpuinfo with this key; empty when there is none.
std::string cpuinfoField(const std::string& cpuinfo, const std::string& key) {
    std::istringstream lines(cpuinfo);
    for (std::string line; std::getline(lines, line);) {
        const auto colon = line.find(':');
        if (colon == std::string::npos || line.compare(0, key.size(), key) != 0 ||
            line.find_first_not_of(" \t", key.size()) != colon)
            continue;
        const auto start = line.find_first_not_of(' ', colon + 1);
        return start == std::string::npos ? std::string() : line.substr(start);
    }
    return {};
}

// Every recorded machine: the fixture folders with a /proc/cpuinfo.
std::vector<std::string> recordedMachines() {
    std::vector<std::string> machines;
    for (const auto& entry : fs::directory_iterator(fs::path(ZELVO_FIXTURE_DIR) / "linux"))
        if (fs::exists(entry.path() / "proc/cpuinfo"))
            machines.push_back(entry.path().filename().string());
    std::sort(machines.begin(), machines.end());
    return machines;
}

class LinuxProbes : public testing::TestWithParam<std::string> {};

TEST_P(LinuxProbes, PagesShowTheRecordedMachine) {
    const fs::path dir = test::machineDir(GetParam());
    QTemporaryDir config;
    ASSERT_TRUE(config.isValid());
    platform::LinuxPlatform platform(test::optionsFor(GetParam(), config));

    // NT family: no load gauge, and the NT locations.
    RegistryLocations locations;
    EXPECT_EQ(DetectPlatform(platform.identity(), locations), std::optional<bool>(false));

    const std::string cpuinfo = recorded(dir / "proc/cpuinfo");
    const ProcessorIdentity identity = ReadProcessorIdentity(platform.registry(), platform.text(), locations);
    const std::string modelName = cpuinfoField(cpuinfo, "model name");
    const std::string vendorId = cpuinfoField(cpuinfo, "vendor_id");
    EXPECT_FALSE(identity.name.empty());
    EXPECT_FALSE(identity.vendor.empty());
    if (!modelName.empty()) {
        EXPECT_EQ(identity.name, modelName);
    }
    if (!vendorId.empty()) {
        EXPECT_EQ(identity.vendor, vendorId);
    }

    const Registration registration = ReadRegistration(platform.registry(), platform.text(), locations);
    EXPECT_EQ(registration.owner, "Test Owner");
    EXPECT_EQ(registration.organization, "");

    const BiosPage page = FillBiosPage(platform.identity(), platform.memory(), platform.registry(), platform.text());
    EXPECT_EQ(page.tabVisible, std::optional<bool>(true));
    ASSERT_EQ(page.memoAdditions.size(), 5u);
    const std::string& pieces = page.memoAdditions[1];
    const std::string biosVersion = recorded(dir / "sys/class/dmi/id/bios_version");
    const std::string boardModel = recorded(dir / "sys/firmware/devicetree/base/model");
    if (!biosVersion.empty()) {
        EXPECT_NE(pieces.find(biosVersion + "\r\n"), std::string::npos) << pieces;
    }
    if (!boardModel.empty()) {
        EXPECT_NE(pieces.find(boardModel + "\r\n"), std::string::npos) << pieces;
    }
    if (biosVersion.empty() && boardModel.empty()) {
        EXPECT_EQ(pieces, "");
    }
    EXPECT_EQ(page.memoAdditions[2], recorded(dir / "sys/class/dmi/id/bios_date"));
    // No recorded machine has a driver module with a version: the kernel drives its bridge.
    const bool hasPci = fs::exists(dir / "sys/bus/pci/devices") && !fs::is_empty(dir / "sys/bus/pci/devices");
    EXPECT_EQ(page.memoAdditions[3].empty(), !hasPci) << page.memoAdditions[3];
    EXPECT_EQ(page.memoAdditions[4], "Ver " + (hasPci ? recorded(dir / "proc/sys/kernel/osrelease") : std::string()));
}

INSTANTIATE_TEST_SUITE_P(RecordedMachines, LinuxProbes, testing::ValuesIn(recordedMachines()),
                         [](const testing::TestParamInfo<std::string>& paramInfo) {
                             return test::testName(paramInfo.param);
                         });

}  // namespace
}  // namespace zelvo
