#include "tie/tie_points.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <map>

namespace quarvel::tie {

std::string tiePointsCsv(const std::vector<TiePoint>& points) {
    TextBuilder text;
    text.line("row,depth_m,est_twt_ms,trace_twt_ms");
    for (const TiePoint& point : points) {
        std::string line = numbers::formatInteger(point.row);
        line += ',';
        line += point.depthText;
        line += ',';
        line += numbers::formatFixed(point.estTwt, 3);
        line += ',';
        if (point.traceTwt) {
            line += numbers::formatFixed(*point.traceTwt, 3);
        }
        text.line(line);
    }
    return text.text();
}

std::string tiePointTimeDepthCsv(const std::vector<TiePoint>& points) {
    // By depth; of two points at one depth the later one counts.
    std::map<double, const TiePoint*> byDepth;
    for (const TiePoint& point : points) {
        const std::optional<double> depth = numbers::tryParseNumber(point.depthText);
        if (point.traceTwt && depth && *depth > 0) {
            byDepth[*depth] = &point;
        }
    }
    if (byDepth.empty()) {
        throw QuarvelError("No tie point has a trace time to make a time-depth table from. Mark "
                           "the trace too (check Trace), or Shift+click the trace to pick it.");
    }
    TextBuilder text;
    text.line("# depth (m) to the trace's two-way time (ms) at " +
              numbers::formatInteger(static_cast<long long>(byDepth.size())) +
              " tie points below the sea floor; straight lines between them");
    text.line("depth_m,twt_ms");
    text.line("0.0000,0.000");
    double previous = 0.0;
    std::string previousDepth = "the sea floor";
    for (const auto& [depth, point] : byDepth) {
        if (!(*point->traceTwt > previous)) {
            throw QuarvelError("The trace time of the tie point at " + point->depthText +
                               " m is not later than that of " + previousDepth +
                               ": times must increase with depth.");
        }
        text.line(numbers::formatFixed(depth, 4) + "," + numbers::formatFixed(*point->traceTwt, 3));
        previous = *point->traceTwt;
        previousDepth = point->depthText + " m";
    }
    return text.text();
}

} // namespace quarvel::tie
