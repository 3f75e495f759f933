#include "probes/ClockMeasurement.h"

#include <cmath>
#include <cstdint>

#include "format/FormatFigure.h"

namespace zelvo {

namespace {
constexpr std::uint32_t kWindowMs = 4000;
constexpr double kWindowSeconds = 4.0;
}  // namespace

double MeasureClock(platform::Clock& clock) {
    const std::uint32_t t0 = clock.getTickCount();
    // Start on a tick boundary, so the window is as close to whole ticks as the clock allows.
    while (clock.getTickCount() == t0) {
    }
    const std::uint64_t c0 = clock.readCycleCounter();
    // The 4000 ms are counted from t0, the reading before the boundary. Comparing the elapsed
    // time rather than a deadline keeps the wait whole when the 32-bit count wraps during it.
    while (static_cast<std::uint32_t>(clock.getTickCount() - t0) < kWindowMs) {
    }
    const std::uint64_t c1 = clock.readCycleCounter();
    const double cycles =
        static_cast<double>(static_cast<std::int64_t>(c1)) - static_cast<double>(static_cast<std::int64_t>(c0));
    // Ties go to the even neighbour under the default rounding mode.
    return static_cast<double>(static_cast<std::int64_t>(std::nearbyint(cycles / kWindowSeconds)));
}

ClockText ClockFrequencyText(double hertz) {
    if (hertz >= 1000000000.0)
        return {FormatFigure(kGigahertzPattern, hertz / 1000000000.0), colour::Aqua};
    return {FormatFigure(kMegahertzPattern, hertz / 1000000.0), colour::Fuchsia};
}

}  // namespace zelvo
