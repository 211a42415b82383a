#pragma once

#include <optional>
#include <string>
#include <string_view>

// Numbers as text, the same on every machine whatever the locale: "." is the
// only decimal separator. Nothing here calls strtod or printf, because Qt sets
// the C locale from the environment when the application starts.
namespace quarvel::numbers {

// Leading blanks, an optional sign, digits with an optional fraction and an
// optional exponent ("E" or "e", optional sign, digits). The longest numeric
// prefix is converted; a text that is not a number at all reads as 0.
double parseNumber(std::string_view text);

// The whole text (leading and trailing blanks allowed) must be a number;
// otherwise nothing.
std::optional<double> tryParseNumber(std::string_view text);

// A whole number: blanks around an optional sign and digits that fit a 32-bit
// integer. Anything else throws "'<text>' is not a valid integer value".
int parseInteger(std::string_view text);

// As parseInteger, but a text that is not a whole number gives nothing.
std::optional<int> tryParseInteger(std::string_view text);

// As parseInteger, but a text that is not a whole number reads as 0.
int parseIntegerOrZero(std::string_view text);

// The whole number at the start of the text after any blanks: an optional
// sign and the digits up to the first other character ("12.5" gives 12).
// A text that does not start with a digit or sign gives 0.
int parseIntegerPrefix(std::string_view text);

// Scientific form of exactly 23 characters: sign position (blank or "-"), one
// digit, ".", 14 digits, "E", exponent sign, 4 exponent digits.
std::string formatE23(double value);

// Appends formatE23(value) to the text without building a string of its own
// (the engine writes some hundred thousand of them per run).
void appendE23(std::string& text, double value);

// Fixed-point with the given number of decimals, "-" for negatives, padded
// on the left with blanks to at least minWidth characters.
std::string formatFixed(double value, int decimals, int minWidth = 1);

inline std::string formatF3(double value) {
    return formatFixed(value, 3, 3);
}
inline std::string formatF5(double value) {
    return formatFixed(value, 5, 3);
}
inline std::string formatF6(double value) {
    return formatFixed(value, 6, 3);
}

// Fixed-point with decimals for the given number of significant digits (a
// whole number keeps all its digits), trailing zeros dropped: for messages.
// 1.99999999999e-5 with 9 digits is "0.00002".
std::string formatSignificant(double value, int digits);

// Whole number in plain decimal.
std::string formatInteger(long long value);

} // namespace quarvel::numbers
