// The PNG encoding alone of a 1920 x 1080 picture as `korvane-cli convert` paints it, of the
// 1-million-record survey and of the random walk, antialiased (RGB rows) and crisp (a palette).
// Reports the file's size beside the time.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "../BenchDocument.h"
#include "BenchApp.h"
#include "render/qt/PngWriter.h"
#include "render/qt/QPainterSurface.h"
#include "view/FirstView.h"

namespace {
constexpr int kWidth = 1920, kHeight = 1080;

QImage Picture(const char* name, bool antialias) {
    BenchDocument data(name);
    if (!data.Ok()) return {};
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    painter.fillRect(QRect(0, 0, kWidth, kHeight), Qt::white);
    FirstView view(data.Doc(), kWidth, kHeight);
    QPainterSurface surface(painter);
    view.Paint(surface);
    return image;
}

void Encode(benchmark::State& state, const char* name) {
    EnsureBenchApp();
    const QImage image = Picture(name, state.range(0) != 0);
    if (image.isNull()) return state.SkipWithError(kMissingData);
    std::size_t bytes = 0;
    for (auto _ : state) bytes = EncodePng(image).size();
    state.counters["bytes"] = static_cast<double>(bytes);
}

void BM_PngSurvey(benchmark::State& state) {
    Encode(state, "survey-1m.plt");
}
void BM_PngWalk(benchmark::State& state) {
    Encode(state, "walk-1m.plt");
}
}  // namespace

// Argument: 1 antialiased, 0 crisp.
BENCHMARK(BM_PngSurvey)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();
BENCHMARK(BM_PngWalk)
    ->Arg(1)
    ->Arg(0)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK_MAIN();
