#include "survey/column_table.h"

#include "formats/numbers.h"

#include <cmath>

namespace quarvel {

std::string_view withoutByteOrderMark(std::string_view text) {
    constexpr std::string_view Mark = "\xEF\xBB\xBF";
    if (text.starts_with(Mark)) {
        text.remove_prefix(Mark.size());
    }
    return text;
}

std::string_view trimmed(std::string_view text) {
    const auto isBlank = [](char c) { return static_cast<unsigned char>(c) <= ' '; };
    while (!text.empty() && isBlank(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isBlank(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

std::string upperCase(std::string_view text) {
    std::string upper(text);
    for (char& c : upper) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return upper;
}

std::optional<double> finiteNumber(std::string_view text) {
    const auto number = numbers::tryParseNumber(text);
    if (!number || !std::isfinite(*number)) {
        return std::nullopt;
    }
    return number;
}

bool readCell(std::string_view cell, double& value) {
    cell = trimmed(cell);
    if (cell.empty()) {
        value = MissingValue;
        return true;
    }
    const auto number = finiteNumber(cell);
    if (!number) {
        return false;
    }
    value = *number;
    return true;
}

} // namespace quarvel
