#include "formats/numbers.h"

#include "formats/quarvel_error.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace quarvel::numbers {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

std::size_t skipBlanks(std::string_view text, std::size_t pos) {
    while (pos < text.size() && isBlank(text[pos])) {
        ++pos;
    }
    return pos;
}

struct NumericPrefix {
    double value = 0.0;
    std::size_t end = 0; // one past the last character converted
    bool found = false;
};

// Scans [sign] digits [. digits] [e [sign] digits] from pos.
NumericPrefix scanNumber(std::string_view text, std::size_t pos) {
    NumericPrefix result;
    const std::size_t start = pos;
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t mantissaStart = pos;
    std::size_t digits = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
        ++digits;
    }
    if (pos < text.size() && text[pos] == '.') {
        std::size_t p = pos + 1;
        std::size_t fraction = 0;
        while (p < text.size() && isDigit(text[p])) {
            ++p;
            ++fraction;
        }
        if (digits + fraction > 0) {
            pos = p;
            digits += fraction;
        }
    }
    if (digits == 0) {
        result.end = start;
        return result;
    }
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t p = pos + 1;
        if (p < text.size() && (text[p] == '+' || text[p] == '-')) {
            ++p;
        }
        if (p < text.size() && isDigit(text[p])) {
            while (p < text.size() && isDigit(text[p])) {
                ++p;
            }
            pos = p;
        }
    }
    double magnitude = 0.0;
    const auto [ptr, ec] = std::from_chars(text.data() + mantissaStart, text.data() + pos,
                                           magnitude, std::chars_format::general);
    if (ec == std::errc::result_out_of_range) {
        // from_chars leaves the value untouched on overflow or underflow;
        // give the limit the text points at.
        const auto ePos = text.substr(mantissaStart, pos - mantissaStart).find_first_of("eE");
        const bool tiny =
            ePos != std::string_view::npos && text.substr(mantissaStart + ePos + 1, 1) == "-";
        magnitude = tiny ? 0.0 : std::numeric_limits<double>::infinity();
    }
    (void)ptr;
    result.value = negative ? -magnitude : magnitude;
    result.end = pos;
    result.found = true;
    return result;
}

} // namespace

double parseNumber(std::string_view text) {
    return scanNumber(text, skipBlanks(text, 0)).value;
}

std::optional<double> tryParseNumber(std::string_view text) {
    const NumericPrefix prefix = scanNumber(text, skipBlanks(text, 0));
    if (!prefix.found || skipBlanks(text, prefix.end) != text.size()) {
        return std::nullopt;
    }
    return prefix.value;
}

int parseInteger(std::string_view text) {
    std::size_t pos = skipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t digitsStart = pos;
    while (pos < text.size() && isDigit(text[pos])) {
        ++pos;
    }
    long long value = 0;
    bool ok = pos > digitsStart && skipBlanks(text, pos) == text.size();
    if (ok) {
        const auto [ptr, ec] = std::from_chars(text.data() + digitsStart, text.data() + pos, value);
        (void)ptr;
        ok = ec == std::errc{};
        if (negative) {
            value = -value;
        }
        ok = ok && value >= std::numeric_limits<int>::min() &&
             value <= std::numeric_limits<int>::max();
    }
    if (!ok) {
        throw QuarvelError(formatMessage(msg::NotAnInteger, {text}));
    }
    return static_cast<int>(value);
}

int parseIntegerOrZero(std::string_view text) {
    try {
        return parseInteger(text);
    } catch (const QuarvelError&) {
        return 0;
    }
}

int parseIntegerPrefix(std::string_view text) {
    std::size_t pos = skipBlanks(text, 0);
    bool negative = false;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        negative = text[pos] == '-';
        ++pos;
    }
    long long value = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        value = value * 10 + (text[pos] - '0');
        if (value > std::numeric_limits<int>::max()) {
            value = std::numeric_limits<int>::max();
        }
        ++pos;
    }
    return static_cast<int>(negative ? -value : value);
}

void appendE23(std::string& text, double value) {
    if (std::isnan(value)) {
        text.append(20, ' ');
        text += "Nan";
        return;
    }
    if (std::isinf(value)) {
        text.append(19, ' ');
        text += value < 0 ? "-Inf" : "+Inf";
        return;
    }
    if (value == 0.0) {
        text += " 0.00000000000000E+0000";
        return;
    }
    // "d.dddddddddddddde+dd", the exponent in two digits or three.
    std::array<char, 32> buf;
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), std::fabs(value),
                                         std::chars_format::scientific, 14);
    (void)ec;
    constexpr std::size_t MantissaLength = 16;
    const char* exponentDigits = buf.data() + MantissaLength + 2;
    const char* exponentEnd = end;
    const auto digitCount = static_cast<std::size_t>(end - exponentDigits);
    char out[23];
    out[0] = value < 0 ? '-' : ' ';
    std::copy(buf.data(), buf.data() + MantissaLength, out + 1);
    out[17] = 'E';
    out[18] = buf[MantissaLength + 1];
    std::fill(out + 19, out + 23 - digitCount, '0');
    std::copy(exponentDigits, exponentEnd, out + 23 - digitCount);
    text.append(out, sizeof out);
}

std::string formatE23(double value) {
    std::string text;
    text.reserve(23);
    appendE23(text, value);
    return text;
}

std::string formatFixed(double value, int decimals, int minWidth) {
    std::string out;
    if (std::isnan(value)) {
        out = "Nan";
    } else if (std::isinf(value)) {
        out = value < 0 ? "-Inf" : "Inf";
    } else {
        std::array<char, 400> buf{};
        const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value,
                                             std::chars_format::fixed, decimals);
        (void)ec;
        out.assign(buf.data(), end);
        // A value that rounds to zero is written without a minus sign.
        if (out.front() == '-' && out.find_first_not_of("-0.") == std::string::npos) {
            out.erase(0, 1);
        }
    }
    if (static_cast<int>(out.size()) < minWidth) {
        out.insert(0, static_cast<std::size_t>(minWidth) - out.size(), ' ');
    }
    return out;
}

std::string formatSignificant(double value, int digits) {
    if (value == 0.0 || !std::isfinite(value)) {
        return formatFixed(value, 0);
    }
    const int magnitude = static_cast<int>(std::floor(std::log10(std::fabs(value))));
    std::string out = formatFixed(value, std::clamp(digits - 1 - magnitude, 0, 300));
    if (out.find('.') != std::string::npos) {
        out.erase(out.find_last_not_of('0') + 1);
        if (out.back() == '.') {
            out.pop_back();
        }
    }
    return out;
}

std::string formatInteger(long long value) {
    std::array<char, 32> buf{};
    const auto [end, ec] = std::to_chars(buf.data(), buf.data() + buf.size(), value);
    (void)ec;
    return std::string(buf.data(), end);
}

} // namespace quarvel::numbers
