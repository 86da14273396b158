#pragma once

#include "tools/RecordWriter.h"

// Drawings unlike the survey for the speed comparisons, each on a 19.2 x 10.8 inch sheet, so a
// picture of 1920 x 1080 shows a hundredth of an inch per pixel. Each writes records until the
// writer is full.

// Dense random detail: a walk of steps up to 8 pixels in x and y, jumping pen-up to a random
// point about every 10 segments, with a colour change and a label every 1,000 segments.
void WriteRandomWalk(RecordWriter& out, Rng& rng);

// A straight grid's worst case: lines from one edge of the sheet to the opposite one.
void WriteLongLines(RecordWriter& out, Rng& rng);

// Labels alone: short texts 2 to 8 pixels high at assorted angles all over the sheet.
void WriteTexts(RecordWriter& out, Rng& rng);
