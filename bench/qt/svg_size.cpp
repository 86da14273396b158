// Size of the 1-million-record survey as SVG, as `korvane-cli convert` writes it (one polyline
// per connected pen-down run), against one element per segment. Target: at most a quarter.
#include <benchmark/benchmark.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QPainter>
#include <QSvgGenerator>
#include <clocale>

#include "../BenchDocument.h"
#include "BenchApp.h"
#include "render/qt/QPainterSurface.h"
#include "view/FirstView.h"

namespace {
qint64 SvgBytes(CKorvaneDoc& doc, bool polylines) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator svg;
    svg.setOutputDevice(&buffer);
    svg.setSize(QSize(1000, 800));
    svg.setViewBox(QRect(0, 0, 1000, 800));
    svg.setResolution(96);
    {
        QPainter painter(&svg);
        painter.fillRect(QRect(0, 0, 1000, 800), Qt::white);
        FirstView view(doc, 1000, 800);
        QPainterSurface surface(painter, polylines);
        view.Paint(surface);
    }
    return bytes.size();
}

void BM_SvgSize1M(benchmark::State& state) {
    EnsureBenchApp();
    static BenchDocument data("survey-1m.plt");
    if (!data.Ok()) return state.SkipWithError("bench-data/survey-1m.plt is missing");
    qint64 runs = 0;
    for (auto _ : state) runs = SvgBytes(data.Doc(), true);
    const qint64 segments = SvgBytes(data.Doc(), false);
    state.counters["polyline_bytes"] = static_cast<double>(runs);
    state.counters["per_segment_bytes"] = static_cast<double>(segments);
    state.counters["ratio"] = static_cast<double>(runs) / static_cast<double>(segments);
}
}  // namespace

BENCHMARK(BM_SvgSize1M)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->Iterations(1);

BENCHMARK_MAIN();
