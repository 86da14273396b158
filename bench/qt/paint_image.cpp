// The second paint of the 1-million-record survey into a 1920 x 1080 image through the QPainter
// surface, against QPainter::drawLines of the same visible segments (and the same circles) in
// batches, both antialiased as korvane-cli convert paints a PNG. Target: the surface takes at
// most 1.25 times as long.
#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <clocale>
#include <cmath>
#include <vector>

#include "../BenchDocument.h"
#include "BenchApp.h"
#include "render/qt/QPainterSurface.h"
#include "view/FirstView.h"

namespace {
constexpr int kWidth = 1920, kHeight = 1080;

struct Batch {
    QColor color;
    std::vector<QLineF> lines;
    std::vector<QRectF> ellipses;
};

// Records what the surface would draw, grouped by pen, in device coordinates by the screen
// mapping the view sets.
class Collector : public DrawSurface {
  public:
    void MoveTo(int x, int y) override { m_x = x, m_y = y; }
    void LineTo(int x, int y) override {
        Current().lines.emplace_back(Device(m_x, m_y), Device(x, y));
        m_x = x, m_y = y;
    }
    void Arc(int l, int t, int r, int b, int, int, int, int) override {
        Current().ellipses.push_back(QRectF(Device(l, t), Device(r, b)).normalized());
    }
    void SetTextColor(ColorRef) override {}
    void SetTextAlign(unsigned) override {}
    void SetBkMode(int) override {}
    void ExtTextOut(int, int, const char*, int) override {}
    int GetDeviceCaps(int) const override { return 96; }

    std::vector<Batch> batches;

  protected:
    void OnHandleCall(HandleCall call, Handle handle) override {
        if (call != HandleCall::SelectPen) return;
        if (const PenRequest* pen = PenOf(handle)) {
            const ColorRef c = pen->color;
            batches.push_back({QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF), {}, {}});
        }
    }

  private:
    Batch& Current() {
        if (batches.empty()) batches.push_back({Qt::black, {}, {}});
        return batches.back();
    }
    QPointF Device(int x, int y) const {
        const SurfacePoint we = GetWindowExt(), wo = GetWindowOrg();
        const double s = std::min(double(kWidth) / we.x, double(kHeight) / we.y);
        return QPointF((x - wo.x) * s, kHeight - (y - wo.y) * s);
    }
    int m_x = 0, m_y = 0;
};

BenchDocument& Data() {
    static BenchDocument data("survey-1m.plt");
    return data;
}

void BM_SurfacePaint1M(benchmark::State& state) {
    EnsureBenchApp();
    if (!Data().Ok()) return state.SkipWithError("bench-data/survey-1m.plt is missing");
    FirstView view(Data().Doc(), kWidth, kHeight);
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    PaintEachIteration(state, view, image);
}

void BM_DrawLinesBaseline1M(benchmark::State& state) {
    EnsureBenchApp();
    if (!Data().Ok()) return state.SkipWithError("bench-data/survey-1m.plt is missing");
    FirstView view(Data().Doc(), kWidth, kHeight);
    Collector collector;
    view.Paint(collector);
    std::size_t segments = 0;
    for (const Batch& b : collector.batches) segments += b.lines.size();
    QImage image(kWidth, kHeight, QImage::Format_RGB32);
    for (auto _ : state) {
        image.fill(Qt::white);
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        for (const Batch& b : collector.batches) {
            QPen pen(b.color, 0);
            pen.setCapStyle(Qt::RoundCap);
            pen.setJoinStyle(Qt::RoundJoin);
            painter.setPen(pen);
            for (std::size_t i = 0; i < b.lines.size(); i += 4096) {
                const int n = static_cast<int>(std::min<std::size_t>(4096, b.lines.size() - i));
                painter.drawLines(b.lines.data() + i, n);
            }
            for (const QRectF& r : b.ellipses) painter.drawEllipse(r);
        }
    }
    state.counters["segments"] = static_cast<double>(segments);
}
}  // namespace

BENCHMARK(BM_SurfacePaint1M)->Unit(benchmark::kMillisecond)->MeasureProcessCPUTime()->UseRealTime();
BENCHMARK(BM_DrawLinesBaseline1M)
    ->Unit(benchmark::kMillisecond)
    ->MeasureProcessCPUTime()
    ->UseRealTime();

BENCHMARK_MAIN();
