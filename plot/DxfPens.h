#pragma once

#include <bitset>
#include <cstdint>

// The eight plotter pens of the DXF export: every mark lands on the layer of one of them. The
// export and the viewer's pen panel both take a record's pen from here, so they always agree.
constexpr int kDxfPens = 8;

// A set of pens, pen p at bit p - 1.
using PenSet = std::bitset<kDxfPens>;

// The pen a pen change selects: below 1 counts as 1, above 8 as 8.
inline int DxfPenOfNumber(std::int16_t pen) {
    return pen < 1 ? 1 : pen > kDxfPens ? kDxfPens : pen;
}

// The pen a colour change selects: the pen whose plotter colour it is exactly, else pen 1.
int DxfPenOfRgb(std::int16_t r, std::int16_t g, std::int16_t b);
