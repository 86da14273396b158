// What `korvane-cli info` does (read, first paint, second paint on a counting surface) to the
// costliest plot file per byte we can make: numbers with 32767 decimals and strings of 511 of the
// glyph with the most strokes (korvane-plotgen --kind costly). Target: under 2 s per 10 MB.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <chrono>

#include "BenchData.h"
#include "plot/KorvaneDoc.h"
#include "plot/UserFeedback.h"
#include "render/CountingSurface.h"
#include "view/FirstView.h"

static void BM_CostlyInfo(benchmark::State& state) {
    const std::string path = BenchDataPath("costly-10mb.plt");
    struct stat st;
    if (::stat(path.c_str(), &st) != 0) {
        state.SkipWithError(kMissingData);
        return;
    }
    struct Quiet : UserFeedback {
        void ShowMessage(const std::string&) override {}
    } feedback;
    double seconds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        CKorvaneDoc doc(feedback);
        doc.OnOpenDocument(path);
        FirstView view(doc, 1000, 800);
        CountingSurface surface;
        view.Paint(surface);
        benchmark::DoNotOptimize(surface.m_lines);
        seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    }
    const double tenMegabytes = static_cast<double>(st.st_size) / 10e6;
    state.counters["s_per_10MB"] = seconds / static_cast<double>(state.iterations()) / tenMegabytes;
}
BENCHMARK(BM_CostlyInfo)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(3);

BENCHMARK_MAIN();
