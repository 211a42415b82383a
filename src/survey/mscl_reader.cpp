#include "survey/mscl_reader.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <algorithm>
#include <optional>
#include <vector>

namespace quarvel {
namespace {

constexpr std::string_view CannotReadMscl = "Cannot read the MSCL file \"%s\". %s";
// The heading lies among the first lines; a file is not searched further.
constexpr std::size_t HeadingSearchLines = 60;

std::vector<std::string_view> cells(std::string_view line, char delimiter) {
    std::vector<std::string_view> found;
    std::size_t start = 0;
    while (true) {
        const std::size_t end = line.find(delimiter, start);
        found.push_back(trimmed(line.substr(start, end - start)));
        if (end == std::string_view::npos) {
            return found;
        }
        start = end + 1;
    }
}

bool namesDepth(std::string_view cell) {
    const std::string name = upperCase(cell);
    return name == "DEPT" || name.find("DEPTH") != std::string::npos;
}

std::optional<char> delimiterOf(const std::vector<std::string>& lines) {
    const std::size_t looked = std::min(lines.size(), HeadingSearchLines);
    for (const char delimiter : {'\t', ','}) {
        for (std::size_t i = 0; i < looked; ++i) {
            if (lines[i].find(delimiter) != std::string::npos) {
                return delimiter;
            }
        }
    }
    return std::nullopt;
}

// The index of the row of column names: the first that names a depth column
// beside at least one other.
std::optional<std::size_t> headingRow(const std::vector<std::string>& lines, char delimiter) {
    const std::size_t looked = std::min(lines.size(), HeadingSearchLines);
    for (std::size_t i = 0; i < looked; ++i) {
        const auto row = cells(lines[i], delimiter);
        std::size_t named = 0;
        bool depth = false;
        for (const std::string_view cell : row) {
            named += cell.empty() ? 0 : 1;
            depth = depth || namesDepth(cell);
        }
        if (depth && named >= 2) {
            return i;
        }
    }
    return std::nullopt;
}

bool holdsNumber(const std::vector<std::string_view>& row) {
    for (const std::string_view cell : row) {
        if (finiteNumber(cell)) {
            return true;
        }
    }
    return false;
}

[[noreturn]] void fail(const std::string& fileName, std::string_view reason) {
    throw QuarvelError(formatMessage(CannotReadMscl, {fileName, reason}));
}

bool isBlankRow(const std::vector<std::string_view>& row) {
    for (const std::string_view cell : row) {
        if (!cell.empty()) {
            return false;
        }
    }
    return true;
}

} // namespace

bool looksLikeMscl(std::string_view text) {
    const std::vector<std::string> lines = splitLines(text.substr(0, 64 * 1024));
    const auto delimiter = delimiterOf(lines);
    return delimiter && headingRow(lines, *delimiter);
}

MsclTable readMscl(std::string_view text, const std::string& fileName) {
    const std::vector<std::string> lines = splitLines(text);
    const auto delimiter = delimiterOf(lines);
    const auto heading = delimiter ? headingRow(lines, *delimiter) : std::nullopt;
    if (!heading) {
        fail(fileName,
             "It is not a tab- or comma-separated table with a row of column names naming a "
             "depth column.");
    }
    MsclTable result;
    ColumnTable& table = result.table;
    const auto names = cells(lines[*heading], *delimiter);
    for (std::size_t c = 0; c < names.size(); ++c) {
        std::string name(names[c]);
        if (name.empty()) {
            name = "Column " + numbers::formatInteger(static_cast<long long>(c) + 1);
        }
        table.columns.push_back({name, ""});
    }
    std::size_t next = *heading + 1;
    if (next < lines.size()) {
        const auto units = cells(lines[next], *delimiter);
        if (!holdsNumber(units) && !isBlankRow(units)) {
            for (std::size_t c = 0; c < units.size() && c < table.columns.size(); ++c) {
                table.columns[c].unit = std::string(units[c]);
            }
            ++next;
        }
    }
    for (std::size_t i = next; i < lines.size(); ++i) {
        const auto row = cells(lines[i], *delimiter);
        if (!holdsNumber(row)) {
            result.rowsLeftOut += isBlankRow(row) ? 0 : 1;
            continue;
        }
        if (table.rows.size() == TableRowLimit) {
            table.truncated = true;
            break;
        }
        std::vector<double> values(table.columns.size(), MissingValue);
        for (std::size_t c = 0; c < row.size() && c < values.size(); ++c) {
            if (!readCell(row[c], values[c])) {
                values[c] = MissingValue;
                ++result.cellsNotNumbers;
            }
        }
        table.rows.push_back(std::move(values));
    }
    if (table.rows.empty()) {
        fail(fileName, "It holds no row of values below its column names.");
    }
    return result;
}

} // namespace quarvel
