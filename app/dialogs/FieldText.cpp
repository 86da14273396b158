#include "app/dialogs/FieldText.h"

#include <charconv>
#include <system_error>

namespace {
std::string_view Trimmed(std::string_view text) {
    const char* blanks = " \t\r\n\f\v";
    const auto first = text.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

template <class T, class... Base>
bool ParseWhole(std::string_view text, T& value, Base... format) {
    text = Trimmed(text);
    // from_chars takes no plus sign; a number typed with one is still a number.
    if (text.size() > 1 && text[0] == '+' && text[1] != '-') text.remove_prefix(1);
    if (text.empty()) return false;
    T parsed{};
    const auto [end, error] =
        std::from_chars(text.data(), text.data() + text.size(), parsed, format...);
    if (error != std::errc() || end != text.data() + text.size()) return false;
    value = parsed;
    return true;
}

}  // namespace

std::string FormatDouble(double value) {
    char buffer[64];
    const auto [end, error] =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, 15);
    return error == std::errc() ? std::string(buffer, end) : std::string();
}

bool ParseDouble(std::string_view text, double& value) {
    return ParseWhole(text, value, std::chars_format::general);
}

bool ParseInt(std::string_view text, int& value) {
    return ParseWhole(text, value, 10);
}

bool ParseUnsigned(std::string_view text, unsigned& value) {
    const std::string_view t = Trimmed(text);
    if (!t.empty() && t[0] == '-') return false;
    return ParseWhole(text, value, 10);
}

IncrementCheck CheckIncrement(std::string_view text, unsigned& value) {
    unsigned parsed = 0;
    if (!ParseUnsigned(text, parsed)) return IncrementCheck::NotUnsigned;
    if (parsed < kMinIncrement || parsed > kMaxIncrement) return IncrementCheck::OutOfRange;
    value = parsed;
    return IncrementCheck::Ok;
}
