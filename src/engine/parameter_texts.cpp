#include "engine/parameter_texts.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <cmath>
#include <optional>

namespace quarvel {

double requireNumber(std::string_view text, std::string_view field) {
    const std::optional<double> value = numbers::tryParseNumber(text);
    if (!value || !std::isfinite(*value)) {
        throw QuarvelError(formatMessage(msg::FieldNotANumber, {field, text}),
                           ErrorKind::InvalidData);
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

void requireSweepFrequencies(const SweepFields& fields) {
    const struct {
        std::string_view name;
        double value;
        std::string_view text;
    } frequencies[] = {{StartFrequencyField, fields.start, fields.startText},
                       {EndFrequencyField, fields.end, fields.endText}};
    for (const auto& f : frequencies) {
        if (f.value < 0.0) {
            throw QuarvelError(formatMessage(msg::FrequencyBelowZero, {f.name, f.text}));
        }
    }
    if (fields.start == 0.0 && fields.end == 0.0) {
        throw QuarvelError(std::string(msg::FrequenciesBothZero));
    }
    const double nyquist = 1 / (2 * fields.interval);
    for (const auto& f : frequencies) {
        if (f.value > nyquist) {
            throw QuarvelError(formatMessage(
                msg::FrequencyAboveNyquist, {f.name, numbers::formatSignificant(fields.interval, 9),
                                             numbers::formatSignificant(nyquist, 9), f.text}));
        }
    }
}

} // namespace quarvel
