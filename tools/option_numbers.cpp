#include "option_numbers.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "usage_error.h"

#include <cmath>
#include <optional>

namespace quarvel::synth {

int wholeNumberOption(std::string_view option, std::string_view text, int min, int max) {
    std::optional<int> value;
    try {
        value = numbers::parseInteger(text);
    } catch (const QuarvelError&) {
        // Not a whole number, or beyond a 32-bit integer: said below.
    }
    if (!value || *value < min || *value > max) {
        throw UsageError{formatMessage(
            "option '%s' takes a whole number from %s to %s, not '%s'",
            {option, numbers::formatInteger(min), numbers::formatInteger(max), text})};
    }
    return *value;
}

double numberOption(std::string_view option, const std::string& text, double low, double high,
                    std::string_view unit) {
    const auto value = numbers::tryParseNumber(text);
    if (!value || !std::isfinite(*value) || *value < low || *value > high) {
        throw QuarvelError(formatMessage(
            "%s '%s' is not a number from %s to %s %s.",
            {option, text, numbers::formatFixed(low, 6), numbers::formatFixed(high, 6), unit}));
    }
    return *value;
}

} // namespace quarvel::synth
