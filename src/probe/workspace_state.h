#pragma once

#include "formats/capacity.h"
#include "formats/log_file.h"

#include <vector>

namespace quarvel {

// The most records the log table holds.
inline constexpr int LogCapacity = SeriesCapacity;

// The state of the correlation workspace, kept for the whole run by the
// Workspace document: the log the panels draw and the read-outs estimate
// through.
// m is metres, ms milliseconds.
struct WorkspaceState {
    // The loaded log: exactly the records the last scale computation read
    // (LogCount of them), so nothing from an earlier, longer log lingers.
    std::vector<LogRecord> LogTable;
    int LogCount = 0;
    double LogTopDepth = 0.0;
    double LogBottomDepth = 0.0;
    double MeanVelocity = 0.0;

    bool NoLogLoaded = true;
};

} // namespace quarvel
