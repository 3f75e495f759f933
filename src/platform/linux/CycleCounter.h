#pragma once
// The processor's cycle counter for the clock measurement.
//
// x86: the time-stamp counter, as on Windows. Elsewhere the architected timers run at a fixed rate
// unrelated to the processor's clock (54 MHz on a Raspberry Pi 4), so they would measure the
// wrong thing. There the counter is the kernel's count of this thread's processor cycles
// (perf_event, PERF_COUNT_HW_CPU_CYCLES, user mode only, which an ordinary user may open at the
// default perf_event_paranoid of 2); where perf is not permitted, the raw monotonic clock scaled
// by cpufreq's current frequency of the processor the thread runs on; and where that is unknown
// too, 0, so the page shows 0 Hz instead of an invented figure.

#include <cstdint>
#include <optional>
#include <string>

namespace zelvo::platform {

// Cycles elapsed in `nanoseconds` at `kilohertz` (cpufreq's unit), without overflow.
std::uint64_t cyclesFromTime(std::uint64_t nanoseconds, std::uint64_t kilohertz);

class CycleCounter {
public:
    // `sysRoot` locates cpufreq (/sys/devices/system/cpu/cpuN/cpufreq/scaling_cur_freq).
    explicit CycleCounter(std::string sysRoot);
    ~CycleCounter();
    CycleCounter(const CycleCounter&) = delete;
    CycleCounter& operator=(const CycleCounter&) = delete;

    std::uint64_t read() const;

private:
    std::uint64_t readWithoutTsc() const;

    std::string sysRoot_;
    // Opened at the first read; the running count of the scaled fallback.
    mutable int perfFd_ = -1;
    mutable bool perfTried_ = false;
    mutable std::uint64_t lastNanoseconds_ = 0;
    mutable std::uint64_t scaledCycles_ = 0;
};

}  // namespace zelvo::platform
