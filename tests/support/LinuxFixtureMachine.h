#pragma once
// The Linux backend pointed at a recorded machine under tests/fixtures/linux, with the host-name
// service and the X server replaced by fakes and the registration kept in a temporary directory.

#include <QLocale>
#include <QTemporaryDir>

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "TestConfig.h"
#include "platform/linux/DisplayModes.h"
#include "platform/linux/HostnameService.h"
#include "platform/linux/LinuxPlatform.h"

namespace zelvo::test {

class FakeHostnameService final : public platform::HostnameService {
public:
    bool setHostName(const std::string& name) override {
        received.push_back(name);
        return accept;
    }
    std::vector<std::string> received;
    bool accept = true;
};

class FakeXrandr final : public platform::XrandrSource {
public:
    explicit FakeXrandr(std::optional<platform::XrandrScreen> screen) : screen_(std::move(screen)) {}
    std::optional<platform::XrandrScreen> query() override {
        ++queries;
        return screen_;
    }
    int queries = 0;

private:
    std::optional<platform::XrandrScreen> screen_;
};

inline std::string machineDir(const std::string& machine) {
    return std::string(ZELVO_FIXTURE_DIR) + "/linux/" + machine;
}

// A machine's folder name as a test name ("amd-laptop" → "amd_laptop").
inline std::string testName(std::string machine) {
    std::replace(machine.begin(), machine.end(), '-', '_');
    return machine;
}

inline platform::LinuxPlatformOptions optionsFor(const std::string& machine, const QTemporaryDir& config) {
    const std::string dir = machineDir(machine);
    platform::LinuxPlatformOptions options;
    options.roots.proc = dir + "/proc";
    options.roots.sys = dir + "/sys";
    options.roots.etc = dir + "/etc";
    options.roots.dev = dir + "/dev";
    options.roots.udevData = dir + "/run/udev/data";
    options.roots.mountPrefix = dir;
    options.pciIdsFiles = {dir + "/usr/share/misc/pci.ids"};
    options.registrationDirectory = config.path();
    options.defaultOwner = "Test Owner";
    options.hostnameService = std::make_shared<FakeHostnameService>();
    options.xrandr = std::make_shared<FakeXrandr>(std::nullopt);
    options.systemLocale = [] { return QLocale::c(); };
    return options;
}

}  // namespace zelvo::test
