#include "probes/ClockMeasurement.h"

#include <gtest/gtest.h>

#include <vector>

#include "format/NumberSeparators.h"
#include "platform/sim/SimPlatform.h"

namespace zelvo {
namespace {

using namespace platform;

// A tick count that steps by one millisecond per read from `start`, and a cycle counter that
// counts `cyclesPerMs` per millisecond of that time; it records every reading.
struct DrivenClock {
    DrivenClock(std::uint32_t startTick, std::uint64_t cycles) : start(startTick), cyclesPerMs(cycles) {}
    std::uint32_t start;
    std::uint64_t cyclesPerMs;
    std::uint64_t elapsedMs = 0;
    std::vector<std::uint32_t> ticks;
    std::vector<std::uint64_t> cycleReads;

    void attach(SimMachine& machine) {
        machine.tickCount = [this] {
            const auto tick = static_cast<std::uint32_t>(start + elapsedMs);
            ++elapsedMs;
            ticks.push_back(tick);
            return tick;
        };
        machine.cycleCounter = [this] {
            cycleReads.push_back(1000000 + elapsedMs * cyclesPerMs);
            return cycleReads.back();
        };
    }
};

TEST(MeasureClock, CountsFromTheReadingBeforeTheBoundary) {
    SimMachine machine = makeNtMachine();
    DrivenClock clock{1000, 600000};
    clock.attach(machine);
    SimPlatform platform(machine);

    const double hz = MeasureClock(platform.clock());
    // Reads: t0 = 1000, boundary 1001, then the wait runs until 5000 is seen.
    ASSERT_GE(clock.ticks.size(), 3u);
    EXPECT_EQ(clock.ticks[0], 1000u);
    EXPECT_EQ(clock.ticks[1], 1001u);
    EXPECT_EQ(clock.ticks.back(), 5000u);
    ASSERT_EQ(clock.cycleReads.size(), 2u);
    // The cycles counted span 2 ms .. 4001 ms of reads: 3999 ms of 600,000 cycles, over 4 s.
    EXPECT_EQ(hz, static_cast<double>(3999ull * 600000ull / 4));
}

TEST(MeasureClock, AWrappingTickCountStillWaitsTheWholeWindow) {
    SimMachine machine = makeNtMachine();
    DrivenClock clock{0xFFFFFFFFu - 1500, 1000000};
    clock.attach(machine);
    SimPlatform platform(machine);

    const double hz = MeasureClock(platform.clock());
    // The count passes through zero during the wait; the measurement still covers 4000 ms.
    EXPECT_EQ(clock.ticks.back(), static_cast<std::uint32_t>(0xFFFFFFFFu - 1500 + 4000));
    EXPECT_EQ(hz, 3999.0 * 1000000.0 / 4.0);
}

TEST(MeasureClock, RoundsHalfCyclesToEven) {
    const struct {
        std::uint64_t cycles;
        double hz;
    } rows[] = {{10, 2.0}, {14, 4.0}, {6, 2.0}, {2, 0.0}, {18, 4.0}, {17, 4.0}, {19, 5.0}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.cycles);
        SimMachine machine = makeNtMachine();
        std::uint32_t tick = 0;
        int cycleRead = 0;
        machine.tickCount = [&tick] { return tick++; };
        machine.cycleCounter = [&cycleRead, &row]() -> std::uint64_t {
            return cycleRead++ == 0 ? 100 : 100 + row.cycles;
        };
        SimPlatform platform(machine);
        EXPECT_EQ(MeasureClock(platform.clock()), row.hz);
    }
}

TEST(MeasureClock, TheSimulatedClockGivesItsRate) {
    SimMachine machine = makeNtMachine();
    machine.clock.cyclesPerSecond = SimClock::rateMeasuredAs(2400000000.0);
    SimPlatform platform(machine);
    EXPECT_EQ(MeasureClock(platform.clock()), 2400000000.0);
}

TEST(ClockFrequencyText, UnitChosenBeforeRounding) {
    setNumberSeparators({',', '.'});
    const struct {
        double hz;
        const char* text;
        ColourValue colour;
    } rows[] = {
        {2400000000.0, "2.4 GHz", colour::Aqua},
        {1000000000.0, "1 GHz", colour::Aqua},
        {999999999.0, "1,000 MHz", colour::Fuchsia},
        {450000000.0, "450 MHz", colour::Fuchsia},
        {266125000.0, "266.13 MHz", colour::Fuchsia},
        {3062500000.0, "3.063 GHz", colour::Aqua},
        {0.0, "0 MHz", colour::Fuchsia},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        const ClockText text = ClockFrequencyText(row.hz);
        EXPECT_EQ(text.text, row.text);
        EXPECT_EQ(text.colour, row.colour);
    }
}

}  // namespace
}  // namespace zelvo
