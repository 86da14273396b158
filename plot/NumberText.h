#pragma once

#include <cstdint>
#include <string>

// The text of a Nombre: "%d" of the value truncated toward zero when decimals is negative,
// otherwise "%.*f" with that many decimals. Values beyond the int range saturate rather than
// overflow.
std::string FormatPlotNumber(std::int16_t decimals, float value);
