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

// The records as "log.dat" lines with three decimals: "1500.000 ...".
std::string formatLogRecords(const std::vector<LogRecord>& records);

// Interpolate Series on the text of "log.dat": the new text of the file.
std::string interpolateLogText(std::string_view logText);

} // namespace quarvel
