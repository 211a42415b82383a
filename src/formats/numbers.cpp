#include "formats/numbers.h"

#include "formats/quarvel_error.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>

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

// The powers of ten a double holds exactly.
constexpr std::array<double, 23> ExactPowersOfTen = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                                     1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                                     1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// Digits read as a whole number while it stays below 1e15, so exact in a
// double (which holds every whole number up to 2^53).
class ExactDigits {
public:
    void add(char digit) {
        if (value_ >= 100'000'000'000'000) {
            exact_ = false;
            return;
        }
        value_ = value_ * 10 + static_cast<std::uint64_t>(digit - '0');
    }
    // The number with this many of the digits after the point, when one
    // division gives it: a whole number and a power of ten both exact, the
    // quotient is rounded once, to the double nearest the decimal, as
    // from_chars rounds it.
    std::optional<double> divided(std::size_t decimals) const {
        if (!exact_ || decimals >= ExactPowersOfTen.size()) {
            return std::nullopt;
        }
        return static_cast<double>(value_) / ExactPowersOfTen[decimals];
    }

private:
    std::uint64_t value_ = 0;
    bool exact_ = true;
};

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
    ExactDigits exactDigits;
    std::size_t digits = 0;
    std::size_t decimals = 0;
    while (pos < text.size() && isDigit(text[pos])) {
        exactDigits.add(text[pos]);
        ++pos;
        ++digits;
    }
    if (pos < text.size() && text[pos] == '.') {
        std::size_t p = pos + 1;
        std::size_t fraction = 0;
        while (p < text.size() && isDigit(text[p])) {
            exactDigits.add(text[p]);
            ++p;
            ++fraction;
        }
        if (digits + fraction > 0) {
            pos = p;
            digits += fraction;
            decimals = fraction;
        }
    }
    if (digits == 0) {
        result.end = start;
        return result;
    }
    bool exponent = false;
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
            exponent = true;
        }
    }
    result.end = pos;
    result.found = true;
    // The numbers of a log or a listing mostly have few digits and no
    // exponent: one division gives the bits from_chars would, at a fraction
    // of its cost (reading log.dat takes a fifth less time).
    if (const std::optional<double> quick =
            exponent ? std::nullopt : exactDigits.divided(decimals)) {
        result.value = negative ? -*quick : *quick;
        return result;
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
        throw QuarvelError(formatMessage(msg::NotAnInteger, {text}), ErrorKind::InvalidData);
    }
    return static_cast<int>(value);
}

std::optional<int> tryParseInteger(std::string_view text) {
    try {
        return parseInteger(text);
    } catch (const QuarvelError&) {
        return std::nullopt;
    }
}

