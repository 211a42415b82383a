#include "survey/segy_section.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "survey/segy_line.h"
#include "survey/segy_load.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarvel {
namespace {

// The largest picture a section is built for: a few screens' worth, its
// samples some 64 MB.
constexpr int MaxSide = 8192;
constexpr long long MaxPixels = 4096LL * 4096;

// Metres in a second of arc and in a degree of latitude (a nautical mile
// is a minute of arc).
constexpr double MetresPerArcSecond = 1852.0 / 60;
constexpr double MetresPerDegree = 1852.0 * 60;

double metresFactor(int units) {
    switch (units) {
    case 2:
        return MetresPerArcSecond;
    case 3:
        return MetresPerDegree;
    default:
        return 1;
    }
}

// Where one column's trace lies in time, after its shift when flattened.
struct ColumnSpan {
    double startMs = 0; // of the first sample, shifted
    double intervalMs = 0;
    int samples = 0;
    double shiftMs = 0;
    double seaFloorMs = std::numeric_limits<double>::quiet_NaN(); // shifted
};

ColumnSpan spanOf(const SegyTrace& trace, bool flatten) {
    ColumnSpan span;
    span.intervalMs = trace.intervalMs;
    span.samples = static_cast<int>(trace.amplitudes.size());
    if (const auto pick = pickSeaFloor(trace.amplitudes)) {
        const double at = trace.firstTimeMs + static_cast<double>(*pick) * trace.intervalMs;
        span.shiftMs = flatten ? at : 0;
        span.seaFloorMs = at - span.shiftMs;
    }
    span.startMs = trace.firstTimeMs - span.shiftMs;
    return span;
}

[[noreturn]] void refuse(const std::string& reason) {
    throw QuarvelError(reason);
}

} // namespace

double SegySection::rowTimeMs(int row) const {
    return firstTimeMs + (lastTimeMs - firstTimeMs) * (row + 0.5) / height;
}

SegySection buildSegySection(SegyReader& reader, const SectionRequest& request,
                             const SectionProgress& progress) {
    const SegyLayout& layout = reader.layout();
    const int channels = std::max(layout.channels, 1);
    const int last = request.lastTrace < 0 ? layout.traceCount - 1 : request.lastTrace;
    if (request.width < 1 || request.height < 1 || request.width > MaxSide ||
        request.height > MaxSide ||
        static_cast<long long>(request.width) * request.height > MaxPixels) {
        refuse(formatMessage("A section is 1 to %s pixels wide and high, and at most %s pixels "
                             "in all; not %s by %s.",
                             {numbers::formatInteger(MaxSide), numbers::formatInteger(MaxPixels),
                              numbers::formatInteger(request.width),
                              numbers::formatInteger(request.height)}));
    }
    if (request.channel < 0 || request.channel >= channels) {
        refuse(formatMessage(
            "There is no channel %s: the line's shots have %s.",
            {numbers::formatInteger(request.channel + 1), numbers::formatInteger(channels)}));
    }
    int first = request.firstTrace;
    while (first <= last && first % channels != request.channel) {
        ++first;
    }
    if (request.firstTrace < 0 || last >= layout.traceCount || first > last) {
        refuse(formatMessage("Traces %s to %s are not a part of the line, which holds traces 1 "
                             "to %s.",
                             {numbers::formatInteger(request.firstTrace + 1),
                              numbers::formatInteger(last + 1),
                              numbers::formatInteger(layout.traceCount)}));
    }
    const long long traces = (last - first) / channels + 1;
    SegySection section;
    section.width = request.width;
    section.height = request.height;
    section.flattened = request.flatten;
    const int total = 2 * section.width;

    // First pass: where each column's trace lies in time, and its pick.
    std::vector<ColumnSpan> spans;
    spans.reserve(static_cast<std::size_t>(section.width));
    section.firstTimeMs = std::numeric_limits<double>::infinity();
    section.lastTimeMs = -std::numeric_limits<double>::infinity();
    for (int c = 0; c < section.width; ++c) {
        const long long k = (2 * static_cast<long long>(c) + 1) * traces / (2 * section.width);
        const int index = first + static_cast<int>(k) * channels;
        // A line shorter than the width gives each trace several columns.
        if (c > 0 && section.columns.back().trace == index) {
            section.columns.push_back(section.columns.back());
            spans.push_back(spans.back());
            if (progress && !progress(c + 1, total)) {
                return {};
            }
            continue;
        }
        const SegyTraceHeader header = reader.traceHeader(index);
        SectionColumn column{index, header.fieldRecord, header.x, header.y};
        if (c > 0) {
            const SectionColumn& before = section.columns.back();
            column.distance = before.distance + headerDistance(before.x, before.y, header.x,
                                                               header.y, header.coordinateUnits) *
                                                    metresFactor(header.coordinateUnits);
        }
        section.columns.push_back(column);
        const ColumnSpan span =
            spanOf(reader.readTrace(index, request.intervalMs), request.flatten);
        section.firstTimeMs = std::min(section.firstTimeMs, span.startMs);
        section.lastTimeMs =
            std::max(section.lastTimeMs, span.startMs + span.samples * span.intervalMs);
        spans.push_back(span);
        if (progress && !progress(c + 1, total)) {
            return {};
        }
    }

    if (request.timesMs) {
        const auto [from, to] = *request.timesMs;
        if (!std::isfinite(from) || !std::isfinite(to) || !(to > from)) {
            refuse(formatMessage(
                "A section's times must run from an earlier to a later one, "
                "not from %s to %s ms.",
                {numbers::formatSignificant(from, 6), numbers::formatSignificant(to, 6)}));
        }
        section.firstTimeMs = from;
        section.lastTimeMs = to;
    }

    // Second pass: each row takes the strongest sample it covers.
    const double rowMs = (section.lastTimeMs - section.firstTimeMs) / section.height;
    section.values.assign(static_cast<std::size_t>(section.width) * section.height,
                          std::numeric_limits<float>::quiet_NaN());
    for (int c = 0; c < section.width; ++c) {
        const ColumnSpan& span = spans[static_cast<std::size_t>(c)];
        SectionColumn& column = section.columns[static_cast<std::size_t>(c)];
        column.shiftMs = span.shiftMs;
        if (c > 0 && section.columns[static_cast<std::size_t>(c) - 1].trace == column.trace) {
            for (int r = 0; r < section.height; ++r) {
                const std::size_t at = static_cast<std::size_t>(r) * section.width + c;
                section.values[at] = section.values[at - 1];
            }
            column.seaFloorRow = section.columns[static_cast<std::size_t>(c) - 1].seaFloorRow;
            if (progress && !progress(section.width + c + 1, total)) {
                return {};
            }
            continue;
        }
        const std::vector<double> amplitudes =
            reader.readTrace(section.columns[static_cast<std::size_t>(c)].trace).amplitudes;
        for (int r = 0; r < section.height; ++r) {
            const double top = (section.firstTimeMs + r * rowMs - span.startMs) / span.intervalMs;
            const double bottom = top + rowMs / span.intervalMs;
            auto from = static_cast<long long>(std::ceil(top));
            auto to = static_cast<long long>(std::ceil(bottom)) - 1;
            if (from > to) {
                from = to = std::llround((top + bottom) / 2);
            }
            from = std::max(from, 0LL);
            to = std::min(to, static_cast<long long>(span.samples) - 1);
            double strongest = std::numeric_limits<double>::quiet_NaN();
            for (long long i = from; i <= to; ++i) {
                const double v = amplitudes[static_cast<std::size_t>(i)];
                if (!(std::fabs(v) <= std::fabs(strongest))) {
                    strongest = v;
                }
            }
            section.values[static_cast<std::size_t>(r) * section.width + c] =
                static_cast<float>(strongest);
            section.hasNegative = section.hasNegative || strongest < 0;
        }
        if (std::isfinite(span.seaFloorMs) && span.seaFloorMs >= section.firstTimeMs &&
            span.seaFloorMs < section.lastTimeMs) {
            column.seaFloorRow =
                std::clamp(static_cast<int>((span.seaFloorMs - section.firstTimeMs) / rowMs), 0,
                           section.height - 1);
        }
        if (progress && !progress(section.width + c + 1, total)) {
            return {};
        }
    }
    return section;
}

