#include "survey/segy_choice.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <cmath>

namespace quarvel {
namespace {

double fieldNumber(const std::string& text, const char* field) {
    const auto value = numbers::tryParseNumber(text);
    if (!value || !std::isfinite(*value)) {
        throw QuarvelError(formatMessage("%s: '%s' is not a number.", {field, text}),
                           ErrorKind::InvalidData);
    }
    return *value;
}

double positive(const std::string& text, const char* field) {
    const double value = fieldNumber(text, field);
    if (value <= 0) {
        throw QuarvelError(formatMessage("%s: '%s' must be above 0.", {field, text}));
    }
    return value;
}

TraceChoice choiceFromFields(const SegyChoiceFields& fields) {
    TraceChoice choice;
    choice.kind = fields.kind;
    choice.channel = fields.channel;
    if (fields.kind == TraceChoiceKind::Near) {
        choice.x = fieldNumber(fields.x, "X");
        choice.y = fieldNumber(fields.y, "Y");
    } else {
        choice.number = numbers::parseInteger(fields.number);
    }
    return choice;
}

} // namespace

std::optional<CorePosition> positionOf(const SegyChoiceFields& fields) {
    const auto x = numbers::tryParseNumber(fields.x);
    const auto y = numbers::tryParseNumber(fields.y);
    if (!x || !y || !std::isfinite(*x) || !std::isfinite(*y)) {
        return std::nullopt;
    }
    return CorePosition{*x, *y};
}

std::string headerIntervalText(const SegyLayout& layout, const SegyTraceHeader& first) {
    const double ms = layout.intervalMs > 0 ? layout.intervalMs : first.intervalUs / 1000.0;
    return numbers::formatFixed(ms, 6);
}

SegyLoadRequest requestFromFields(const SegyChoiceFields& fields, const LengthSpans& spans,
                                  const std::string& headerInterval) {
    SegyLoadRequest request;
    request.choice = choiceFromFields(fields);
    request.stack = fields.stack;
    if (fields.intervalMs != headerInterval) {
        request.intervalMs = positive(fields.intervalMs, "Sample interval (ms)");
    }
    request.seaFloor = fields.seaFloor;
    if (fields.seaFloor == SeaFloorMode::AtTime) {
        request.seaFloorMs = fieldNumber(fields.seaFloorMs, "Sea floor (ms)");
    }
    switch (fields.length) {
    case LengthMode::Whole:
        break;
    case LengthMode::Synthetic:
        request.lengthMs = spans.syntheticMs;
        break;
    case LengthMode::LogTwt:
        request.lengthMs = spans.logTwtMs;
        break;
    case LengthMode::Given:
        request.lengthMs = positive(fields.lengthMs, "Length (ms)");
        break;
    }
    return request;
}

ChosenTrace chosenTrace(SegyReader& reader, const SegyChoiceFields& fields) {
    const int channels = reader.layout().channels;
    try {
        NearestTraces nearest;
        const int index = chooseTrace(reader, choiceFromFields(fields), &nearest);
        const SegyTraceHeader h = reader.traceHeader(index);
        std::string text = "Trace " + numbers::formatInteger(index + 1) + ": field record (shot) " +
                           numbers::formatInteger(h.fieldRecord);
        if (channels > 1) {
            text += ", channel " + numbers::formatInteger(index % channels + 1);
        }
        text += ", X " + numbers::formatFixed(h.x, 2) + ", Y " + numbers::formatFixed(h.y, 2) +
                " (" + coordinateUnitName(h.coordinateUnits) + ")";
        const std::string shared = sharedPositionText(nearest);
        return {index, shared.empty() ? text : text + ". " + shared};
    } catch (const QuarvelError& error) {
        return {-1, error.what()};
    }
}

} // namespace quarvel
