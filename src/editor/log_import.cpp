#include "editor/log_import.h"

#include "formats/log_file.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "survey/log_import_questions.h"

#include <algorithm>
#include <cmath>

namespace quarvel {
namespace {

// A plain log written "depth,velocity,density": its first line that is not
// blank splits at commas into two or more numbers. A log with decimal
// commas between blanks does not.
bool commaSeparated(std::string_view text) {
    for (const std::string& line : splitLines(text.substr(0, 4096))) {
        if (trimmed(line).empty()) {
            continue;
        }
        std::size_t cells = 0;
        std::size_t start = 0;
        while (true) {
            const std::size_t end = line.find(',', start);
            if (!finiteNumber(trimmed(std::string_view(line).substr(start, end - start)))) {
                return false;
            }
            ++cells;
            if (end == std::string::npos) {
                return cells >= 2;
            }
            start = end + 1;
        }
    }
    return false;
}

// Beyond these a value is a wrong unit or a broken file, never a core: the
// synthetic would be garbage and every number shown hundreds of digits long.
constexpr double LargestDepth = 1e5;    // m
constexpr double LargestVelocity = 1e5; // m/s
constexpr double LargestDensity = 1e5;  // g/cm3, or kg/m3 written as it stands

// Refuses a record whose values no log can hold: a negative velocity or
// density (0 is the mark of a missing value) or a magnitude beyond the
// limits above, naming the row and the column.
void checkValues(const std::vector<LogRecord>& records, std::string_view fileName) {
    const auto refuse = [fileName](std::size_t index, std::string_view column, double value,
                                   std::string_view rule) {
        throw QuarvelError(
            formatMessage("Row %s of the log \"%s\" has a %s of %s: %s. Nothing was changed.",
                          {numbers::formatInteger(static_cast<long long>(index) + 1), fileName,
                           column, numbers::formatSignificant(value, 6), rule}),
            ErrorKind::InvalidData);
    };
    for (std::size_t i = 0; i < records.size(); ++i) {
        const LogRecord& r = records[i];
        if (!(std::fabs(r.Depth) <= LargestDepth)) {
            refuse(i, "depth", r.Depth, "a depth lies within 100000 m");
        }
        if (r.Velocity < 0 || !(r.Velocity <= LargestVelocity)) {
            refuse(i, "P-wave velocity", r.Velocity,
                   "a velocity is 0 (missing) or above, up to 100000 m/s");
        }
        if (r.Density < 0 || !(r.Density <= LargestDensity)) {
            refuse(i, "density", r.Density, "a density is 0 (missing) or above, up to 100000");
        }
    }
}

// True when every depth lies above the one before it, or at it, and the
// last above the first.
bool decreasesThroughout(const std::vector<LogRecord>& records) {
    for (std::size_t i = 1; i < records.size(); ++i) {
        if (records[i].Depth > records[i - 1].Depth) {
            return false;
        }
    }
    return records.size() >= 2 && records.back().Depth < records.front().Depth;
}

// Keeps the records that lie deeper than the last one kept (the first below
// the core top), so that every depth of log.dat exceeds the one above it as
// the engine requires; what is left out is counted by reason.
std::vector<LogRecord> deeperOnly(const std::vector<LogRecord>& records, DroppedRows& dropped) {
    std::vector<LogRecord> kept;
    kept.reserve(records.size());
    double last = 0.0;
    for (std::size_t i = 0; i < records.size(); ++i) {
        const double depth = records[i].Depth;
        const int row = static_cast<int>(i) + 1;
        if (depth > last) {
            kept.push_back(records[i]);
            last = depth;
            continue;
        }
        ++dropped.count;
        if (kept.empty()) {
            dropped.firstRowAtTop = dropped.firstRowAtTop == 0 ? row : dropped.firstRowAtTop;
        } else if (depth == last) {
            dropped.firstRepeated = dropped.repeated++ == 0 ? row : dropped.firstRepeated;
        } else {
            dropped.firstDecreasing = dropped.decreasing++ == 0 ? row : dropped.firstDecreasing;
        }
    }
    return kept;
}

std::string seriesText(const LogGrid& grid, int length) {
    TextBuilder text;
    for (int row = 1; row <= length; ++row) {
        text.line(grid.cell(row, 0) + " " + grid.cell(row, 1) + " " + grid.cell(row, 2));
    }
    return text.text();
}

std::string rowsText(int count) {
    return numbers::formatInteger(count) + (count == 1 ? " row" : " rows");
}

// Says which rows log.dat leaves out and why, so that a later "log.dat holds
// 1 row" does not come as a surprise. The grid compares each row with the one
// directly above it; the import, with the last row it kept, and leaves the
// others out of the grid as well.
std::string droppedRowsNotice(const DroppedRows& dropped, std::string_view fileName,
                              bool byImport) {
    const std::string_view compared = byImport ? "the last row kept" : "the row above";
    std::vector<std::string> reasons;
    // Only the rows before the first one kept can lie at the core top or above.
    if (const int atTop = dropped.count - dropped.repeated - dropped.decreasing; atTop > 0) {
        reasons.push_back((atTop == 1 ? std::string("row 1 lies")
                                      : "rows 1 to " + numbers::formatInteger(atTop) + " lie") +
                          " at depth 0 or above (the log starts below the core top)");
    }
    if (dropped.repeated > 0) {
        reasons.push_back(
            formatMessage("%s %s the depth of %s (first: row %s)",
                          {rowsText(dropped.repeated), dropped.repeated == 1 ? "repeats" : "repeat",
                           compared, numbers::formatInteger(dropped.firstRepeated)}));
    }
    if (dropped.decreasing > 0) {
        reasons.push_back(
            formatMessage("%s %s shallower than %s (first: row %s)",
                          {rowsText(dropped.decreasing), dropped.decreasing == 1 ? "is" : "are",
                           compared, numbers::formatInteger(dropped.firstDecreasing)}));
    }
    std::string text =
        formatMessage("%s of the log \"%s\" %s left out of %s, whose depths must increase: ",
                      {rowsText(dropped.count), fileName, dropped.count == 1 ? "was" : "were",
                       byImport ? "the grid and log.dat" : "log.dat"});
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        text += (i == 0 ? "" : "; ") + reasons[i];
    }
    return text + ".";
}

std::vector<std::string> loadNotices(const LoadLogResult& result, std::string_view fileName,
                                     bool byImport) {
    std::vector<std::string> notices;
    if (result.truncated) {
        const std::string capacity = numbers::formatInteger(LogCapacity);
        notices.push_back(formatMessage("The log file \"%s\" holds more than %s records: only the "
                                        "first %s were loaded, the rest was left out.",
                                        {fileName, capacity, capacity}));
    }
    if (result.nonNumericEntries > 0) {
        notices.push_back(
            formatMessage("%s entries of the log file \"%s\" are not numbers; they were read as "
                          "0 or up to their first character that is not part of a number.",
                          {numbers::formatInteger(result.nonNumericEntries), fileName}));
    }
    if (result.dropped.count > 0) {
        notices.push_back(droppedRowsNotice(result.dropped, fileName, byImport));
    }
    return notices;
}

} // namespace

