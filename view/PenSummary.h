#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "plot/DxfPens.h"
#include "render/DrawSurface.h"

class PrimitiveList;

// The marks of one pen of the DXF export: how many, and the colours the view draws them in.
struct PenUse {
    // A pen of colour changes (pen 1 takes every colour no other pen has) may hold thousands;
    // the first ones are kept, the rest only noted.
    static constexpr std::size_t kMaxColors = 16;

    std::uint64_t marks = 0;
    std::vector<ColorRef> colors;  // in the order first drawn
    bool moreColors = false;
};

// A drawing's marks (lines drawn, circles, texts, numbers, markers) by the pen the DXF export
// puts them on; pen p at [p - 1].
struct PenSummary {
    PenUse pens[kDxfPens];
};

// One scan of the records in file order, pen and colour followed as a paint pass follows them.
PenSummary SummarizePens(const PrimitiveList& primitives);
