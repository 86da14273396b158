// The snapping index of the 10-million-record survey: its build, one snap query and its memory
// per vertex. Targets: a query under 1 ms, at most 16 bytes per vertex.
#include <benchmark/benchmark.h>

#include <memory>
#include <random>

#include "BenchDocument.h"
#include "view/VertexIndex.h"

namespace {
BenchDocument& Survey() {
    static BenchDocument data("survey-10m.plt");
    return data;
}

const VertexIndex& SurveyIndex() {
    static const VertexIndex index = VertexIndex::Build(Survey().Doc().Primitives());
    return index;
}

// The drawing's extent in inches, from the points themselves.
void Extent(const PrimitiveList& list, double& width, double& height) {
    width = height = 0;
    list.ForEach([&](const Prim& p) {
        if (p.GetCode() == PrimCode::kLigne) {
            const auto& l = static_cast<const Ligne&>(p);
            width = std::max(width, double(l.m_x));
            height = std::max(height, double(l.m_y));
        }
        return true;
    });
}
}  // namespace

static void BM_SnapIndexBuild10M(benchmark::State& state) {
    if (!Survey().Ok()) return state.SkipWithError(kMissingData);
    std::size_t vertices = 0, bytes = 0;
    for (auto _ : state) {
        const VertexIndex index = VertexIndex::Build(Survey().Doc().Primitives());
        vertices = index.size();
        bytes = index.Bytes();
    }
    state.counters["vertices"] = static_cast<double>(vertices);
    state.counters["bytes/vertex"] = static_cast<double>(bytes) / vertices;
}
BENCHMARK(BM_SnapIndexBuild10M)->Unit(benchmark::kMillisecond)->Iterations(3);

// One query at a random place of the drawing, reaching 8 pixels of a 1920-pixel-wide view that
// shows the whole drawing (range 1) or a tenth of its width (range 10).
static void BM_SnapQuery10M(benchmark::State& state) {
    if (!Survey().Ok()) return state.SkipWithError(kMissingData);
    const VertexIndex& index = SurveyIndex();
    double width, height;
    Extent(Survey().Doc().Primitives(), width, height);
    const double radius = 8 * width / 1920 / state.range(0);
    std::mt19937 random(1);
    std::uniform_real_distribution<double> x(0, width), y(0, height);
    std::size_t hits = 0;
    for (auto _ : state) {
        hits += index.Nearest(x(random), y(random), radius).has_value();
    }
    state.counters["hit share"] = static_cast<double>(hits) / state.iterations();
    state.counters["radius in"] = radius;
}
BENCHMARK(BM_SnapQuery10M)->Arg(1)->Arg(10)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
