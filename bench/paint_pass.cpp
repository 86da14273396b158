// The paint pass alone: every primitive of the 10-million-record survey drawn through the plot
// context onto a surface that only counts. Target: at least 20 million primitives per second of
// CPU time (the rate is taken over the process's CPU time, so other work on the machine does not
// count against it).
#include <benchmark/benchmark.h>

#include "BenchDocument.h"
#include "render/CountingSurface.h"
#include "view/FirstView.h"

static void BM_PaintPass10M(benchmark::State& state) {
    static BenchDocument data("survey-10m.plt");
    if (!data.Ok()) {
        state.SkipWithError("bench-data/survey-10m.plt is missing");
        return;
    }
    FirstView view(data.Doc(), 1920, 1080);
    CountingSurface surface;
    for (auto _ : state) {
        view.Paint(surface);
        benchmark::DoNotOptimize(view.m_view.GetDrawnCount());
    }
    const double prims = static_cast<double>(data.Doc().Primitives().size());
    state.counters["primitives/s"] =
        benchmark::Counter(prims, benchmark::Counter::kIsIterationInvariantRate);
    state.counters["lines"] = static_cast<double>(surface.m_lines) / state.iterations();
}
BENCHMARK(BM_PaintPass10M)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime();

BENCHMARK_MAIN();
