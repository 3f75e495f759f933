#pragma once
// Measuring the processor clock: cycles counted over 4000 ms of the system's tick count.

#include <string>

#include "platform/Clock.h"
#include "probes/Colour.h"

namespace zelvo {

// Busy-waits for about 4 seconds and returns the cycle rate in Hz, a whole number.
double MeasureClock(platform::Clock& clock);

struct ClockText {
    std::string text;  // UTF-8
    ColourValue colour = colour::Fuchsia;
};

// GHz in aqua from 1,000,000,000 Hz on, otherwise MHz in fuchsia; the unit is chosen before rounding.
ClockText ClockFrequencyText(double hertz);

}  // namespace zelvo
