// Accuracy check of the clock measurement on this machine: runs the same 4-second measurement the
// CPU page runs and compares it with the processor's reference frequency as the kernel knows it.
//
//   zelvo_clock_accuracy            (reads the kernel log through `dmesg`, so run it as root for
//                                    the calibrated figure; otherwise a weaker source is used)
#include <cstdio>
#include <fstream>
#include <optional>
#include <regex>
#include <string>

#include "platform/Platform.h"
#include "probes/ClockMeasurement.h"

namespace {

struct Reference {
    double hz;
    std::string source;
};

std::optional<double> LastMatch(const std::string& text, const std::regex& pattern) {
    std::optional<double> found;
    for (auto it = std::sregex_iterator(text.begin(), text.end(), pattern); it != std::sregex_iterator(); ++it)
        found = std::stod((*it)[1].str()) * 1e6;
    return found;
}

std::string CommandOutput(const char* command) {
    std::string output;
    if (FILE* pipe = popen(command, "r")) {
        char buffer[4096];
        std::size_t n;
        while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0)
            output.append(buffer, n);
        pclose(pipe);
    }
    return output;
}

std::string FileText(const char* path) {
    std::ifstream file(path);
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The calibrated time-stamp-counter frequency is the best reference; the frequency leaves and
// "cpu MHz" (right on a virtual machine without frequency scaling) follow.
std::optional<Reference> FindReference() {
    const std::string log = CommandOutput("dmesg 2>/dev/null");
    if (auto hz = LastMatch(log, std::regex(R"(Refined TSC clocksource calibration: ([0-9.]+) MHz)")))
        return Reference{*hz, "kernel log: Refined TSC clocksource calibration"};
    if (auto hz = LastMatch(log, std::regex(R"(tsc: Detected ([0-9.]+) MHz processor)")))
        return Reference{*hz, "kernel log: tsc: Detected"};
    const std::string base = FileText("/sys/devices/system/cpu/cpu0/cpufreq/base_frequency");
    if (!base.empty())
        return Reference{std::stod(base) * 1e3, "cpufreq base_frequency"};
    if (auto hz = LastMatch(FileText("/proc/cpuinfo"), std::regex(R"(cpu MHz\s*:\s*([0-9.]+))")))
        return Reference{*hz, "/proc/cpuinfo cpu MHz"};
    return std::nullopt;
}

}  // namespace

int main() {
    auto platform = zelvo::platform::createSystemPlatform();
    const double measured = zelvo::MeasureClock(platform->clock());
    std::printf("measured   %.0f Hz (%s)\n", measured, zelvo::ClockFrequencyText(measured).text.c_str());
    const auto reference = FindReference();
    if (!reference) {
        std::printf("reference  none found\n");
        return 1;
    }
    std::printf("reference  %.0f Hz from %s\n", reference->hz, reference->source.c_str());
    std::printf("ratio      %.5f (deviation %+.3f %%)\n", measured / reference->hz,
                (measured / reference->hz - 1.0) * 100.0);
    return 0;
}
