#include "probes/LoadMonitor.h"

#include "platform/RegistryWrapper.h"
#include "probes/UsagePercentage.h"

namespace zelvo {

namespace {

void ReadEveryValue(platform::Registry& registry, const platform::TextLocale& text, const char* key) {
    platform::RegistryWrapper wrapper(registry, text, platform::kHKeyDynData);
    wrapper.OpenKey(key, false);
    for (const auto& name : wrapper.GetValueNames()) {
        std::uint8_t data[4];
        wrapper.ReadBinaryData(name, data, sizeof data);
    }
}

}  // namespace

void StartStatistics(platform::Registry& registry, const platform::TextLocale& text) {
    ReadEveryValue(registry, text, "\\PerfStats\\StartStat");
}

void StopStatistics(platform::Registry& registry, const platform::TextLocale& text) {
    ReadEveryValue(registry, text, "\\PerfStats\\StopStat");
}

std::optional<std::int32_t> ReadCpuLoad(platform::Registry& registry, const platform::TextLocale& text) {
    platform::RegistryWrapper wrapper(registry, text, platform::kHKeyDynData);
    if (!wrapper.OpenKey("\\PerfStats\\StatData", false))
        return std::nullopt;
    std::uint8_t data[4] = {};
    if (wrapper.ReadBinaryData("KERNEL\\CPUUsage", data, sizeof data) != sizeof data)
        return std::nullopt;
    const std::uint32_t raw = std::uint32_t(data[0]) | (std::uint32_t(data[1]) << 8) | (std::uint32_t(data[2]) << 16) |
                              (std::uint32_t(data[3]) << 24);
    return static_cast<std::int32_t>(raw);
}

ColourValue CpuLoadColour(std::int32_t load) {
    if (load <= 15)
        return colour::Silver;
    if (load <= 30)
        return colour::White;
    if (load <= 45)
        return colour::Aqua;
    if (load <= 60)
        return colour::Lime;
    if (load <= 75)
        return colour::Yellow;
    if (load <= 90)
        return colour::Fuchsia;
    return colour::Red;
}

UsageFigures ComputeMemoryFigures(const platform::MemoryStatus& status) {
    // The counts stay unsigned 64-bit: a signed copy turns a total of 2^63 bytes or more negative.
    const int percentage = UsagePercentageOfFree(status.totalPhys, status.availPhys);
    const double total = static_cast<double>(status.totalPhys);
    const double free = static_cast<double>(status.availPhys);
    return MakeUsageFigures(total, total - free, free, percentage, SizeUnits::Megabytes);
}

}  // namespace zelvo
