// The pens panel's costs. The scan behind it (marks and colours by pen) over the 10-million-record
// survey, which runs on the window's thread once per drawing change: target under 0.25 s. And
// the second paint of the 1-million-record survey into a 1920 x 1080 image with no pen hidden
// (arg 0) against every pen hidden (arg 1): hidden marks cost no raster time, so the second is
// a fraction of the first.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "../BenchDocument.h"
#include "BenchApp.h"
#include "plot/KorvaneDoc.h"
#include "render/qt/QPainterSurface.h"
#include "view/FirstView.h"
#include "view/PenSummary.h"

namespace {
void BM_PenSummary10M(benchmark::State& state) {
    static BenchDocument data("survey-10m.plt");
    if (!data.Ok()) return state.SkipWithError("bench-data/survey-10m.plt is missing");
    PenSummary summary;
    for (auto _ : state) {
        summary = SummarizePens(data.Doc().Primitives());
        benchmark::DoNotOptimize(summary);
    }
    for (int pen = 1; pen <= kDxfPens; ++pen) {
        state.counters["pen" + std::to_string(pen)] =
            static_cast<double>(summary.pens[pen - 1].marks);
    }
}

void BM_PaintHidden1M(benchmark::State& state) {
    EnsureBenchApp();
    static BenchDocument data("survey-1m.plt");
    if (!data.Ok()) return state.SkipWithError("bench-data/survey-1m.plt is missing");
    FirstView view(data.Doc(), 1920, 1080);
    if (state.range(0)) view.m_view.SetHiddenPens(PenSet().set());
    QImage image(1920, 1080, QImage::Format_RGB32);
    PaintEachIteration(state, view, image);
}
}  // namespace

BENCHMARK(BM_PenSummary10M)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();
BENCHMARK(BM_PaintHidden1M)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK_MAIN();
