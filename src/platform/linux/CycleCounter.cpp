#include "platform/linux/CycleCounter.h"

#include <linux/perf_event.h>
#include <sched.h>
#include <sys/syscall.h>
#include <unistd.h>

#include <ctime>

#if defined(__x86_64__) || defined(__i386__)
#include <x86intrin.h>
#endif

#include "platform/linux/LinuxFiles.h"

namespace zelvo::platform {

std::uint64_t cyclesFromTime(std::uint64_t nanoseconds, std::uint64_t kilohertz) {
    const unsigned __int128 cycles = static_cast<unsigned __int128>(nanoseconds) * kilohertz / 1000000u;
    return cycles > UINT64_MAX ? UINT64_MAX : static_cast<std::uint64_t>(cycles);
}

CycleCounter::CycleCounter(std::string sysRoot) : sysRoot_(std::move(sysRoot)) {}

CycleCounter::~CycleCounter() {
    if (perfFd_ >= 0)
        ::close(perfFd_);
}

std::uint64_t CycleCounter::read() const {
#if defined(__x86_64__) || defined(__i386__)
    return __rdtsc();
#else
    return readWithoutTsc();
#endif
}

std::uint64_t CycleCounter::readWithoutTsc() const {
    if (!perfTried_) {
        perfTried_ = true;
        perf_event_attr attr{};
        attr.type = PERF_TYPE_HARDWARE;
        attr.size = sizeof attr;
        attr.config = PERF_COUNT_HW_CPU_CYCLES;
        attr.exclude_kernel = 1;
        attr.exclude_hv = 1;
        perfFd_ = static_cast<int>(::syscall(SYS_perf_event_open, &attr, 0, -1, -1, PERF_FLAG_FD_CLOEXEC));
    }
    if (perfFd_ >= 0) {
        std::uint64_t count = 0;
        if (::read(perfFd_, &count, sizeof count) == static_cast<ssize_t>(sizeof count))
            return count;
    }
    const int cpu = ::sched_getcpu();
    if (cpu < 0)
        return 0;
    const auto text = linuxfs::readTrimmed(
        linuxfs::joinPath(sysRoot_, "/devices/system/cpu/cpu" + std::to_string(cpu) + "/cpufreq/scaling_cur_freq"));
    const auto kilohertz = text ? linuxfs::parseUnsigned(*text) : std::nullopt;
    timespec now{};
    if (!kilohertz || ::clock_gettime(CLOCK_MONOTONIC_RAW, &now) != 0)
        return 0;
    const std::uint64_t nanoseconds =
        static_cast<std::uint64_t>(now.tv_sec) * 1000000000u + static_cast<std::uint64_t>(now.tv_nsec);
    // Accumulated interval by interval, so that a frequency change between two readings scales
    // only the time since the previous reading.
    if (lastNanoseconds_ != 0 && nanoseconds > lastNanoseconds_)
        scaledCycles_ += cyclesFromTime(nanoseconds - lastNanoseconds_, *kilohertz);
    lastNanoseconds_ = nanoseconds;
    return scaledCycles_;
}

}  // namespace zelvo::platform
