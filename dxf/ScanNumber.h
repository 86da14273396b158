#pragma once

#include <cstddef>

// Numbers read from text exactly as the C library's strtod and strtol (base 10) read them in the
// "C" locale, whatever locale the process has: leading white space (space, \t, \n, \v, \f, \r),
// an optional sign, then for a double decimal digits with an optional '.' and exponent,
// hexadecimal digits after "0x" with an optional 'p' exponent, "inf", "infinity" or "nan" with
// an optional "(chars)", in any case. A double beyond the range becomes infinity or zero with
// its sign; a long saturates. Each returns the number of bytes used, 0 (and value unchanged)
// when [begin, end) does not start with a number.
std::size_t ScanDouble(const char* begin, const char* end, double& value);
std::size_t ScanLong(const char* begin, const char* end, long& value);

// The white space of the "C" locale.
inline bool IsCSpace(char c) {
    return c == ' ' || (c >= '\t' && c <= '\r');
}
