#include "tools/CostlySheet.h"

#include <string>

void WriteCostlySheets(RecordWriter& out, Rng& rng) {
    out.Init();
    out.Extent(33, 23);
    out.Pen(1);
    const std::string eights(511, '8');  // '8' has the most points of any glyph
    // Places: on the sheet, beyond the view's logical range on either side, and huge.
    const double places[][2] = {{10, 10}, {200, 10}, {-200, -200}, {1e6, 1e6}};
    const double heights[] = {0.2, 1e-4, 40, 3e4};
    while (!out.Full()) {
        const double* at = places[rng.Int(0, 3)];
        const double h = heights[rng.Int(0, 3)];
        const double angle = rng.Chance(0.5) ? 0 : rng.Uniform(0, 360);
        if (rng.Chance(0.5)) {
            // The value with the longest exact expansion a float has.
            const float tiny = 1.4e-45f * static_cast<float>(rng.Int(1, 1 << 22));
            out.Number(at[0], at[1], h, angle, 32767, rng.Chance(0.5) ? tiny : 88888888.0);
        } else {
            out.Text(at[0], at[1], h, angle, eights);
        }
    }
}
