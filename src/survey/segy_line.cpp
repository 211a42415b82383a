#include "survey/segy_line.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "survey/segy_samples.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace quarvel {
namespace {

std::string integer(double value) {
    return numbers::formatInteger(std::llround(value));
}

std::string rangeText(const SegyRange& range, std::string (*format)(double)) {
    return range.low == range.high ? format(range.low)
                                   : format(range.low) + " to " + format(range.high);
}

std::string twoDecimals(double value) {
    return numbers::formatFixed(value, 2);
}

// Coordinates print as their scalar leaves them: whole numbers stay whole.
std::string coordinateRange(const SegyRange& range) {
    const bool whole = range.low == std::round(range.low) && range.high == std::round(range.high);
    return rangeText(range, whole ? integer : twoDecimals);
}

template <typename Field>
SegyRange rangeOf(const std::vector<SegyTraceHeader>& headers, Field field) {
    SegyRange range;
    if (headers.empty()) {
        return range;
    }
    range.low = range.high = static_cast<double>(field(headers.front()));
    for (const SegyTraceHeader& header : headers) {
        const auto value = static_cast<double>(field(header));
        range.low = std::min(range.low, value);
        range.high = std::max(range.high, value);
    }
    return range;
}

bool isAngular(int units) {
    return units == 2 || units == 3;
}

[[noreturn]] void refuse(const std::string& reason) {
    throw QuarvelError(reason);
}

} // namespace

SegySummary summarizeSegy(const SegyReader& reader, const std::vector<SegyTraceHeader>& headers) {
    const SegyLayout& layout = reader.layout();
    SegySummary summary;
    summary.fileName = reader.fileName();
    summary.traceCount = layout.traceCount;
    summary.channels = layout.channels;
    summary.samplesPerTrace = layout.samplesPerTrace;
    summary.binaryIntervalUs = static_cast<int>(std::lround(layout.intervalMs * 1000));
    summary.formatCode = layout.formatCode;
    summary.littleEndian = layout.littleEndian;
    summary.revision = layout.revision;
    summary.notes = layout.notes;
    if (!headers.empty()) {
        const SegyTraceHeader& first = headers.front();
        summary.traceIntervalUs = first.intervalUs;
        summary.firstDelayMs = first.delayMs;
        summary.coordinateUnits = first.coordinateUnits;
        summary.waterDepth = first.waterDepth;
    }
    summary.intervalFromBinaryHeader = layout.intervalMs > 0;
    summary.intervalMs =
        summary.intervalFromBinaryHeader ? layout.intervalMs : summary.traceIntervalUs / 1000.0;
    summary.fieldRecords = rangeOf(headers, [](const SegyTraceHeader& h) { return h.fieldRecord; });
    summary.tracesInRecord =
        rangeOf(headers, [](const SegyTraceHeader& h) { return h.traceInRecord; });
    summary.x = rangeOf(headers, [](const SegyTraceHeader& h) { return h.x; });
    summary.y = rangeOf(headers, [](const SegyTraceHeader& h) { return h.y; });
    return summary;
}

std::string coordinateUnitName(int units) {
    switch (units) {
    case 1:
        return "length units";
    case 2:
        return "seconds of arc";
    case 3:
        return "degrees";
    case 4:
        return "degrees, minutes, seconds";
    default:
        return "units not stated";
    }
}

std::vector<std::string> segySummaryLines(const SegySummary& s) {
    const SegySampleFormat* format = segySampleFormat(s.formatCode);
    std::string traces = numbers::formatInteger(s.traceCount);
    if (s.channels > 1) {
        traces += " (" + numbers::formatInteger(s.traceCount / s.channels) + " shots of " +
                  numbers::formatInteger(s.channels) + " channels)";
    }
    const std::string binary = s.binaryIntervalUs > 0
                                   ? numbers::formatInteger(s.binaryIntervalUs) + " µs"
                                   : std::string("none");
    const std::string used = numbers::formatFixed(s.intervalMs, 4) + " ms from the " +
                             (s.intervalFromBinaryHeader ? "binary" : "trace") + " header";
    std::vector<std::string> lines{
        "File: " + s.fileName,
        "Traces: " + traces,
        "Samples per trace: " + numbers::formatInteger(s.samplesPerTrace),
        "Sample interval: binary header " + binary + ", first trace header " +
            numbers::formatInteger(s.traceIntervalUs) + " µs; used " + used,
        "Delay of the first sample: " + numbers::formatFixed(s.firstDelayMs, 3) + " ms",
        "Sample format: " + numbers::formatInteger(s.formatCode) + ", " +
            std::string(format != nullptr ? format->name : "unknown"),
        "Byte order: " + std::string(s.littleEndian ? "little-endian" : "big-endian") +
            ", revision " + numbers::formatInteger(s.revision),
        "Field records (shots): " + rangeText(s.fieldRecords, integer) +
            "; trace numbers in the record: " + rangeText(s.tracesInRecord, integer),
        "X: " + coordinateRange(s.x) + "; Y: " + coordinateRange(s.y) + " (" +
            coordinateUnitName(s.coordinateUnits) + ")",
    };
    // Set against the sea-floor arrival, the water depth shows a wrong
    // sample interval.
    if (s.waterDepth > 0) {
        lines.push_back(
            "Water depth in the first trace header: " + numbers::formatFixed(s.waterDepth, 2) +
            " (if metres, the sea floor at " +
            numbers::formatFixed(s.waterDepth * 2 / 1500 * 1000, 3) + " ms two way at 1500 m/s)");
    }
    lines.insert(lines.end(), s.notes.begin(), s.notes.end());
    return lines;
}

