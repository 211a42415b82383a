#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quarvel::tie {

// One mark-making click on the photograph, kept after the marks' pixels are
// redrawn away.
struct TiePoint {
    int row = 0;                    // photograph pixel row
    std::string depthText;          // the depth read-out, m, as shown
    double estTwt = 0.0;            // estimated two-way time, ms
    std::optional<double> traceTwt; // the trace time marked, ms, when the trace was marked

    bool operator==(const TiePoint&) const = default;
};

// CSV text: the header "row,depth_m,est_twt_ms,trace_twt_ms", then one line
// per point in the order given, times with 3 decimals and an empty last
// field where the trace was not marked; "." decimals, CR LF line ends.
std::string tiePointsCsv(const std::vector<TiePoint>& points);

// The time-depth table the tie points make: the sea floor (0, 0), then each
// point with a trace time, by depth (depth_m,twt_ms, the trace's times), with
// a first line saying that times between them are read on straight lines.
// Throws QuarvelError when no point has a trace time.
std::string tiePointTimeDepthCsv(const std::vector<TiePoint>& points);

} // namespace quarvel::tie
