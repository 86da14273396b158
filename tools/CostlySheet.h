#pragma once

#include "tools/RecordWriter.h"

// The most work per byte a plot file can ask of a reader and a view, for the time-bound
// benchmark and as a fuzz seed: numbers with 32767 decimals, and texts of 511 of the glyph with
// the most strokes, in turn on the sheet, far off it, and at heights too small or large to see.
// Writes records until the writer is full.
void WriteCostlySheets(RecordWriter& out, Rng& rng);
