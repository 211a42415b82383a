#include "survey/segy_load.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace quarvel {
namespace {

std::string ms(double value) {
    return numbers::formatFixed(value, 3) + " ms";
}

std::string count(long long value) {
    return numbers::formatInteger(value);
}

std::string traceLine(const SegyLoad& load, const SegyReader& reader) {
    const SegyTraceHeader& h = load.header;
    std::string line = "Trace " + count(load.index + 1) + " of " +
                       count(reader.layout().traceCount) + " from \"" +
                       std::filesystem::path(reader.fileName()).filename().string() +
                       "\": field record (shot) " + count(h.fieldRecord);
    if (reader.layout().channels > 1) {
        line += ", channel " + count(load.index % reader.layout().channels + 1);
    }
    line += ", X " + numbers::formatFixed(h.x, 2) + ", Y " + numbers::formatFixed(h.y, 2) + " (" +
            coordinateUnitName(h.coordinateUnits) + ").";
    return line;
}

std::string stackLine(const SegyLoad& load, int asked) {
    if (asked == 0) {
        return "Stack: none, the one trace.";
    }
    std::string line = "Stack: the mean of " + count(load.stacked) + " traces";
    if (load.stacked < 2 * asked + 1) {
        line += " (of " + count(2 * asked + 1) +
                " asked for: the line ends, or neighbours were recorded with another delay "
                "or length)";
    } else {
        line += " (" + count(asked) + " on each side)";
    }
    return line + ".";
}

} // namespace

std::optional<std::size_t> pickSeaFloor(const std::vector<double>& amplitudes) {
    const std::size_t n = amplitudes.size();
    double largest = 0;
    for (const double value : amplitudes) {
        largest = std::max(largest, std::fabs(value));
    }
    if (largest == 0) {
        return std::nullopt;
    }
    const double pulseLevel = PulseEndFraction * largest;
    std::size_t start = 0;
    if (std::fabs(amplitudes[0]) >= pulseLevel) {
        int quiet = 0;
        while (start < n && quiet < QuietSamples) {
            quiet = std::fabs(amplitudes[start]) < pulseLevel ? quiet + 1 : 0;
            ++start;
        }
        start -= static_cast<std::size_t>(quiet);
    }
    double below = 0;
    for (std::size_t i = start; i < n; ++i) {
        below = std::max(below, std::fabs(amplitudes[i]));
    }
    if (below == 0 || start >= n) {
        return std::nullopt;
    }
    for (std::size_t i = start; i < n; ++i) {
        if (std::fabs(amplitudes[i]) >= SeaFloorFraction * below) {
            return i;
        }
    }
    return std::nullopt;
}

SegyLoad loadSegyTrace(SegyReader& reader, const std::vector<SegyTraceHeader>& headers,
                       const SegyLoadRequest& request) {
    return loadSegyTrace(reader, chooseTrace(headers, reader.layout().channels, request.choice),
                         request);
}

SegyLoad loadSegyTrace(SegyReader& reader, int index, const SegyLoadRequest& request) {
    if (request.stack < 0) {
        throw QuarvelError("The number of traces to stack on each side cannot be negative.");
    }
    if (request.intervalMs < 0 || !std::isfinite(request.intervalMs)) {
        throw QuarvelError("The sample interval must be above 0.");
    }
    if (request.lengthMs < 0 || !std::isfinite(request.lengthMs)) {
        throw QuarvelError("The length to keep cannot be negative.");
    }
    SegyLoad load;
    load.index = index;
    load.header = reader.traceHeader(index);
    SegyTrace trace =
        stackedTrace(reader, load.index, request.stack, request.intervalMs, load.stacked);
    load.intervalMs = trace.intervalMs;
    const std::size_t n = trace.amplitudes.size();
    const double lastMs = trace.firstTimeMs + static_cast<double>(n - 1) * trace.intervalMs;
    std::size_t first = 0;
    std::string seaFloor;
    if (request.seaFloor == SeaFloorMode::Auto) {
        const auto pick = pickSeaFloor(trace.amplitudes);
        if (!pick) {
            throw QuarvelError("No sea floor can be picked: the trace holds nothing after its "
                               "outgoing pulse. Give the sea-floor time instead.");
        }
        first = *pick;
        seaFloor = " by automatic pick (" + std::string(SeaFloorPickRule) + ")";
    } else if (request.seaFloor == SeaFloorMode::AtTime) {
        const double at = (request.seaFloorMs - trace.firstTimeMs) / trace.intervalMs;
        if (!std::isfinite(at) || at < -0.5 || at > static_cast<double>(n) - 0.5) {
            throw QuarvelError(
                formatMessage("The sea-floor time %s lies outside the trace, "
                              "which runs from %s to %s.",
                              {ms(request.seaFloorMs), ms(trace.firstTimeMs), ms(lastMs)}));
        }
        first = static_cast<std::size_t>(std::lround(at));
        seaFloor = " as given";
    }
    std::size_t kept = n - first;
    if (request.lengthMs > 0) {
        const auto span = static_cast<std::size_t>(request.lengthMs / trace.intervalMs + 1e-9);
        kept = std::min(kept, span + 1);
    }
    // The listing is a series: one sample gives it no time scale.
    if (kept < 2) {
        throw QuarvelError(formatMessage(
            "The listing would hold %s sample from %s; a trace listing needs at least two. "
            "Keep a longer length, or cut at an earlier sea floor.",
            {count(static_cast<long long>(kept)),
             ms(trace.firstTimeMs + static_cast<double>(first) * trace.intervalMs)}));
    }
    SegyTrace listed;
    listed.intervalMs = trace.intervalMs;
    listed.firstTimeMs = trace.firstTimeMs;
    if (request.seaFloor != SeaFloorMode::Keep) {
        load.seaFloorMs = trace.firstTimeMs + static_cast<double>(first) * trace.intervalMs;
        listed.firstTimeMs = 0;
    }
    listed.amplitudes.assign(trace.amplitudes.begin() + static_cast<std::ptrdiff_t>(first),
                             trace.amplitudes.begin() + static_cast<std::ptrdiff_t>(first + kept));
    load.samples = kept;
    load.spanMs = static_cast<double>(kept - 1) * trace.intervalMs;
    load.listing = traceListingText(listed);

    const SegyLayout& layout = reader.layout();
    std::string interval = "Sample interval: " + numbers::formatFixed(trace.intervalMs, 4) + " ms";
    if (request.intervalMs > 0) {
        interval +=
            ", given (the headers say " +
            numbers::formatFixed(
                layout.intervalMs > 0 ? layout.intervalMs : load.header.intervalUs / 1000.0, 4) +
            " ms).";
    } else {
        interval +=
            layout.intervalMs > 0 ? ", from the binary header." : ", from the trace header.";
    }
    const std::string cut = load.seaFloorMs
                                ? "Sea floor: " + ms(*load.seaFloorMs) + seaFloor +
                                      "; the listing starts there at 0 ms."
                                : std::string("Not cut at the sea floor: the listing starts at the "
                                              "first sample, ") +
                                      ms(trace.firstTimeMs) + ".";
    const std::string length =
        (request.lengthMs > 0 ? "Length: " + ms(load.spanMs) + " kept, "
                              : "Length: the whole trace, " + ms(load.spanMs) + ", ") +
        count(static_cast<long long>(kept)) + " samples.";
    load.notice = traceLine(load, reader) + "\n" + stackLine(load, request.stack) + "\n" +
                  interval + "\n" + cut + "\n" + length;
    return load;
}

} // namespace quarvel
