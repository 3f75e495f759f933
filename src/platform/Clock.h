#pragma once
// The system's clocks: milliseconds since start and the processor's cycle counter.

#include <cstdint>

namespace zelvo::platform {

class Clock {
public:
    virtual ~Clock() = default;

    // Milliseconds since system start, wrapping at 32 bits; it cannot fail. Not const: on the
    // simulated machine each call moves its clock on.
    virtual std::uint32_t getTickCount() = 0;
    // The processor's cycle count since some fixed point; it cannot fail.
    virtual std::uint64_t readCycleCounter() const = 0;
};

}  // namespace zelvo::platform
