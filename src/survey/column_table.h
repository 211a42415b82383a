#pragma once

#include <cstddef>
#include <limits>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// A log file's table: named columns with their units and rows of values. A
// missing value (a LAS NULL, an empty cell) is NaN until the import decides
// what it becomes.
struct TableColumn {
    std::string name;
    std::string unit;
};

struct ColumnTable {
    std::vector<TableColumn> columns;
    // Each row holds the values of the first columns, at most one per column;
    // the columns beyond a short row are missing in it. So a table with a
    // long row of names takes memory in proportion to its cells, not to its
    // rows times its columns.
    std::vector<std::vector<double>> rows;
    // More rows than a log can hold: the rest of the file was not read.
    bool truncated = false;
};

inline constexpr double MissingValue = std::numeric_limits<double>::quiet_NaN();

// The value of a row's column; MissingValue beyond a short row.
inline double cellAt(const std::vector<double>& row, std::size_t column) {
    return column < row.size() ? row[column] : MissingValue;
}

// A log holds at most this many records (the log table's capacity); a reader
// stops one row after it so that the grid can say the file was cut.
inline constexpr std::size_t TableRowLimit = 64001;

// Helpers the readers share.
// The text without the UTF-8 byte-order mark some programs write first.
std::string_view withoutByteOrderMark(std::string_view text);
std::string_view trimmed(std::string_view text);
std::string upperCase(std::string_view text);
// The text as a finite number; nothing when it is anything else (an
// overflowing exponent included).
std::optional<double> finiteNumber(std::string_view text);
// The value of a cell: a number, or MissingValue when the cell is empty.
// False when it holds anything else.
bool readCell(std::string_view cell, double& value);

} // namespace quarvel
