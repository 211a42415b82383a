#pragma once

#include "formats/series_file.h"
#include "probe/workspace_state.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The read-outs of the correlation workspace, computed without any window:
// a photograph row to a depth, a depth to an estimated two-way time through
// the loaded log, and the time and amplitude under the pointer on the
// synthetic and trace panels. The main window shows what these return.
namespace quarvel::depth_twt {

// The depth in metres of a row offset dy (pointer row minus ymin), from the
// Top and Bottom texts (mm) and the rows ymin and ymax they belong to. Rows
// outside ymin..ymax extrapolate. Bottom must read as a number as a whole;
// when it does not, the previous depth stands. Top reads its numeric prefix (0 when it
// has none). Throws "Floating point division by zero" when ymin equals ymax
// (or "Invalid floating point operation" when Bottom also equals Top).
double probeDepth(std::string_view topText, std::string_view bottomText, int ymin, int ymax,
                  long long dy, double previousDepth);

// The two-way time down to a depth.
struct TwtEstimate {
    double estTwt = 0.0; // ms, two way
    double instVelocity = 0.0;
    double instDensity = 0.0;
    std::string velocityText; // Edit2: 2 decimals; empty without a log
    std::string densityText;  // Edit3: 3 decimals; empty without a log
    int record = 0;           // 1-based record the read-outs show; 0 without a log
    bool belowLog = false;    // the depth lies below the last loaded record
};

// Sums, from record 1 down to the first record at or below the depth, each
// interval's thickness over the mean of its end velocities (pairs whose mean
// is 0 or less add nothing), then doubles it into milliseconds two way. A
// negative depth counts as 0. Only the first logCount records are read.
// Below the last record the sum runs to the last record and continues at
// that record's velocity down to the depth, and the read-outs show the last
// record. An empty log gives 0 ms and blank read-outs.
TwtEstimate estimateTwt(const std::vector<LogRecord>& table, int logCount, double depth);

// The texts shown for a probed point.
struct PointTexts {
    std::string depthText; // 4 decimals
    std::string twtText;   // 3 decimals
    std::string status0;   // "Image: (x, y)  R:r  G:g  B:b"
    std::string status1;   // "Depth :d m    Est. TWT:t msec"
};

PointTexts pointTexts(long long x, long long y, int red, int green, int blue, double depth,
                      double estTwt);

// What a panel's two status texts show for the pointer at (x, y).
struct PanelReadout {
    std::string status0;
    std::string status1;
};

// Synthetic panel: times in seconds, shown in ms. A panel of no width or
// height reads as zero per pixel rather than failing.
PanelReadout synthReadout(int x, int y, int width, int height, const SeriesExtents& synth);

// Trace panel: times in ms, shown relative to the first sample and, in
// brackets, absolute from the smallest trace time (timeMinMs / 1000).
PanelReadout traceReadout(int x, int y, int width, int height, const SeriesExtents& trace,
                          double timeMinMs);

// The row of the trace panel for a two-way time in ms: the time over the
// panel's time per pixel, truncated toward zero, counted from the top row.
// Throws, saying so, when no trace spanning any time is drawn, and "Invalid
// floating point operation" for a row beyond any integer.
int traceMarkRow(double markTwt, double timeFirst, double timeLast, int height);
inline constexpr std::string_view NoTraceToMark =
    "No trace spanning any time is drawn, so the mark cannot be placed on it: load a trace on "
    "the data editor's Trace page, or uncheck \"Trace\".";

// The two-way time in ms (from the trace's first sample) that a row of the
// trace panel shows: the inverse of traceMarkRow, to the row's top. Throws
// "Floating point division by zero" when the trace spans no time.
double traceTimeAtRow(int row, double timeFirst, double timeLast, int height);

// The label beside the trace mark: "t (depth)" with t in 3 decimals.
std::string traceMarkLabel(double markTwt, std::string_view depthText);

} // namespace quarvel::depth_twt
