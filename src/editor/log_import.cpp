#include "editor/log_import.h"

#include "formats/log_file.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "survey/log_import_questions.h"

#include <algorithm>

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

std::optional<double> depthOf(const LogGrid& grid, int row) {
    return finiteNumber(trimmed(grid.cell(row, 0)));
}

// True when every depth of the series lies above the one before it, or at
// it, and the last above the first.
bool decreasesThroughout(const LogGrid& grid, int length) {
    if (length < 2) {
        return false;
    }
    for (int row = 2; row <= length; ++row) {
        const auto above = depthOf(grid, row - 1);
        const auto here = depthOf(grid, row);
        if (!above || !here || *here > *above) {
            return false;
        }
    }
    return *depthOf(grid, length) < *depthOf(grid, 1);
}

std::string seriesText(const LogGrid& grid, int length) {
    TextBuilder text;
    for (int row = 1; row <= length; ++row) {
        text.line(grid.cell(row, 0) + " " + grid.cell(row, 1) + " " + grid.cell(row, 2));
    }
    return text.text();
}

void turnOver(LogGrid& grid, int length) {
    for (int top = 1, bottom = length; top < bottom; ++top, --bottom) {
        for (int column = 0; column < LogGridColumns; ++column) {
            std::string upper = grid.cell(top, column);
            grid.setCell(top, column, grid.cell(bottom, column));
            grid.setCell(bottom, column, std::move(upper));
        }
    }
}

} // namespace

std::optional<ImportedLog> importLogFile(const std::filesystem::path& fileName,
                                         LogImportQuestions& questions) {
    const std::string name = fileName.string();
    const std::string content = readLogText(fileName);
    const std::string_view text = withoutByteOrderMark(content);
    if (trimmed(text).empty()) {
        throw QuarvelError(formatMessage("The log file \"%s\" is empty.", {name}));
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
        if (std::string summary = importSummary(*converted, log.notes, name); !summary.empty()) {
            imported.notices.push_back(std::move(summary));
        }
    }
    LogGrid grid;
    imported.result = LoadLog(grid, plain, name);
    const int length = logSeriesLength(grid);
    if (decreasesThroughout(grid, length)) {
        turnOver(grid, length);
        imported.result.dropped = droppedRows(grid);
        imported.notices.push_back(formatMessage(
            "The depths of \"%s\" decrease down the file; the log was turned over so that they "
            "increase.",
            {name}));
        imported.gridText = seriesText(grid, length);
    } else {
        imported.gridText = std::move(plain);
    }
    imported.logDat = SaveLog(grid);
    for (std::string& notice : loadLogNotices(imported.result, name)) {
        imported.notices.push_back(std::move(notice));
    }
    return imported;
}

namespace {

std::string rowsText(int count) {
    return numbers::formatInteger(count) + (count == 1 ? " row" : " rows");
}

// Says which rows log.dat leaves out and why, so that a later "log.dat holds
// 1 row" does not come as a surprise.
std::string droppedRowsNotice(const DroppedRows& dropped, std::string_view fileName) {
    std::vector<std::string> reasons;
    if (dropped.firstRowAtTop != 0) {
        reasons.push_back("row 1 lies at depth 0 or above (the log starts below the core top)");
    }
    if (dropped.repeated > 0) {
        reasons.push_back(
            formatMessage("%s %s the depth of the row above (first: row %s)",
                          {rowsText(dropped.repeated), dropped.repeated == 1 ? "repeats" : "repeat",
                           numbers::formatInteger(dropped.firstRepeated)}));
    }
    if (dropped.decreasing > 0) {
        reasons.push_back(
            formatMessage("%s %s shallower than the row above (first: row %s)",
                          {rowsText(dropped.decreasing), dropped.decreasing == 1 ? "is" : "are",
                           numbers::formatInteger(dropped.firstDecreasing)}));
    }
    std::string text =
        formatMessage("%s of the log \"%s\" %s left out of log.dat, whose depths "
                      "must increase: ",
                      {rowsText(dropped.count), fileName, dropped.count == 1 ? "was" : "were"});
    for (std::size_t i = 0; i < reasons.size(); ++i) {
        text += (i == 0 ? "" : "; ") + reasons[i];
    }
    return text + ".";
}

} // namespace

std::vector<std::string> loadLogNotices(const LoadLogResult& result, std::string_view fileName) {
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
        notices.push_back(droppedRowsNotice(result.dropped, fileName));
    }
    return notices;
}

} // namespace quarvel
