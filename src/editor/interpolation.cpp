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

int decimalsFor(const std::vector<LogRecord>& records, double LogRecord::*field) {
    constexpr int Fewest = 3;
    constexpr int Most = 6;
    int decimals = Fewest;
    for (const LogRecord& record : records) {
        const double kept = numbers::parseNumber(numbers::formatFixed(record.*field, Most));
        while (decimals < Most &&
               numbers::parseNumber(numbers::formatFixed(record.*field, decimals)) != kept) {
            ++decimals;
        }
    }
    return decimals;
}

} // namespace

LogDecimals decimalsToKeep(const std::vector<LogRecord>& records) {
    return {decimalsFor(records, &LogRecord::Depth), decimalsFor(records, &LogRecord::Velocity),
            decimalsFor(records, &LogRecord::Density)};
}

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
    return formatLogRecords(records, decimalsToKeep(records));
}

std::string formatLogRecords(const std::vector<LogRecord>& records, const LogDecimals& decimals) {
    TextBuilder text;
    for (const LogRecord& record : records) {
        text.line(numbers::formatFixed(record.Depth, decimals.depth, 3) + ' ' +
                  numbers::formatFixed(record.Velocity, decimals.velocity, 3) + ' ' +
                  numbers::formatFixed(record.Density, decimals.density, 3));
    }
    return text.text();
}

std::string interpolateLogText(std::string_view logText) {
    std::istringstream in{std::string(logText)};
    std::vector<LogRecord> records = readLogRecords(in);
    const LogDecimals decimals = decimalsToKeep(records);
    InterpolateGaps(records);
    return formatLogRecords(records, decimals);
}

} // namespace quarvel
