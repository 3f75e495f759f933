// One whole load-monitor tick on this machine: statistics read, memory query, texts and the
// repaint of the memory page, on a shown window.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/linux/LinuxPlatform.h"
#include "ui/TForm1.h"

namespace {

void BM_Timer2TimerOnThisMachine(benchmark::State& state) {
    QTemporaryDir config;
    zelvo::platform::LinuxPlatformOptions options;
    options.registrationDirectory = config.path();  // never the user's own file
    zelvo::platform::LinuxPlatform platform(options);
    zelvo::TForm1 form(platform);
    form.showErrorBox = [](const QString&) {};
    form.FormCreate();
    form.Timer2->stop();
    form.show();
    form.PageControl1->setCurrentWidget(form.MemTab);
    QApplication::processEvents();
    for (auto _ : state)
        form.fire(&zelvo::TForm1::Timer2Timer);
}
BENCHMARK(BM_Timer2TimerOnThisMachine)->Unit(benchmark::kMicrosecond);

}  // namespace
