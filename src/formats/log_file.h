#pragma once

#include "formats/field_lines.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// log.dat and the log files a user loads: one record per line, depth (m),
// P-wave velocity (m/s) and density separated by blanks, every line ended
// with CR LF.
namespace quarvel {

// One log sample: depth in metres, P-wave velocity in m/s, density in the
// log's own unit (g/cm3 for the usual files; the panels multiply it by 1000).
struct LogRecord {
    double Depth = 0.0;
    double Velocity = 0.0;
    double Density = 0.0;
};

inline constexpr std::string_view LogFields = "depth, P-wave velocity, density";

// A log of the most records the program holds takes a few megabytes; a file
// far larger is not a log and would only tie the program up.
inline constexpr std::uintmax_t LogFileLimit = 256ULL * 1024 * 1024;

struct LogFile {
    std::vector<LogRecord> records;
    bool truncated = false; // records beyond maxRecords were left out
    int inexact = 0;        // fields read as far as they were numeric
};

// The records of a log's whole text, read by the rule. Throws QuarvelError.
// Each consumer follows its own rule: the engine reads its own working file by
// whole numbers per line (a wrong number there would silently change the
// synthetic), the data editor loads a user's file by numeric prefixes per line
// and counts what it had to guess, and the log panels and Interpolate Series
// read log.dat by tokens, the rest of each line skipped.
LogFile parseLogFile(std::string_view text, const RecordReading& reading);

// The same records (depth, velocity, density) given to the sink as they are
// read, for a consumer that keeps them in another form.
FieldSummary readLogRecords(std::string_view text, const RecordReading& reading, FieldSink& sink);

// The whole text of a user's log file, read in one block, without a UTF-8
// byte-order mark. Throws "Cannot open file ..." when it cannot be read, is
// not text (it holds NUL characters) or is larger than LogFileLimit.
std::string readLogText(const std::filesystem::path& path);

// The decimals each column of a log is written with.
struct LogDecimals {
    int depth = 3;
    int velocity = 3;
    int density = 3;
};

// For each column, the fewest decimals from 3 up to 6 with which every value
// reads back as it does with 6: depths a tenth of a millimetre apart stay
// apart, and no digit typed is lost.
LogDecimals decimalsToKeep(const std::vector<LogRecord>& records);

// One line of a log: the three texts separated by one blank, then CR LF.
void appendLogLine(std::string& text, std::string_view depth, std::string_view velocity,
                   std::string_view density);

// The records as log lines, "1500.000 ..." with three decimals where that
// loses nothing (decimalsToKeep), or with the decimals given.
std::string formatLogRecords(const std::vector<LogRecord>& records);
std::string formatLogRecords(const std::vector<LogRecord>& records, const LogDecimals& decimals);

} // namespace quarvel
