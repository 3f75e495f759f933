// The Linux backend on copies of a recorded machine whose files hold what a broken or unusual
// machine writes: a memory limit whose usage cannot be read, a host name with spaces at its ends.

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "platform/linux/LinuxPlatform.h"
#include "probes/LoadMonitor.h"
#include "support/CodePageTextTesting.h"
#include "support/LinuxFixtureMachine.h"

namespace zelvo::platform {
namespace {

namespace fs = std::filesystem;

constexpr std::uint64_t KiB = 1024;

// A copy of the recorded machine `machine` in a temporary directory, whose files a test may change.
class MachineCopy {
public:
    explicit MachineCopy(const std::string& machine) {
        if (dir_.isValid())
            fs::copy(test::machineDir(machine), dir_.path().toStdString(),
                     fs::copy_options::recursive | fs::copy_options::copy_symlinks);
    }
    bool isValid() const { return dir_.isValid(); }
    void write(const std::string& relative, const std::string& text) const {
        std::ofstream(dir_.path().toStdString() + relative, std::ios::binary | std::ios::trunc) << text;
    }
    LinuxPlatformOptions options() const {
        LinuxPlatformOptions options;
        options.roots = LinuxRoots::below(dir_.path().toStdString());
        options.pciIdsFiles = {};
        options.registrationDirectory = dir_.filePath(QStringLiteral("config"));
        options.defaultOwner = "Test Owner";
        options.hostnameService = std::make_shared<test::FakeHostnameService>();
        options.xrandr = std::make_shared<test::FakeXrandr>(std::nullopt);
        options.systemLocale = [] { return QLocale::c(); };
        return options;
    }

private:
    QTemporaryDir dir_;
};

TEST(LinuxMachineFiles, MemoryUsageThatCannotBeReadSetsNoLimit) {
    // The container's meminfo: 7949136 kB in all, 5432100 kB available; its limit is 512 MiB.
    const std::uint64_t machineTotal = 7949136 * KiB;
    const std::uint64_t machineAvailable = 5432100 * KiB;
    const struct {
        const char* label;
        const char* current;
        std::uint64_t totalPhys;
        std::uint64_t availPhys;
        const char* percentage;
    } cases[] = {
        {"usage read: the limit", "73400320\n", 536870912, 536870912 - (73400320 - 20971520), "9 %"},
        {"usage \"max\"", "max\n", machineTotal, machineAvailable, "31 %"},
        {"usage garbage", "7x3400\n", machineTotal, machineAvailable, "31 %"},
        {"usage empty", "", machineTotal, machineAvailable, "31 %"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.label);
        MachineCopy machine("docker-container");
        ASSERT_TRUE(machine.isValid());
        machine.write("/sys/fs/cgroup/memory.current", c.current);
        LinuxPlatform platform(machine.options());
        const MemoryStatus status = platform.memory().globalMemoryStatus();
        EXPECT_EQ(status.totalPhys, c.totalPhys);
        EXPECT_EQ(status.availPhys, c.availPhys);
        EXPECT_EQ(ComputeMemoryFigures(status).percentageText, c.percentage);
    }
}

TEST(LinuxMachineFiles, HostNameAsTheKernelHoldsIt) {
    const struct {
        const char* file;
        std::optional<std::string> name;
    } cases[] = {
        {"workstation\n", "workstation"},
        {" leading-space\n", " leading-space"},
        {"trailing-space \n", "trailing-space "},
        {"  \n", "  "},
        {"no-line-break", "no-line-break"},
        {"\n", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.file);
        MachineCopy machine("intel-desktop");
        ASSERT_TRUE(machine.isValid());
        machine.write("/proc/sys/kernel/hostname", c.file);
        LinuxPlatform platform(machine.options());
        EXPECT_EQ(platform.identity().getComputerName(65), c.name);
        // Such a name is shown, never set: hostnamed refuses it too.
        if (c.name) {
            EXPECT_EQ(platform.identity().setComputerName(CodePageText(*c.name)),
                      c.name->find(' ') == std::string::npos);
        }
    }
}

}  // namespace
}  // namespace zelvo::platform
