// One paint of the main window's 100 x 100 pie gauge: the whole off-screen composition, with and
// without the per-cent text, at 1 and 2 device pixels per pixel.
#include <benchmark/benchmark.h>

#include <QFont>
#include <QImage>

#include "probes/Colour.h"
#include "ui/TGauge.h"

namespace {

void BM_GaugePiePaint(benchmark::State& state) {
    zelvo::TGauge gauge;
    gauge.setKind(zelvo::gkPie);
    gauge.setBorderStyle(zelvo::bsNone);
    gauge.setShowText(state.range(0) != 0);
    gauge.setForeColor(zelvo::colour::Red);
    gauge.setBackColor(zelvo::colour::White);
    gauge.setColor(zelvo::colour::Black);
    QFont font;
    font.setFamilies({QStringLiteral("ＭＳ Ｐゴシック"), QStringLiteral("IPAPGothic")});
    font.setPixelSize(20);
    font.setBold(true);
    gauge.setFont(font);
    gauge.setProgress(42);
    for (auto _ : state) {
        QImage picture = gauge.renderImage(double(state.range(1)) / 100.0);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(BM_GaugePiePaint)
    ->ArgNames({"text", "ratio%"})
    ->ArgsProduct({{0, 1}, {100, 200}})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
