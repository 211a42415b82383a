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

void widen(SegyRange& range, double value, bool first) {
    if (first) {
        range.low = range.high = value;
    }
    range.low = std::min(range.low, value);
    range.high = std::max(range.high, value);
}

// Adds one trace header, in file order, to the summary.
void addToSummary(SegySummary& summary, const SegyTraceHeader& header, bool first) {
    if (first) {
        summary.traceIntervalUs = header.intervalUs;
        summary.firstDelayMs = header.delayMs;
        summary.coordinateUnits = header.coordinateUnits;
        summary.waterDepth = header.waterDepth;
    }
    widen(summary.fieldRecords, header.fieldRecord, first);
    widen(summary.tracesInRecord, header.traceInRecord, first);
    widen(summary.x, header.x, first);
    widen(summary.y, header.y, first);
}

SegySummary layoutSummary(const SegyReader& reader) {
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
    summary.intervalFromBinaryHeader = layout.intervalMs > 0;
    return summary;
}

void settleInterval(SegySummary& summary, const SegyLayout& layout) {
    summary.intervalMs =
        summary.intervalFromBinaryHeader ? layout.intervalMs : summary.traceIntervalUs / 1000.0;
}

bool isAngular(int units) {
    return units == 2 || units == 3;
}

[[noreturn]] void refuse(const std::string& reason) {
    throw QuarvelError(reason);
}

} // namespace

SegySummary summarizeSegy(const SegyReader& reader, const std::vector<SegyTraceHeader>& headers) {
    SegySummary summary = layoutSummary(reader);
    for (std::size_t i = 0; i < headers.size(); ++i) {
        addToSummary(summary, headers[i], i == 0);
    }
    settleInterval(summary, reader.layout());
    return summary;
}

SegySummary summarizeSegy(SegyReader& reader) {
    SegySummary summary = layoutSummary(reader);
    reader.scanHeaders(0, reader.layout().traceCount - 1,
                       [&](int index, const SegyTraceHeader& header) {
                           addToSummary(summary, header, index == 0);
                           return true;
                       });
    settleInterval(summary, reader.layout());
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

TraceChooser::TraceChooser(int channels, const TraceChoice& choice)
    : choice_(choice), channels_(std::max(channels, 1)) {
    // An index counts every trace whatever its channel; the other choices
    // name a shot or a place, and the channel says which of its traces.
    if (needsHeaders() && (choice.channel < 0 || choice.channel >= channels_)) {
        refuse(formatMessage("There is no channel %s: the line's shots have %s.",
                             {numbers::formatInteger(static_cast<long long>(choice.channel) + 1),
                              channels_ == 1 ? std::string("one channel")
                                             : numbers::formatInteger(channels_) + " channels"}));
    }
    recentRecords_.assign(static_cast<std::size_t>(channels_), 0);
}

bool TraceChooser::add(int index, const SegyTraceHeader& h) {
    const int channel = choice_.channel;
    switch (choice_.kind) {
    case TraceChoiceKind::Index:
        return false;
    case TraceChoiceKind::Shot: {
        // The trace `channel` places after one of the shot is the shot's
        // trace of that channel when it belongs to the same shot.
        recentRecords_[static_cast<std::size_t>(index % channels_)] = h.fieldRecord;
        widen(records_, h.fieldRecord, !anyRecord_);
        anyRecord_ = true;
        if (h.fieldRecord == choice_.number && index >= channel &&
            recentRecords_[static_cast<std::size_t>((index - channel) % channels_)] ==
                choice_.number) {
            found_ = index;
            return false;
        }
        return true;
    }
    case TraceChoiceKind::Near:
        break;
    }
    if (index % channels_ != channel || (h.x == 0 && h.y == 0)) {
        return true;
    }
    const double distance = headerDistance(choice_.x, choice_.y, h.x, h.y, h.coordinateUnits);
    if (nearest_.count == 0 || distance < nearest_.distance) {
        nearest_ = {index, index, 1, distance};
        nearestX_ = h.x;
        nearestY_ = h.y;
    } else if (h.x == nearestX_ && h.y == nearestY_) {
        nearest_.last = index;
        ++nearest_.count;
    }
    return true;
}

int TraceChooser::chosen(long long count) const {
    switch (choice_.kind) {
    case TraceChoiceKind::Index:
        if (choice_.number < 1 || choice_.number > count) {
            refuse(formatMessage(
                "There is no trace %s; the line holds traces 1 to %s.",
                {numbers::formatInteger(choice_.number), numbers::formatInteger(count)}));
        }
        return static_cast<int>(choice_.number - 1);
    case TraceChoiceKind::Shot:
        if (found_ < 0) {
            refuse(formatMessage("No trace has the field record (shot) number %s; the line's run "
                                 "from %s to %s.",
                                 {numbers::formatInteger(choice_.number), integer(records_.low),
                                  integer(records_.high)}));
        }
        return found_;
    case TraceChoiceKind::Near:
        break;
    }
    if (nearest_.count == 0) {
        refuse("The line's trace headers give no positions, so no trace can be chosen by "
               "position.");
    }
    return nearest_.first;
}

int chooseTrace(const std::vector<SegyTraceHeader>& headers, int channels,
                const TraceChoice& choice) {
    TraceChooser chooser(channels, choice);
    for (std::size_t i = 0; i < headers.size() && chooser.add(static_cast<int>(i), headers[i]);
         ++i) {
    }
    return chooser.chosen(static_cast<long long>(headers.size()));
}

int chooseTrace(SegyReader& reader, const TraceChoice& choice, NearestTraces* nearest) {
    TraceChooser chooser(reader.layout().channels, choice);
    if (chooser.needsHeaders()) {
        reader.scanHeaders(
            0, reader.layout().traceCount - 1,
            [&](int index, const SegyTraceHeader& header) { return chooser.add(index, header); });
    }
    const int index = chooser.chosen(reader.layout().traceCount);
    if (nearest != nullptr) {
        *nearest = chooser.nearest();
    }
    return index;
}

std::string sharedPositionText(const NearestTraces& nearest) {
    if (nearest.count < 2) {
        return {};
    }
    return formatMessage("%s traces share the nearest position (traces %s to %s), %s away; the "
                         "first is taken.",
                         {numbers::formatInteger(nearest.count),
                          numbers::formatInteger(static_cast<long long>(nearest.first) + 1),
                          numbers::formatInteger(static_cast<long long>(nearest.last) + 1),
                          twoDecimals(nearest.distance)});
}

std::string corePositionText(const NearestTraces& nearest) {
    const std::string first = numbers::formatInteger(static_cast<long long>(nearest.first) + 1);
    if (nearest.count < 2) {
        return formatMessage("Core: %s from trace %s.", {twoDecimals(nearest.distance), first});
    }
    return formatMessage("Core: %s from traces %s to %s (%s share the position).",
                         {twoDecimals(nearest.distance), first,
                          numbers::formatInteger(static_cast<long long>(nearest.last) + 1),
                          numbers::formatInteger(nearest.count)});
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
            // A trace recorded with another delay or length is not aligned
            // sample for sample.
            const SegyTrace other = reader.readTrace(neighbour, intervalMs);
            if (other.firstTimeMs != sum.firstTimeMs ||
                other.amplitudes.size() != sum.amplitudes.size()) {
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
