#include "option_numbers.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "usage_error.h"

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

} // namespace quarvel::synth
