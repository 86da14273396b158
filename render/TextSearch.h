#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class PrimitiveList;

// One text or number record whose text, as drawn, holds what was looked for.
struct TextMatch {
    std::size_t record;  // from 1, as korvane-cli dump numbers its lines
    double x, y;         // where the text starts, plot inches, origin and scale applied
    // The box the text covers, plot inches (the stroke font's cells, turned with the text).
    double left, bottom, right, top;
    std::string text;  // as drawn: a number formatted, a string up to its first zero byte
};

// The text and number records whose text as drawn holds needle, in file order. Text is bytes as
// the device fonts draw them (Latin-1); letters match whatever their case unless matchCase.
// hiddenPens: bit N-1 set leaves out the marks of pen N, pens as the DXF export assigns them.
// An empty needle matches nothing.
std::vector<TextMatch> FindText(const PrimitiveList& primitives, const std::string& needle,
                                bool matchCase, std::uint8_t hiddenPens = 0);
