// The Linux backend's costs on the machine it runs on: construction (which reads the processor,
// BIOS and driver keys into the registry during start-up) and the memory query of every 2-second
// tick.
#include <benchmark/benchmark.h>

#include <QTemporaryDir>

#include "platform/linux/LinuxPlatform.h"

namespace {

using zelvo::platform::LinuxPlatform;
using zelvo::platform::LinuxPlatformOptions;

LinuxPlatformOptions realMachine(const QTemporaryDir& config) {
    LinuxPlatformOptions options;
    options.registrationDirectory = config.path();  // never the user's own file
    return options;
}

void BM_LinuxPlatformConstruct(benchmark::State& state) {
    QTemporaryDir config;
    for (auto _ : state) {
        LinuxPlatform platform(realMachine(config));
        benchmark::DoNotOptimize(&platform);
    }
}
BENCHMARK(BM_LinuxPlatformConstruct)->Unit(benchmark::kMicrosecond);

void BM_LinuxGlobalMemoryStatus(benchmark::State& state) {
    QTemporaryDir config;
    LinuxPlatform platform(realMachine(config));
    for (auto _ : state)
        benchmark::DoNotOptimize(platform.memory().globalMemoryStatus());
}
BENCHMARK(BM_LinuxGlobalMemoryStatus)->Unit(benchmark::kMicrosecond);

void BM_LinuxRegistrationRead(benchmark::State& state) {
    QTemporaryDir config;
    LinuxPlatform platform(realMachine(config));
    zelvo::platform::HKey key = 0;
    platform.registry().regOpenKey(zelvo::platform::kHKeyLocalMachine,
                                   "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion", zelvo::platform::RegAccess::Read,
                                   &key);
    for (auto _ : state) {
        std::uint8_t buffer[255];
        std::uint32_t size = sizeof buffer;
        std::uint32_t type = 0;
        benchmark::DoNotOptimize(platform.registry().regQueryValue(key, "RegisteredOwner", &type, buffer, &size));
    }
    platform.registry().regCloseKey(key);
}
BENCHMARK(BM_LinuxRegistrationRead)->Unit(benchmark::kMicrosecond);

}  // namespace