double sectionClip(const SegySection& section, double percent) {
    std::vector<float> magnitudes;
    magnitudes.reserve(section.values.size());
    for (const float v : section.values) {
        if (std::isfinite(v)) {
            magnitudes.push_back(std::fabs(v));
        }
    }
    if (magnitudes.empty()) {
        return 1;
    }
    const double share = std::clamp(percent, 0.0, 100.0) / 100;
    const auto at =
        static_cast<std::size_t>(std::min(share * static_cast<double>(magnitudes.size()),
                                          static_cast<double>(magnitudes.size() - 1)));
    std::nth_element(magnitudes.begin(), magnitudes.begin() + static_cast<std::ptrdiff_t>(at),
                     magnitudes.end());
    double clip = magnitudes[at];
    if (clip == 0) {
        clip = *std::max_element(magnitudes.begin(), magnitudes.end());
    }
    return clip > 0 ? clip : 1;
}

TraceSpan zoomedSpan(TraceSpan shown, int about, double factor, int traceCount, int fewest) {
    const long long width = shown.last - shown.first + 1;
    const long long wanted = std::clamp(std::llround(static_cast<double>(width) * factor),
                                        std::min<long long>(std::max(fewest, 1), traceCount),
                                        static_cast<long long>(traceCount));
    about = std::clamp(about, shown.first, shown.last);
    const double share = width > 1 ? static_cast<double>(about - shown.first) / (width - 1) : 0.5;
    const long long first = about - std::llround(share * static_cast<double>(wanted - 1));
    return pannedSpan({static_cast<int>(first), static_cast<int>(first + wanted - 1)}, 0,
                      traceCount);
}

TraceSpan pannedSpan(TraceSpan shown, long long traces, int traceCount) {
    const long long width =
        std::min<long long>(static_cast<long long>(shown.last) - shown.first + 1, traceCount);
    const long long first =
        std::clamp(shown.first + traces, 0LL, static_cast<long long>(traceCount) - width);
    return {static_cast<int>(first), static_cast<int>(first + width - 1)};
}

void parseTraceRange(const std::string& text, int traceCount, SectionRequest& request) {
    const std::size_t dash = text.find('-', 1);
    const auto low = numbers::tryParseNumber(text.substr(0, dash));
    const auto high =
        dash == std::string::npos ? low : numbers::tryParseNumber(text.substr(dash + 1));
    const bool whole = low && high && *low == std::floor(*low) && *high == std::floor(*high);
    if (!whole || *low < 1 || *high < *low || *high > traceCount) {
        refuse(formatMessage("The traces '%s' are not a range A-B within the line's 1 to %s.",
                             {text, numbers::formatInteger(traceCount)}));
    }
    request.firstTrace = static_cast<int>(*low) - 1;
    request.lastTrace = static_cast<int>(*high) - 1;
}

} // namespace quarvel
