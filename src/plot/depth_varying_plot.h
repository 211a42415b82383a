#pragma once

#include <QFont>
#include <QImage>
#include <QRgb>
#include <vector>

namespace quarvel {

// A series to draw against two-way time (ms).
struct TimedSeries {
    std::vector<double> time;
    std::vector<double> value;
};

// A tie point of the depth-varying tie: where the bulk tie puts its event
// and where the alignment puts it (ms).
struct JoinedTie {
    double bulkTwt = 0.0;
    double traceTwt = 0.0;
    bool accepted = false;
};

// The colours the tie points are drawn in, here and on the main window.
inline constexpr QRgb ProposedTieColor = 0xffe07000; // orange
inline constexpr QRgb AcceptedTieColor = 0xff008000; // green

// Three columns on one time axis, down from the top: the synthetic where the
// bulk tie puts it, the trace, and the synthetic stretched and squeezed onto
// it. Each series is scaled to its own column; every tie point is a line
// from its event on the first column, across the trace, to where the
// alignment puts it on the third. The time range is the trace's; column
// titles at the top, the range in ms at the bottom.
QImage renderDepthVaryingPlot(const TimedSeries& before, const TimedSeries& trace,
                              const TimedSeries& after, const std::vector<JoinedTie>& ties,
                              int width, int height, const QFont& font);

} // namespace quarvel
