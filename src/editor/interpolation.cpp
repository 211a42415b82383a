#include "editor/interpolation.h"

#include <cstddef>

namespace quarvel {
namespace {

// One pass over one field. Each record is visited once and the scan runs only
// to the next non-zero value; a run left unfilled is skipped whole, so the
// work stays proportional to the number of records.
void fillField(std::vector<LogRecord>& records, double LogRecord::*field) {
    const std::size_t n = records.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        std::size_t close = i + 1;
        while (close < n && records[close].*field == 0.0) {
            ++close;
        }
        if (close == n) {
            // Zeros up to the end of the log: nothing closes them.
            return;
        }
        const std::size_t j = close - i;
        if (j < 3) {
            continue;
        }
        const double d1 = records[i].Depth;
        const double p1 = records[i].*field;
        const double d2 = records[close].Depth;
        const double p2 = records[close].*field;
        if (!(d2 - d1 > 0.0)) {
            // Depths that do not increase give no line to follow.
            i = close - 1;
            continue;
        }
        const double a = (p2 - p1) / (d2 - d1);
        const double b = (p1 * d2 - d1 * p2) / (d2 - d1);
        for (std::size_t k = i + 1; k <= close; ++k) {
            records[k].*field = a * records[k].Depth + b;
        }
    }
}

} // namespace

void InterpolateGaps(std::vector<LogRecord>& records) {
    fillField(records, &LogRecord::Velocity);
    fillField(records, &LogRecord::Density);
}

std::vector<LogRecord> readLogRecords(std::string_view logText) {
    return parseLogFile(logText, {"log.dat", FieldRule::TokensToLineEnd, NoRecordLimit, {}})
        .records;
}

std::string interpolateLogText(std::string_view logText) {
    std::vector<LogRecord> records = readLogRecords(logText);
    const LogDecimals decimals = decimalsToKeep(records);
    InterpolateGaps(records);
    return formatLogRecords(records, decimals);
}

} // namespace quarvel
