// Exporting the 1-million-record survey to DXF (the export command's save), with numbers
// formatted by the fast route against every number formatted by snprintf. Both write a file in
// bench-data/ and flush it to the disk; the ratio of the two is the figure that matters.
#include <benchmark/benchmark.h>
#include <sys/stat.h>

#include <cstdio>
#include <string>

#include "bench/BenchData.h"
#include "dxf/DxfExport.h"
#include "plot/KorvaneDoc.h"
#include "plot/UserFeedback.h"

namespace {
class QuietFeedback : public UserFeedback {
  public:
    void ShowMessage(const std::string&) override {}
};

void ExportDxf(benchmark::State& state, DxfNumberStyle style) {
    const std::string path = BenchDataPath("survey-1m.plt");
    if (!BenchDataExists(path)) return state.SkipWithError(kMissingData);
    const std::string out = BenchDataPath("export-bench.dxf");
    QuietFeedback feedback;
    CKorvaneDoc doc(feedback);
    doc.OnOpenDocument(path);
    for (auto _ : state) ExportDxf(doc, out, style);
    struct stat st;
    ::stat(out.c_str(), &st);
    std::remove(out.c_str());
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * st.st_size);
    state.counters["records"] = static_cast<double>(doc.Primitives().size());
    state.counters["dxf_MB"] = static_cast<double>(st.st_size) / 1e6;
}

void BM_ExportDxfFast(benchmark::State& state) {
    ExportDxf(state, DxfNumberStyle::kFast);
}
void BM_ExportDxfSnprintf(benchmark::State& state) {
    ExportDxf(state, DxfNumberStyle::kPrintf);
}
}  // namespace

BENCHMARK(BM_ExportDxfFast)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(3);
BENCHMARK(BM_ExportDxfSnprintf)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Repetitions(3);
BENCHMARK_MAIN();
