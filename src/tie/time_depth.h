#pragma once

#include <string>
#include <vector>

// The log's own relation of depth to two-way time, by the rule the engine
// lays its time grid with: the span from the core top to the first row at
// the first row's velocity, every later interval at its lower row's
// velocity.
namespace quarvel::tie {

struct TimeDepthPoint {
    double depth = 0.0; // m below the core top (the sea floor)
    double twt = 0.0;   // ms
};

// The sea floor (0, 0), then one point per row. depths and velocities are
// the log's columns, in order. Throws QuarvelError for a velocity not above
// 0 and for depths that do not increase, naming the row.
std::vector<TimeDepthPoint> timeDepthTable(const std::vector<double>& depths,
                                           const std::vector<double>& velocities);

// CSV text: the header "depth_m,twt_ms", then depth with 4 decimals and time
// with 3 (the read-outs' precisions), "." decimals, CR LF line ends.
std::string timeDepthCsv(const std::vector<TimeDepthPoint>& table);

} // namespace quarvel::tie
