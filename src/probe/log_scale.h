#pragma once

#include "probe/workspace_state.h"

#include <filesystem>
#include <string_view>
#include <vector>

namespace quarvel {

// The horizontal ranges of the two log panels as the scale dialogs hold them:
// velocity in m/s, density in thousandths of the log's density unit.
struct LogScaleSettings {
    bool autoVel = true;
    int minVel = 1400;
    int maxVel = 1600;
    bool autoDens = true;
    int minDens = 1400;
    int maxDens = 2300;

    bool operator==(const LogScaleSettings&) const = default;
};

// What one reading of the log file gives: the records, the bounds (automatic
// ones recomputed, the others as they came in) and the derived values.
struct LogScaleResult {
    std::vector<LogRecord> records;
    LogScaleSettings scales;
    double meanVelocity = 0.0;
    double topDepth = 0.0;    // depth of the first record, 0 when there is none
    double bottomDepth = 0.0; // depth of the last record, 0 when there is none
    // The file held more than LogCapacity records; the rest was left out.
    bool truncated = false;
};

// Reads the log by tokens (three numbers a record, each as far as it is
// numeric, the rest of each line skipped; reading ends when nothing but
// blanks and line ends is left) and,
// for each bound whose auto flag is on, takes the range of the records lying
// below depth 0. Bounds are whole numbers: a value is truncated toward zero
// when it widens a bound, and compared against the bound's current value.
LogScaleResult calcLogScale(std::string_view logText, const LogScaleSettings& settings);

// The same from a file, read in one block; a missing file counts as an empty
// log. Throws "Cannot open file ..." when it exists but cannot be read, is
// not a file (a FIFO would block) or is larger than LogFileLimit.
LogScaleResult calcLogScaleFile(const std::filesystem::path& path,
                                const LogScaleSettings& settings);

// Stores the records and the derived values in the workspace (LogTable,
// LogCount, LogTopDepth, LogBottomDepth, MeanVelocity).
void applyLogScale(const LogScaleResult& result, WorkspaceState& state);

} // namespace quarvel
