// How long the window goes without a repaint while a host-name change waits for systemd-hostnamed,
// against a stand-in service on a private bus that never answers (or answers at once). The wait
// is bounded by 2 s here instead of the program's 60 s; the gap does not depend on the bound. The
// change is made from the event loop with 100 ms of it before and after (see PaintProbe).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>

#include "PaintProbe.h"
#include "platform/linux/HostnameService.h"
#include "support/FakeHostnamed.h"

namespace {

using zelvo::test::FakeHostnamed;

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
    for (auto _ : state)
        longest = std::max(longest, probe.longestGapAround([&] { (void)service->setHostName("bench-host"); }));
    state.counters["longest_repaint_gap_ms"] = static_cast<double>(longest);
    server.unregisterObject(QStringLiteral("/org/freedesktop/hostname1"));
}
BENCHMARK(BM_HostNameChangeLongestRepaintGap)
    ->ArgName("answer")
    ->Arg(static_cast<int>(FakeHostnamed::Answer::Never))
    ->Arg(static_cast<int>(FakeHostnamed::Answer::Success))
    ->Iterations(3)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
