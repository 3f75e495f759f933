// The page handlers a user waits for, on this machine and a shown window: one whole load-monitor
// tick (statistics read, memory query, texts, repaint of the memory page) and picking a drive
// (volume query, size queries, texts, repaint of the disk page).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/linux/LinuxPlatform.h"
#include "ui/TDriveComboBox.h"
#include "ui/TForm1.h"

namespace {

// The window on this machine, shown on `page`; the registration file is never the user's own.
struct ShownWindow {
    explicit ShownWindow(QWidget* (*page)(zelvo::TForm1&)) : platform(options()), form(platform) {
        form.showErrorBox = [](const QString&) {};
        form.FormCreate();
        form.Timer2->stop();
        form.show();
        form.PageControl1->setCurrentWidget(page(form));
        QApplication::processEvents();
    }
    zelvo::platform::LinuxPlatformOptions options() {
        zelvo::platform::LinuxPlatformOptions result;
        result.registrationDirectory = config.path();
        return result;
    }
    QTemporaryDir config;
    zelvo::platform::LinuxPlatform platform;
    zelvo::TForm1 form;
};

void BM_Timer2TimerOnThisMachine(benchmark::State& state) {
    ShownWindow window([](zelvo::TForm1& form) { return form.MemTab; });
    for (auto _ : state)
        window.form.fire(&zelvo::TForm1::Timer2Timer);
}
BENCHMARK(BM_Timer2TimerOnThisMachine)->Unit(benchmark::kMicrosecond);

void BM_PickTheSystemDriveOnThisMachine(benchmark::State& state) {
    ShownWindow window([](zelvo::TForm1& form) { return form.DiskTab; });
    for (auto _ : state)
        window.form.DriveComboBox1Change(window.form.DriveComboBox1);
}
BENCHMARK(BM_PickTheSystemDriveOnThisMachine)->Unit(benchmark::kMicrosecond);

}  // namespace
