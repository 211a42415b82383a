#include "editor/interpolation.h"

#include "formats/numbers.h"
#include "formats/text_file.h"
#include "formats/token_reader.h"

#include <cstddef>
#include <sstream>

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

std::vector<LogRecord> readLogRecords(std::istream& in) {
    std::vector<LogRecord> records;
    TokenReader reader(in);
    while (!reader.onlySeparatorsLeft()) {
        LogRecord record;
        record.Depth = reader.readNumber();
        record.Velocity = reader.readNumber();
        record.Density = reader.readNumber();
        reader.skipLine();
        records.push_back(record);
    }
    return records;
}

std::string formatLogRecords(const std::vector<LogRecord>& records) {
    TextBuilder text;
    for (const LogRecord& record : records) {
        text.line(numbers::formatF3(record.Depth) + ' ' + numbers::formatF3(record.Velocity) + ' ' +
                  numbers::formatF3(record.Density));
    }
    return text.text();
}

std::string interpolateLogText(std::string_view logText) {
    std::istringstream in{std::string(logText)};
    std::vector<LogRecord> records = readLogRecords(in);
    InterpolateGaps(records);
    return formatLogRecords(records);
}

} // namespace quarvel
