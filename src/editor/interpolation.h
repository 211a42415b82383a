#pragma once

#include "workspace/workspace_state.h"

#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Fills runs of missing values (exactly 0) in the velocity and then the
// density of the records by straight lines against depth. A run is filled
// only when at least two zeros lie between its anchors and a non-zero value
// closes it; the opening anchor may itself be 0, so a log that starts with
// missing values ramps up from 0. A run whose anchors' depths do not increase
// is left as it is.
void InterpolateGaps(std::vector<LogRecord>& records);

// The records of "log.dat", one per line (the rest of each line is ignored).
std::vector<LogRecord> readLogRecords(std::istream& in);

// The decimals each column of "log.dat" is written with.
struct LogDecimals {
    int depth = 3;
    int velocity = 3;
    int density = 3;
};

// For each column, the fewest decimals from 3 up to 6 (what the grid's F6
// texts hold) with which every value reads back as it does with 6: depths a
// tenth of a millimetre apart stay apart, and no digit typed is lost.
LogDecimals decimalsToKeep(const std::vector<LogRecord>& records);

// The records as "log.dat" lines, "1500.000 ..." with three decimals where
// that loses nothing (decimalsToKeep), or with the decimals given.
std::string formatLogRecords(const std::vector<LogRecord>& records);
std::string formatLogRecords(const std::vector<LogRecord>& records, const LogDecimals& decimals);

// Interpolate Series on the text of "log.dat": the new text of the file.
// Each column keeps the decimals its values as read need, so filled values
// are written with three decimals unless the log itself holds more.
std::string interpolateLogText(std::string_view logText);

} // namespace quarvel
