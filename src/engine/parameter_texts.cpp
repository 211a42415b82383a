#include "engine/parameter_texts.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <cmath>
#include <optional>

namespace quarvel {

double requireNumber(std::string_view text, std::string_view field) {
    const std::optional<double> value = numbers::tryParseNumber(text);
    if (!value || !std::isfinite(*value)) {
        throw QuarvelError(formatMessage(msg::FieldNotANumber, {field, text}));
    }
    return *value;
}

double requireAboveZero(std::string_view text, std::string_view field) {
    const double value = requireNumber(text, field);
    if (!(value > 0.0)) {
        throw QuarvelError(formatMessage(msg::FieldNotAboveZero, {field, text}));
    }
    return value;
}

} // namespace quarvel
