#include "survey/mscl_reader.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <algorithm>
#include <array>
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

bool holdsDelimiter(const std::vector<std::string>& lines, char delimiter) {
    const std::size_t looked = std::min(lines.size(), HeadingSearchLines);
    for (std::size_t i = 0; i < looked; ++i) {
        if (lines[i].find(delimiter) != std::string::npos) {
            return true;
        }
    }
    return false;
}

// A cell of a table not separated by commas may write its decimal point as
// a comma ("1,62"); such a cell is read through `spare`.
std::string_view decimalPoint(std::string_view cell, char delimiter, std::string& spare) {
    if (delimiter == ',' || cell.find(',') == std::string_view::npos ||
        cell.find('.') != std::string_view::npos) {
        return cell;
    }
    spare.assign(cell);
    std::replace(spare.begin(), spare.end(), ',', '.');
    return spare;
}

bool holdsNumber(const std::vector<std::string_view>& row, char delimiter) {
    std::string spare;
    for (const std::string_view cell : row) {
        if (finiteNumber(decimalPoint(cell, delimiter, spare))) {
            return true;
        }
    }
    return false;
}

// The index of the row of column names: the first that names a depth column
// beside at least one other.
std::optional<std::size_t> depthHeadingRow(const std::vector<std::string>& lines, char delimiter) {
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

// A heading from any source: the first line that is not blank, splits into
// two or more cells none of which is a number, and is followed by a line of
// as many cells or more that holds numbers.
std::optional<std::size_t> anyHeadingRow(const std::vector<std::string>& lines, char delimiter) {
    for (std::size_t i = 0; i + 1 < lines.size() && i < HeadingSearchLines; ++i) {
        const auto row = cells(lines[i], delimiter);
        if (row.size() == 1 && row.front().empty()) {
            continue;
        }
        const auto next = cells(lines[i + 1], delimiter);
        return row.size() >= 2 && !holdsNumber(row, delimiter) && next.size() >= row.size() &&
                       holdsNumber(next, delimiter)
                   ? std::optional(i)
                   : std::nullopt;
    }
    return std::nullopt;
}

// Tabs, semicolons (European exports, with decimal commas) or commas, and
// the row of column names.
struct Layout {
    char delimiter;
    std::size_t heading;
};

std::optional<Layout> layoutOf(const std::vector<std::string>& lines) {
    constexpr std::array<char, 3> Delimiters{'\t', ';', ','};
    for (const auto& find : {depthHeadingRow, anyHeadingRow}) {
        for (const char delimiter : Delimiters) {
            if (!holdsDelimiter(lines, delimiter)) {
                continue;
            }
            if (const auto heading = find(lines, delimiter)) {
                return Layout{delimiter, *heading};
            }
        }
    }
    return std::nullopt;
}

[[noreturn]] void fail(const std::string& fileName, std::string_view reason) {
    throw QuarvelError(formatMessage(CannotReadMscl, {fileName, reason}), ErrorKind::InvalidData);
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
    return layoutOf(splitLines(withoutByteOrderMark(text).substr(0, 64 * 1024))).has_value();
}

MsclTable readMscl(std::string_view text, const std::string& fileName) {
    const std::vector<std::string> lines = splitLines(withoutByteOrderMark(text));
    const auto layout = layoutOf(lines);
    if (!layout) {
        fail(fileName, "It is not a tab-, semicolon- or comma-separated table with a row of "
                       "column names.");
    }
    const std::optional<std::size_t> heading = layout->heading;
    const std::optional<char> delimiter = layout->delimiter;
    std::string spare;
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
        if (!holdsNumber(units, *delimiter) && !isBlankRow(units)) {
            for (std::size_t c = 0; c < units.size() && c < table.columns.size(); ++c) {
                table.columns[c].unit = std::string(units[c]);
            }
            ++next;
        }
    }
    for (std::size_t i = next; i < lines.size(); ++i) {
        const auto row = cells(lines[i], *delimiter);
        if (!holdsNumber(row, *delimiter)) {
            result.rowsLeftOut += isBlankRow(row) ? 0 : 1;
            continue;
        }
        if (table.rows.size() == TableRowLimit) {
            table.truncated = true;
            break;
        }
        std::vector<double> values(std::min(row.size(), table.columns.size()), MissingValue);
        for (std::size_t c = 0; c < values.size(); ++c) {
            if (!readCell(decimalPoint(row[c], layout->delimiter, spare), values[c])) {
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