int parseIntegerOrZero(std::string_view text) {
    return tryParseInteger(text).value_or(0);
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

namespace {

// 5 to the powers 0 to 27, each below 2^63.
constexpr std::array<std::uint64_t, 28> PowersOfFive = [] {
    std::array<std::uint64_t, 28> powers{};
    powers[0] = 1;
    for (std::size_t i = 1; i < powers.size(); ++i) {
        powers[i] = powers[i - 1] * 5;
    }
    return powers;
}();

// Unsigned 128-bit integers (a GCC and Clang extension) for the exact products
// below.
__extension__ typedef unsigned __int128 Wide;

struct Decimal15 {
    std::uint64_t digits; // 15 of them: 10^14 <= digits < 10^15
    int exponent;         // of the first digit
};

// The value (above 0) to 15 significant digits, rounded to nearest with ties
// to even, as the exact decimal expansion of the double gives them; nothing
// when it lies outside 1e-13 to 1e15, where this exact integer arithmetic
// would not fit 128 bits. The value is m * 2^e; scaled by 10^p it is
// m * 5^p * 2^(e + p), an exact integer product and a shift.
std::optional<Decimal15> toDecimal15(double value) {
    const auto bits = std::bit_cast<std::uint64_t>(value);
    const auto biased = static_cast<int>(bits >> 52);
    if (biased == 0) {
        return std::nullopt;
    }
    const std::uint64_t m = (bits & ((std::uint64_t{1} << 52) - 1)) | (std::uint64_t{1} << 52);
    const int e = biased - 1075;
    constexpr std::uint64_t Low = 100'000'000'000'000;
    constexpr std::uint64_t High = 10 * Low;
    // The decimal exponent, floor((e + 52) * log10(2)), or one off;
    // corrected below.
    int exponent = ((e + 52) * 78913) >> 18;
    for (int attempt = 0; attempt < 3; ++attempt) {
        const int p = 14 - exponent;
        if (p < 0 || p >= static_cast<int>(PowersOfFive.size())) {
            return std::nullopt;
        }
        const Wide scaled = static_cast<Wide>(m) * PowersOfFive[static_cast<std::size_t>(p)];
        const int shift = e + p;
        Wide whole = 0;
        bool roundUp = false;
        if (shift >= 0) {
            if (shift > 60) {
                return std::nullopt;
            }
            whole = scaled << shift;
        } else {
            if (-shift >= 127) {
                return std::nullopt;
            }
            whole = scaled >> -shift;
            const Wide rest = scaled - (whole << -shift);
            const Wide half = static_cast<Wide>(1) << (-shift - 1);
            roundUp = rest > half || (rest == half && (whole & 1) != 0);
        }
        if (whole >= High) {
            ++exponent;
            continue;
        }
        if (whole < Low) {
            --exponent;
            continue;
        }
        auto digits = static_cast<std::uint64_t>(whole) + (roundUp ? 1 : 0);
        if (digits == High) {
            digits = Low;
            ++exponent;
        }
        return Decimal15{digits, exponent};
    }
    return std::nullopt;
}

// "00", "01", ... "99", one after the other.
constexpr std::array<char, 200> DigitPairs = [] {
    std::array<char, 200> pairs{};
    for (std::size_t n = 0; n < 100; ++n) {
        pairs[2 * n] = static_cast<char>('0' + n / 10);
        pairs[2 * n + 1] = static_cast<char>('0' + n % 10);
    }
    return pairs;
}();

// Writes the two digits of n < 100 at out.
void putTwoDigits(char* out, std::uint32_t n) {
    std::memcpy(out, DigitPairs.data() + 2 * n, 2);
}

} // namespace

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
    // Written in place at the end of the text.
    const std::size_t at = text.size();
    text.resize(at + 23);
    char* out = text.data() + at;
    out[0] = value < 0 ? '-' : ' ';
    out[17] = 'E';
    // The engine writes some hundred thousand numbers a run, nearly all
    // between 1e-13 and 1e15: those are rounded here in integers, giving the
    // digits to_chars gives at a fraction of its cost.
    if (const std::optional<Decimal15> decimal = toDecimal15(std::fabs(value))) {
        auto low = static_cast<std::uint32_t>(decimal->digits % 100'000'000);
        auto high = static_cast<std::uint32_t>(decimal->digits / 100'000'000);
        for (int i = 15; i >= 9; i -= 2) {
            putTwoDigits(out + i, low % 100);
            low /= 100;
        }
        for (int i = 7; i >= 3; i -= 2) {
            putTwoDigits(out + i, high % 100);
            high /= 100;
        }
        out[1] = static_cast<char>('0' + high);
        out[2] = '.';
        out[18] = decimal->exponent < 0 ? '-' : '+';
        putTwoDigits(out + 19, 0);
        putTwoDigits(out + 21, static_cast<std::uint32_t>(std::abs(decimal->exponent)));
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
    std::copy(buf.data(), buf.data() + MantissaLength, out + 1);
    out[18] = buf[MantissaLength + 1];
    std::fill(out + 19, out + 23 - digitCount, '0');
    std::copy(exponentDigits, exponentEnd, out + 23 - digitCount);
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
    if (magnitude >= 15 || magnitude < -6) {
        // Hundreds of digits tell nobody anything: "1e+300", "2.5e-12".
        std::array<char, 64> buf{};
        const auto [end, ec] =
            std::to_chars(buf.data(), buf.data() + buf.size(), value, std::chars_format::scientific,
                          std::clamp(digits - 1, 0, 16));
        (void)ec;
        std::string out(buf.data(), end);
        const std::size_t e = out.find('e');
        std::string mantissa = out.substr(0, e);
        if (mantissa.find('.') != std::string::npos) {
            mantissa.erase(mantissa.find_last_not_of('0') + 1);
            if (mantissa.back() == '.') {
                mantissa.pop_back();
            }
        }
        return mantissa + out.substr(e);
    }
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
