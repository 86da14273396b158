// Saving the 10-million-record survey as plot records (File > Save), against writing the same
// bytes straight from memory. Both go to a file in bench-data/ and are flushed to the disk.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>

#include "bench/BenchData.h"
#include "plot/KorvaneDoc.h"
#include "plot/UserFeedback.h"

namespace {
class QuietFeedback : public UserFeedback {
  public:
    void ShowMessage(const std::string&) override {}
};

void BM_SaveDocument(benchmark::State& state) {
    const std::string path = BenchDataPath("survey-10m.plt");
    if (!BenchDataExists(path)) return state.SkipWithError(kMissingData);
    const std::string out = BenchDataPath("save-bench.plt");
    QuietFeedback feedback;
    CKorvaneDoc doc(feedback);
    doc.OnOpenDocument(path);
    for (auto _ : state) doc.OnSaveDocument(out);
    std::remove(out.c_str());
    state.counters["records"] = static_cast<double>(doc.Primitives().size());
}

void BM_WriteBytesBaseline(benchmark::State& state) {
    const std::string path = BenchDataPath("survey-10m.plt");
    if (!BenchDataExists(path)) return state.SkipWithError(kMissingData);
    std::ifstream in(path, std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const std::string out = BenchDataPath("save-bench.plt");
    for (auto _ : state) {
        int fd = ::open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        for (std::size_t at = 0; at < bytes.size();) {
            ssize_t w =
                ::write(fd, bytes.data() + at, std::min<std::size_t>(65536, bytes.size() - at));
            if (w <= 0) break;
            at += static_cast<std::size_t>(w);
        }
        ::fsync(fd);
        ::close(fd);
    }
    std::remove(out.c_str());
}
}  // namespace

BENCHMARK(BM_WriteBytesBaseline)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK(BM_SaveDocument)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime()
    ->Iterations(1)
    ->Repetitions(5);
BENCHMARK_MAIN();
