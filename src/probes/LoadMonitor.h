#pragma once
// The 2-second refresh: the processor load that the 9x family publishes in its dynamic statistics,
// and the main-memory figures.

#include <cstdint>
#include <optional>

#include "platform/Memory.h"
#include "platform/Registry.h"
#include "platform/TextLocale.h"
#include "probes/Colour.h"
#include "probes/UsageFigures.h"

namespace zelvo {

// Starting and stopping happen by reading every value of the start or stop key; a system without
// the statistics (the NT family) has no such key, and nothing happens.
void StartStatistics(platform::Registry& registry, const platform::TextLocale& text);
void StopStatistics(platform::Registry& registry, const platform::TextLocale& text);

// The processor load in per cent, or nullopt when the statistics are not there. A value of the
// wrong type raises the registry wrapper's error.
std::optional<std::int32_t> ReadCpuLoad(platform::Registry& registry, const platform::TextLocale& text);

// Colour of the load gauge and its label for a load in per cent.
ColourValue CpuLoadColour(std::int32_t load);

// The memory page's figures from a memory status (the memory-status query's answer), sizes always
// in MB. A total of 0 bytes raises the invalid-operation error (0 / 0).
UsageFigures ComputeMemoryFigures(const platform::MemoryStatus& status);

}  // namespace zelvo
