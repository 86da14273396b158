#pragma once

#include <string>
#include <string_view>

// The text of dialog fields, read and written the same way whatever the user's locale: a
// decimal point is always '.', and a field is taken only when all of its text (apart from
// surrounding blanks) is the value.

// A double as "%.*g" with 15 significant digits.
std::string FormatDouble(double value);

// A decimal number in the forms strtod takes (sign, digits, point, exponent, inf, nan).
bool ParseDouble(std::string_view text, double& value);
// A signed decimal integer in int's range.
bool ParseInt(std::string_view text, int& value);
// An unsigned decimal integer in unsigned's range; no sign allowed.
bool ParseUnsigned(std::string_view text, unsigned& value);

// The zoom and pan step of the Options dialog, in percent.
enum class IncrementCheck { Ok, NotUnsigned, OutOfRange };
constexpr unsigned kMinIncrement = 1, kMaxIncrement = 99;
IncrementCheck CheckIncrement(std::string_view text, unsigned& value);
