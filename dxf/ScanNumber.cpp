#include "dxf/ScanNumber.h"

#include <charconv>
#include <climits>
#include <cmath>

namespace {
bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsHexDigit(char c) {
    return IsDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// Whether a number from_chars found out of range was too large rather than too small. Only the
// extremes are out of range, so the order of magnitude of the digits and the exponent suffice.
bool TooLarge(const char* p, const char* end, bool hex) {
    const char exponentMark = hex ? 'p' : 'e';
    long magnitude = 0;  // digits before the point, or minus the zeros after it
    bool seenPoint = false, seenNonZero = false;
    for (; p < end && (*p | 0x20) != exponentMark; ++p) {
        if (*p == '.') {
            seenPoint = true;
        } else if (seenNonZero) {
            if (!seenPoint) ++magnitude;
        } else if (*p != '0') {
            seenNonZero = true;
            if (!seenPoint) ++magnitude;
        } else if (seenPoint) {
            --magnitude;
        }
    }
    long exponent = 0;
    if (p < end) ScanLong(p + 1, end, exponent);
    if (hex) magnitude *= 4;  // a hexadecimal digit is four bits of a binary exponent
    return exponent > -magnitude;
}
}  // namespace

std::size_t ScanDouble(const char* begin, const char* end, double& value) {
    const char* p = begin;
    while (p < end && IsCSpace(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    // from_chars takes a '-' of its own, which strtod would not after a sign.
    if (p == end || *p == '+' || *p == '-') return 0;

    double v = 0;
    const char* stop;
    const bool hex = end - p >= 2 && p[0] == '0' && (p[1] | 0x20) == 'x';
    if (hex) {
        const char* digits = p + 2;
        const bool hasDigits =
            digits < end &&
            (IsHexDigit(*digits) || (*digits == '.' && digits + 1 < end && IsHexDigit(digits[1])));
        if (!hasDigits) {
            // "0x" without hexadecimal digits is the number 0 followed by an 'x'.
            value = negative ? -0.0 : 0.0;
            return static_cast<std::size_t>(p + 1 - begin);
        }
        const auto r = std::from_chars(digits, end, v, std::chars_format::hex);
        stop = r.ptr;
        if (r.ec == std::errc::result_out_of_range)
            v = TooLarge(digits, r.ptr, true) ? HUGE_VAL : 0;
    } else {
        const auto r = std::from_chars(p, end, v, std::chars_format::general);
        if (r.ec == std::errc::invalid_argument) return 0;
        stop = r.ptr;
        if (r.ec == std::errc::result_out_of_range) v = TooLarge(p, r.ptr, false) ? HUGE_VAL : 0;
    }
    value = negative ? -v : v;
    return static_cast<std::size_t>(stop - begin);
}

std::size_t ScanLong(const char* begin, const char* end, long& value) {
    const char* p = begin;
    while (p < end && IsCSpace(*p)) ++p;
    bool negative = false;
    if (p < end && (*p == '+' || *p == '-')) negative = *p++ == '-';
    if (p == end || !IsDigit(*p)) return 0;
    unsigned long magnitude = 0;
    const auto r = std::from_chars(p, end, magnitude);
    const unsigned long limit = negative ? 0UL - static_cast<unsigned long>(LONG_MIN) : LONG_MAX;
    if (r.ec == std::errc::result_out_of_range || magnitude > limit) {
        value = negative ? LONG_MIN : LONG_MAX;
    } else {
        value = negative ? static_cast<long>(0UL - magnitude) : static_cast<long>(magnitude);
    }
    return static_cast<std::size_t>(r.ptr - begin);
}
