// How long the window goes without a repaint while the load monitor's tick fails every time: a
// Windows 9x machine whose processor load is stored as a string, with the program's own modal
// error boxes, one more every 2 s, left open for 5 s.
#include <benchmark/benchmark.h>

#include <QEventLoop>
#include <QTimer>
#include <algorithm>

#include "PaintProbe.h"
#include "platform/sim/SimPlatform.h"
#include "support/OpenBoxes.h"
#include "ui/TForm1.h"

namespace {

using namespace zelvo::platform;

void BM_FailingTickLongestRepaintGap(benchmark::State& state) {
    constexpr int kOpenMs = 5000;
    SimMachine machine = makeWin9xMachine();
    machine.registry.setValue(kHKeyDynData, "PerfStats\\StatData", "KERNEL\\CPUUsage", regSz("12"));
    PaintProbe probe;
    qint64 longest = 0;
    std::size_t boxes = 0;
    for (auto _ : state) {
        SimPlatform platform(machine);
        zelvo::TForm1 form(platform);
        QEventLoop loop;
        // Once counted, every box is closed (and any tick already on its way) before the loop ends.
        QTimer closer;
        zelvo::test::closeBoxesThenQuit(closer, loop);
        QTimer::singleShot(kOpenMs, Qt::PreciseTimer, &loop, [&] {
            longest = std::max(longest, probe.longestMs());
            boxes = std::max(boxes, zelvo::test::openMessageBoxes().size());
            form.Timer2->stop();
            closer.start(20);
        });
        probe.restart();
        form.Timer2->start();  // the 2 s ticks count from here
        loop.exec();
    }
    state.counters["longest_repaint_gap_ms"] = static_cast<double>(longest);
    state.counters["boxes_open_after_5s"] = static_cast<double>(boxes);
}
BENCHMARK(BM_FailingTickLongestRepaintGap)->Iterations(1)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