std::optional<ImportedLog> importLogFile(const std::filesystem::path& fileName,
                                         LogImportQuestions& questions, RunsOfMissing runs) {
    return importLogText(readLogText(fileName), fileName.string(), questions, runs);
}

std::optional<ImportedLog> importLogText(std::string_view content, const std::string& name,
                                         LogImportQuestions& questions, RunsOfMissing runs) {
    const std::string_view text = withoutByteOrderMark(content);
    if (trimmed(text).empty()) {
        throw QuarvelError(formatMessage("The log file \"%s\" is empty.", {name}),
                           ErrorKind::InvalidData);
    }
    ImportedLog imported;
    std::string plain;
    const LogFileKind kind = logFileKind(text);
    if (kind == LogFileKind::Plain) {
        plain = text;
        if (commaSeparated(text)) {
            std::replace(plain.begin(), plain.end(), ',', ' ');
        }
    } else {
        const SurveyLog log = readSurveyLog(kind, text, name);
        auto converted = importSurveyLog(log, questions);
        if (!converted) {
            return std::nullopt;
        }
        plain = std::move(converted->text);
        if (std::string summary = importSummary(*converted, log.notes, name, runs);
            !summary.empty()) {
            imported.notices.push_back(std::move(summary));
        }
    }
    const std::string tooMany =
        formatMessage("The log file \"%s\" holds more than %s records, more than Quarvel can "
                      "hold; nothing was changed.",
                      {name, numbers::formatInteger(LogCapacity)});
    LogFile records =
        parseLogFile(plain, {name, FieldRule::NumericPrefixPerLine, LogCapacity, tooMany});
    checkValues(records.records, name);
    const bool turned = decreasesThroughout(records.records);
    if (turned) {
        std::reverse(records.records.begin(), records.records.end());
        imported.notices.push_back(formatMessage(
            "The depths of \"%s\" decrease down the file; the log was turned over so that they "
            "increase.",
            {name}));
    }
    DroppedRows dropped;
    records.records = deeperOnly(records.records, dropped);
    LogGrid grid;
    imported.result = LoadLog(grid, records);
    imported.result.records += dropped.count;
    imported.result.dropped = dropped;
    imported.gridText =
        turned || dropped.count > 0 ? seriesText(grid, logSeriesLength(grid)) : std::move(plain);
    imported.logDat = SaveLog(grid);
    for (std::string& notice : loadNotices(imported.result, name, true)) {
        imported.notices.push_back(std::move(notice));
    }
    return imported;
}

std::vector<std::string> loadLogNotices(const LoadLogResult& result, std::string_view fileName) {
    return loadNotices(result, fileName, false);
}

} // namespace quarvel
