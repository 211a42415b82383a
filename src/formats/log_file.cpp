#include "formats/log_file.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

namespace quarvel {
namespace {

constexpr int LogWidth = 3;

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

class RecordSink final : public FieldSink {
public:
    explicit RecordSink(std::vector<LogRecord>& records) : records_(records) {}
    void reserve(std::size_t records) override { records_.reserve(records); }
    void add(std::span<const double> record) override {
        records_.push_back({record[0], record[1], record[2]});
    }

private:
    std::vector<LogRecord>& records_;
};

} // namespace

LogFile parseLogFile(std::string_view text, const RecordReading& reading) {
    LogFile log;
    RecordSink sink(log.records);
    const FieldSummary summary = readLogRecords(text, reading, sink);
    log.truncated = summary.truncated;
    log.inexact = summary.inexact;
    return log;
}

FieldSummary readLogRecords(std::string_view text, const RecordReading& reading, FieldSink& sink) {
    return readFieldLines(
        text,
        {reading.fileName, LogWidth, LogFields, reading.rule, reading.maxRecords, reading.tooMany},
        sink);
}

std::string readLogText(const std::filesystem::path& path) {
    std::string text = readTextFile(path, LogFileLimit);
    if (text.find('\0') != std::string::npos) {
        throwCannotOpen(path.string(), "It is not a text file.", ErrorKind::InvalidData);
    }
    return text;
}

LogDecimals decimalsToKeep(const std::vector<LogRecord>& records) {
    return {decimalsFor(records, &LogRecord::Depth), decimalsFor(records, &LogRecord::Velocity),
            decimalsFor(records, &LogRecord::Density)};
}

void appendLogLine(std::string& text, std::string_view depth, std::string_view velocity,
                   std::string_view density) {
    text += depth;
    text += ' ';
    text += velocity;
    text += ' ';
    text += density;
    text += LineEnd;
}

std::string formatLogRecords(const std::vector<LogRecord>& records) {
    return formatLogRecords(records, decimalsToKeep(records));
}

std::string formatLogRecords(const std::vector<LogRecord>& records, const LogDecimals& decimals) {
    std::string text;
    for (const LogRecord& record : records) {
        appendLogLine(text, numbers::formatFixed(record.Depth, decimals.depth, 3),
                      numbers::formatFixed(record.Velocity, decimals.velocity, 3),
                      numbers::formatFixed(record.Density, decimals.density, 3));
    }
    return text;
}

} // namespace quarvel
