// Cost of one figure text, for the patterns and values the pages write.
#include <benchmark/benchmark.h>

#include <array>
#include <cstddef>
#include <string_view>

#include "format/FormatFigure.h"

namespace {

template <std::size_t N>
void formatEach(benchmark::State& state, std::string_view pattern, const std::array<long double, N>& values) {
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zelvo::FormatFigure(pattern, values[i]));
        i = (i + 1) % N;
    }
    state.SetItemsProcessed(state.iterations());
}

// Memory and disk sizes: byte counts divided into mebibytes.
const std::array<long double, 4> kMegabytes = {16777216.0 * 1023 / 1048576, 8589934592.0 / 1048576,
                                               3221225472.0 / 1048576 - 0.37, 123456789.0 / 1048576};
// Disk sizes in gibibytes.
const std::array<long double, 4> kGigabytes = {500107862016.0 / 1073741824, 37.25, 1.5, 2047.999};
// Measured clocks.
const std::array<long double, 4> kGigahertz = {2.394561, 3.6000004, 1.0625, 4.7991};
const std::array<long double, 4> kMegahertz = {266.125, 999.996, 733.3333, 451.02};
const std::array<long double, 1> kZero = {0};
const std::array<long double, 2> kHuge = {1.5e20, -3e300};

void BM_FormatFigureMegabytes(benchmark::State& state) {
    formatEach(state, zelvo::kMegabytePattern, kMegabytes);
}
void BM_FormatFigureGigabytes(benchmark::State& state) {
    formatEach(state, zelvo::kGigabytePattern, kGigabytes);
}
void BM_FormatFigureGigahertz(benchmark::State& state) {
    formatEach(state, zelvo::kGigahertzPattern, kGigahertz);
}
void BM_FormatFigureMegahertz(benchmark::State& state) {
    formatEach(state, zelvo::kMegahertzPattern, kMegahertz);
}
void BM_FormatFigureZero(benchmark::State& state) {
    formatEach(state, zelvo::kMegabytePattern, kZero);
}
void BM_FormatFigureGeneralForm(benchmark::State& state) {
    formatEach(state, zelvo::kMegabytePattern, kHuge);
}

}  // namespace

BENCHMARK(BM_FormatFigureMegabytes);
BENCHMARK(BM_FormatFigureGigabytes);
BENCHMARK(BM_FormatFigureGigahertz);
BENCHMARK(BM_FormatFigureMegahertz);
BENCHMARK(BM_FormatFigureZero);
BENCHMARK(BM_FormatFigureGeneralForm);