double headerDistance(double x1, double y1, double x2, double y2, int units) {
    double dx = x2 - x1;
    const double dy = y2 - y1;
    if (isAngular(units)) {
        const double degrees = units == 2 ? (y1 + y2) / 2 / 3600 : (y1 + y2) / 2;
        dx *= std::cos(degrees * std::numbers::pi / 180);
    }
    return std::hypot(dx, dy);
}

int chooseTrace(const std::vector<SegyTraceHeader>& headers, int channels,
                const TraceChoice& choice) {
    const auto count = static_cast<long long>(headers.size());
    const int shotChannels = std::max(channels, 1);
    const int channel = choice.channel;
    // An index counts every trace whatever its channel; the other choices
    // name a shot or a place, and the channel says which of its traces.
    if (choice.kind != TraceChoiceKind::Index && (channel < 0 || channel >= shotChannels)) {
        refuse(formatMessage("There is no channel %s: the line's shots have %s.",
                             {numbers::formatInteger(static_cast<long long>(channel) + 1),
                              shotChannels == 1
                                  ? std::string("one channel")
                                  : numbers::formatInteger(shotChannels) + " channels"}));
    }
    switch (choice.kind) {
    case TraceChoiceKind::Index: {
        if (choice.number < 1 || choice.number > count) {
            refuse(formatMessage(
                "There is no trace %s; the line holds traces 1 to %s.",
                {numbers::formatInteger(choice.number), numbers::formatInteger(count)}));
        }
        return static_cast<int>(choice.number - 1);
    }
    case TraceChoiceKind::Shot: {
        for (std::size_t i = 0; i < headers.size(); ++i) {
            if (headers[i].fieldRecord == choice.number) {
                const auto index = static_cast<long long>(i) + channel;
                if (index < count &&
                    headers[static_cast<std::size_t>(index)].fieldRecord == choice.number) {
                    return static_cast<int>(index);
                }
            }
        }
        const SegyRange range =
            rangeOf(headers, [](const SegyTraceHeader& h) { return h.fieldRecord; });
        refuse(formatMessage(
            "No trace has the field record (shot) number %s; the line's run "
            "from %s to %s.",
            {numbers::formatInteger(choice.number), integer(range.low), integer(range.high)}));
    }
    case TraceChoiceKind::Near:
        break;
    }
    int best = -1;
    double bestDistance = std::numeric_limits<double>::infinity();
    for (std::size_t i = static_cast<std::size_t>(channel); i < headers.size();
         i += static_cast<std::size_t>(shotChannels)) {
        const SegyTraceHeader& h = headers[i];
        if (h.x == 0 && h.y == 0) {
            continue;
        }
        const double distance = headerDistance(choice.x, choice.y, h.x, h.y, h.coordinateUnits);
        if (distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    if (best < 0) {
        refuse("The line's trace headers give no positions, so no trace can be chosen by "
               "position.");
    }
    return best;
}

SegyTrace stackedTrace(SegyReader& reader, int index, int stack, double intervalMs, int& used) {
    const int step = reader.layout().channels;
    const int count = reader.layout().traceCount;
    SegyTrace sum = reader.readTrace(index, intervalMs);
    used = 1;
    for (int k = 1; k <= stack; ++k) {
        for (const int neighbour : {index - k * step, index + k * step}) {
            if (neighbour < 0 || neighbour >= count) {
                continue;
            }
            // A trace recorded with another delay is not aligned in time.
            const SegyTrace other = reader.readTrace(neighbour, intervalMs);
            if (other.firstTimeMs != sum.firstTimeMs) {
                continue;
            }
            for (std::size_t i = 0; i < sum.amplitudes.size(); ++i) {
                sum.amplitudes[i] += other.amplitudes[i];
            }
            ++used;
        }
    }
    for (double& value : sum.amplitudes) {
        value /= used;
    }
    return sum;
}

} // namespace quarvel
