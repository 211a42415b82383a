#pragma once

#include "formats/log_file.h"

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

// The records of the text of "log.dat" as Interpolate Series reads them: by
// tokens, the rest of each line skipped, every record kept.
std::vector<LogRecord> readLogRecords(std::string_view logText);

// Interpolate Series on the text of "log.dat": the new text of the file.
// Each column keeps the decimals its values as read need, so filled values
// are written with three decimals unless the log itself holds more.
std::string interpolateLogText(std::string_view logText);

} // namespace quarvel
