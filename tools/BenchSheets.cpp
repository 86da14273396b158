#include "tools/BenchSheets.h"

#include <string>

namespace {
constexpr double kWidth = 19.2, kHeight = 10.8;
constexpr int kPens = 8;

void Begin(RecordWriter& out) {
    out.Init();
    out.Extent(kWidth, kHeight);
    out.Pen(1);
}

double Clamp(double v, double hi) {
    return v < 0 ? 0 : v > hi ? hi : v;
}
}  // namespace

void WriteRandomWalk(RecordWriter& out, Rng& rng) {
    Begin(out);
    const double step = 8 * kWidth / 1920;
    double x = rng.Uniform(0, kWidth), y = rng.Uniform(0, kHeight);
    out.Move(x, y);
    for (long segment = 1; !out.Full(); ++segment) {
        if (rng.Chance(0.1)) {
            x = rng.Uniform(0, kWidth);
            y = rng.Uniform(0, kHeight);
            out.Move(x, y);
        }
        x = Clamp(x + rng.Uniform(-step, step), kWidth);
        y = Clamp(y + rng.Uniform(-step, step), kHeight);
        out.Draw(x, y);
        if (segment % 1000 == 0) {
            out.Pen(static_cast<int>(segment / 1000 % kPens) + 1);
            out.Text(x, y, 0.1, 0, "WALK " + std::to_string(segment));
        }
    }
}

void WriteLongLines(RecordWriter& out, Rng& rng) {
    Begin(out);
    for (int n = 0; !out.Full(); ++n) {
        // In turn left to right and bottom to top, so the lines cross one another.
        if (n % 2 == 0) {
            out.Move(0, rng.Uniform(0, kHeight));
            out.Draw(kWidth, rng.Uniform(0, kHeight));
        } else {
            out.Move(rng.Uniform(0, kWidth), 0);
            out.Draw(rng.Uniform(0, kWidth), kHeight);
        }
    }
}

void WriteTexts(RecordWriter& out, Rng& rng) {
    Begin(out);
    static const char* const kWords[] = {"BM", "STN", "TREE", "MH", "IL 12.40", "FENCE", "KERB"};
    while (!out.Full()) {
        const double angle = rng.Chance(0.8) ? 0 : rng.Uniform(0, 360);
        std::string text = kWords[rng.Int(0, 6)];
        text += ' ';
        text += std::to_string(rng.Int(1, 9999));
        out.Text(rng.Uniform(0, kWidth), rng.Uniform(0, kHeight), rng.Uniform(0.02, 0.08), angle,
                 text);
    }
}
