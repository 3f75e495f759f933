// How long the window goes without a repaint on a machine with an NTFS drive through ntfs-3g
// (fuseblk) whose driver hangs: statvfs of that drive never returns until the benchmark ends.
// The disk page's handlers and the drive selector run as in the program, on the recorded
// dual-boot machine's drives; the rest of the machine is the simulated NT one.
//   first change:  the first time the drive is chosen (the query is given up after 1.5 s)
//   second change: the drive chosen again while that query still hangs
//   list rebuild:  the drive selector's list rebuilt with the drive present
// Each is run from the event loop with 100 ms of it before and after, so the gap includes the
// paints on either side (about 17 ms with nothing in between).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>
#include <algorithm>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "PaintProbe.h"
#include "platform/linux/DriveSeams.h"
#include "platform/linux/LinuxDrives.h"
#include "platform/linux/LinuxRoots.h"
#include "platform/sim/SimPlatform.h"
#include "ui/TDriveComboBox.h"
#include "ui/TForm1.h"

namespace {

using zelvo::platform::DriveSeams;
using zelvo::platform::FsFigures;
using zelvo::platform::LinuxDrives;
using zelvo::platform::LinuxRoots;

const std::string kMachineDir = std::string(ZELVO_BENCH_FIXTURE_DIR) + "/linux/drives/dualboot";
constexpr char kHungLetter = 'e';  // /mnt/data, NTFS through ntfs-3g
const std::string kHungMount = "/mnt/data";

// The hung driver: a statvfs of its mount blocks until released. Shared with the drive workers,
// so it outlives every query.
struct HungDriver {
    std::mutex mutex;
    std::condition_variable changed;
    bool released = false;
    int stuck = 0;  // queries blocked now

    void release() {
        std::unique_lock lock(mutex);
        released = true;
        changed.notify_all();
        // No worker may still be inside the query when the program ends.
        changed.wait(lock, [&] { return stuck == 0; });
    }
    int stuckCount() {
        std::lock_guard lock(mutex);
        return stuck;
    }
};

// statvfs answers every other mount at once with the same figures; the current directory is /home.
DriveSeams seamsWith(const std::shared_ptr<HungDriver>& driver) {
    DriveSeams seams;
    seams.fileSystemFigures = [driver, hung = LinuxRoots::below(kMachineDir).mountPrefix +
                                              kHungMount](const std::string& path) -> std::optional<FsFigures> {
        if (path == hung) {
            std::unique_lock lock(driver->mutex);
            ++driver->stuck;
            driver->changed.wait(lock, [&] { return driver->released; });
            --driver->stuck;
            driver->changed.notify_all();
        }
        return FsFigures{4096, 1000000, 500000, 400000};
    };
    seams.currentDirectory = [] { return std::optional<std::string>("/home/alice"); };
    return seams;
}

// The simulated NT machine with the drive calls and texts of the Linux backend.
class LinuxDrivesMachine final : public zelvo::platform::SimPlatform {
public:
    explicit LinuxDrivesMachine(DriveSeams seams)
        : SimPlatform(zelvo::platform::makeNtMachine()), drives_(LinuxRoots::below(kMachineDir), std::move(seams)) {}

    zelvo::platform::Drives& drives() override { return drives_; }

protected:
    std::string toUtf8(const zelvo::platform::CodePageText& text) const override { return text.bytes(); }
    zelvo::platform::CodePageText fromUtf8(std::string_view utf8) const override {
        return zelvo::platform::CodePageText(std::string(utf8));
    }
    bool isLeadByte(std::uint8_t) const override { return false; }
    bool hasLeadBytes() const override { return false; }

private:
    LinuxDrives drives_;
};

// The window shown on the disk page, its drive selector built; error boxes are counted, not shown.
struct DiskPageWindow {
    explicit DiskPageWindow(const std::shared_ptr<HungDriver>& driver) : platform(seamsWith(driver)), form(platform) {
        form.showErrorBox = [this](const QString&) { ++errorBoxes; };
        form.Timer2->stop();
        form.show();
        form.PageControl1->setCurrentWidget(form.DiskTab);
        QApplication::processEvents();
    }
    void chooseTheHungDrive() { form.DriveComboBox1->setDriveLetter(kHungLetter); }

    LinuxDrivesMachine platform;
    zelvo::TForm1 form;
    int errorBoxes = 0;
};

enum class Step { FirstChange, SecondChange, ListRebuild };

void BM_HungFuseDriveLongestRepaintGap(benchmark::State& state) {
    const auto step = static_cast<Step>(state.range(0));
    auto driver = std::make_shared<HungDriver>();
    PaintProbe probe;
    std::unique_ptr<DiskPageWindow> window;
    qint64 longest = 0;
    int errorBoxes = 0;
    for (auto _ : state) {
        // A new machine each time, so the first change finds no query of the drive still hanging.
        state.PauseTiming();
        window.reset();
        window = std::make_unique<DiskPageWindow>(driver);
        if (step == Step::SecondChange)
            window->chooseTheHungDrive();
        QApplication::processEvents();
        state.ResumeTiming();

        longest = std::max(longest, probe.longestGapAround([&] {
            if (step == Step::ListRebuild)
                window->form.DriveComboBox1->FillDriveList();
            else
                window->chooseTheHungDrive();
        }));
        errorBoxes += window->errorBoxes;
    }
    const bool hungDriveListed =
        std::any_of(window->form.DriveComboBox1->rows().begin(), window->form.DriveComboBox1->rows().end(),
                    [](const zelvo::TDriveComboBox::Row& row) { return row.text.bytes().front() == kHungLetter; });
    state.counters["longest_repaint_gap_ms"] = static_cast<double>(longest);
    state.counters["error_boxes"] = errorBoxes;
    state.counters["queries_stuck"] = driver->stuckCount();
    window.reset();
    driver->release();
    if (!hungDriveListed)
        state.SkipWithError("the hung drive is not in the drive list");
}
BENCHMARK(BM_HungFuseDriveLongestRepaintGap)
    ->ArgName("step")
    ->Arg(static_cast<int>(Step::FirstChange))
    ->Arg(static_cast<int>(Step::SecondChange))
    ->Arg(static_cast<int>(Step::ListRebuild))
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
