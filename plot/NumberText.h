#pragma once

#include <cstdint>
#include <string>

// Numbers as text for files and traces, the same whatever the process's locale: always a '.'
// for the decimal point, no grouping. Each gives the bytes printf gives in the "C" locale.

// "%W.Pf" of value into out, right-aligned in width columns (wider when the number needs it),
// for precision 0 to 60. out must hold kMaxFixed bytes; returns the end of the text.
constexpr int kMaxFixed = 400;
char* FormatFixed(char* out, double value, int width, int precision);
// "%Wd" of value; out must hold 16 bytes (and width more, when it is wider).
char* FormatInt(char* out, int value, int width);

// The text of a Nombre: "%d" of the value truncated toward zero when decimals is negative,
// otherwise "%.*f" with that many decimals. Values beyond the int range saturate rather than
// overflow.
std::string FormatPlotNumber(std::int16_t decimals, float value);
