// Edit > Find on the 10-million-record survey: the whole drawing searched for a text and for a
// number, as drawn. The search must stay under a second.
#include <benchmark/benchmark.h>

#include <string>

#include "bench/BenchData.h"
#include "plot/KorvaneDoc.h"
#include "plot/UserFeedback.h"
#include "render/TextSearch.h"

namespace {
class QuietFeedback : public UserFeedback {
  public:
    void ShowMessage(const std::string&) override {}
};

void Find(benchmark::State& state, const char* needle) {
    const std::string path = BenchDataPath("survey-10m.plt");
    if (!BenchDataExists(path)) return state.SkipWithError(kMissingData);
    QuietFeedback feedback;
    CKorvaneDoc doc(feedback);
    doc.OnOpenDocument(path);
    std::size_t found = 0;
    for (auto _ : state) {
        found = FindText(doc.Primitives(), needle, false).size();
        benchmark::DoNotOptimize(found);
    }
    state.counters["records"] = static_cast<double>(doc.Primitives().size());
    state.counters["matches"] = static_cast<double>(found);
}

// Letters: the numbers are passed over unformatted.
void BM_FindWord(benchmark::State& state) {
    Find(state, "riverside");
}
// Digits: every number is formatted as drawn and searched.
void BM_FindDigits(benchmark::State& state) {
    Find(state, "5025");
}
// One character found in most texts: the cost of many matches.
void BM_FindCommon(benchmark::State& state) {
    Find(state, "e");
}
}  // namespace

BENCHMARK(BM_FindWord)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3);
BENCHMARK(BM_FindDigits)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3);
BENCHMARK(BM_FindCommon)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(3);
BENCHMARK_MAIN();
