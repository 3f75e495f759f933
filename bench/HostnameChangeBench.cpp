// How long the window goes without a repaint while a host-name change waits for systemd-hostnamed,
// against a stand-in service on a private bus that never answers (or answers at once). The wait
// is bounded by 2 s here instead of the program's 60 s; the gap does not depend on the bound.
#include <benchmark/benchmark.h>

#include <QElapsedTimer>
#include <QPainter>
#include <QTimer>
#include <QWidget>
#include <algorithm>
#include <chrono>

#include "platform/linux/HostnameService.h"
#include "support/FakeHostnamed.h"

namespace {

using zelvo::test::FakeHostnamed;

// A shown widget asked to repaint at 60 Hz that notes the longest time between two paints.
class PaintProbe final : public QWidget {
public:
    PaintProbe() {
        resize(200, 100);
        show();
        connect(&ticker_, &QTimer::timeout, this, qOverload<>(&QWidget::update));
        ticker_.start(16);
    }
    void restart() {
        longestMs_ = 0;
        clock_.start();
    }
    qint64 longestMs() const { return std::max(longestMs_, clock_.elapsed()); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter(this).fillRect(rect(), Qt::white);
        if (clock_.isValid())
            longestMs_ = std::max(longestMs_, clock_.restart());
    }

private:
    QTimer ticker_;
    QElapsedTimer clock_;
    qint64 longestMs_ = 0;
};

void BM_HostNameChangeLongestRepaintGap(benchmark::State& state) {
    const auto answer = static_cast<FakeHostnamed::Answer>(state.range(0));
    zelvo::test::PrivateBus bus;
    if (bus.address().isEmpty()) {
        state.SkipWithError("dbus-daemon did not start");
        return;
    }
    QDBusConnection server = bus.connect(QStringLiteral("zelvo-bench-hostnamed"));
    server.registerService(QStringLiteral("org.freedesktop.hostname1"));
    FakeHostnamed hostnamed;
    hostnamed.answer = answer;
    server.registerVirtualObject(QStringLiteral("/org/freedesktop/hostname1"), &hostnamed);
    const auto service = zelvo::platform::makeDBusHostnameService(bus.connect(QStringLiteral("zelvo-bench-client")),
                                                                  std::chrono::milliseconds(2000));
    PaintProbe probe;
    qint64 longest = 0;
    for (auto _ : state) {
        probe.restart();
        benchmark::DoNotOptimize(service->setHostName("bench-host"));
        longest = std::max(longest, probe.longestMs());
    }
    state.counters["longest_repaint_gap_ms"] = static_cast<double>(longest);
    server.unregisterObject(QStringLiteral("/org/freedesktop/hostname1"));
}
BENCHMARK(BM_HostNameChangeLongestRepaintGap)
    ->Arg(static_cast<int>(FakeHostnamed::Answer::Never))
    ->Arg(static_cast<int>(FakeHostnamed::Answer::Success))
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
