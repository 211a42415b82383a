#include "editor/log_grid.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace quarvel {
namespace {

const std::string& emptyText() {
    static const std::string empty;
    return empty;
}

bool isSeparator(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSeparator(text.front())) {
        text.remove_prefix(1);
    }
    while (!text.empty() && isSeparator(text.back())) {
        text.remove_suffix(1);
    }
    return text;
}

// A finite number and nothing else, or nothing.
std::optional<double> plainNumber(std::string_view text) {
    const auto value = numbers::tryParseNumber(trimmed(text));
    if (!value || !std::isfinite(*value)) {
        return std::nullopt;
    }
    return value;
}

constexpr std::array<std::string_view, LogGridColumns> ColumnNames = {"depth", "P-wave velocity",
                                                                      "density"};

[[noreturn]] void throwNotANumber(int row, int column, std::string_view text) {
    const std::string rowText = numbers::formatInteger(row);
    const std::string columnText = numbers::formatInteger(column + 1);
    if (isEmptyCell(text)) {
        throw QuarvelError(
            formatMessage("Row %s, column %s (%s) of the log is empty. Enter a missing value as 0.",
                          {rowText, columnText, ColumnNames[static_cast<std::size_t>(column)]}),
            ErrorKind::InvalidData);
    }
    constexpr std::size_t Shown = 40;
    std::string shown(trimmed(text).substr(0, Shown));
    if (trimmed(text).size() > Shown) {
        shown += "...";
    }
    throw QuarvelError(
        formatMessage("Row %s, column %s (%s) of the log: \"%s\" is not a number. "
                      "Write numbers with \".\" as the decimal point, and enter a "
                      "missing value as 0.",
                      {rowText, columnText, ColumnNames[static_cast<std::size_t>(column)], shown}),
        ErrorKind::InvalidData);
}

} // namespace

const std::string& LogGrid::cell(int row, int column) const {
    if (row < 0 || row >= rowCount() || column < 0 || column >= LogGridColumns) {
        return emptyText();
    }
    return rows_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)];
}

void LogGrid::setCell(int row, int column, std::string text) {
    rows_.at(static_cast<std::size_t>(row)).at(static_cast<std::size_t>(column)) = std::move(text);
}

void LogGrid::ensureRows(int count) {
    const int wanted = std::min(count, LogGridMaxRows);
    if (wanted > rowCount()) {
        rows_.resize(static_cast<std::size_t>(wanted));
    }
}

bool isEmptyCell(std::string_view text) {
    return trimmed(text).empty();
}

int logSeriesLength(const LogGrid& grid) {
    int row = 1;
    while (!isEmptyCell(grid.cell(row, 0))) {
        ++row;
    }
    return row - 1;
}

LogFile readLogFileRecords(std::string_view text, std::string_view fileName) {
    return parseLogFile(text, {fileName,
                               FieldRule::NumericPrefixPerLine,
                               static_cast<std::size_t>(LogGridMaxRows - 1),
                               {}});
}

LoadLogResult LoadLog(LogGrid& grid, const LogFile& records) {
    grid.setCell(0, 0, std::string(DepthHeading));
    grid.setCell(0, 1, std::string(VelocityHeading));
    grid.setCell(0, 2, std::string(DensityHeading));
    LoadLogResult result;
    result.truncated = records.truncated;
    result.nonNumericEntries = records.inexact;
    for (const LogRecord& record : records.records) {
        const int row = ++result.records;
        grid.ensureRows(row + 1);
        grid.setCell(row, 0, numbers::formatF6(record.Depth));
        grid.setCell(row, 1, numbers::formatF6(record.Velocity));
        grid.setCell(row, 2, numbers::formatF6(record.Density));
    }
    result.dropped = droppedRows(grid);
    return result;
}

LoadLogResult LoadLog(LogGrid& grid, std::string_view text, std::string_view fileName) {
    return LoadLog(grid, readLogFileRecords(text, fileName));
}

DroppedRows droppedRows(const LogGrid& grid) {
    DroppedRows dropped;
    const int length = logSeriesLength(grid);
    double above = 0.0;
    for (int row = 1; row <= length; ++row) {
        // Cells that are not numbers are SaveLog's to refuse.
        const double depth = plainNumber(grid.cell(row, 0)).value_or(above + 1);
        if (!(depth - above > 0)) {
            ++dropped.count;
            if (row == 1) {
                dropped.firstRowAtTop = 1;
            } else if (depth == above) {
                if (dropped.repeated++ == 0) {
                    dropped.firstRepeated = row;
                }
            } else if (dropped.decreasing++ == 0) {
                dropped.firstDecreasing = row;
            }
        }
        above = depth;
    }
    return dropped;
}

std::string SaveLog(const LogGrid& grid) {
    const int length = logSeriesLength(grid);
    std::vector<double> depths(static_cast<std::size_t>(length) + 1, 0.0);
    for (int row = 1; row <= length; ++row) {
        for (int column = 0; column < LogGridColumns; ++column) {
            const auto value = plainNumber(grid.cell(row, column));
            if (!value) {
                throwNotANumber(row, column, grid.cell(row, column));
            }
            if (column == 0) {
                depths[static_cast<std::size_t>(row)] = *value;
            }
        }
    }
    std::string text;
    for (int row = 1; row <= length; ++row) {
        // The comparison is always with the row directly above, written or not;
        // the heading row above row 1 reads as 0.
        if (depths[static_cast<std::size_t>(row)] - depths[static_cast<std::size_t>(row) - 1] > 0) {
            appendLogLine(text, trimmed(grid.cell(row, 0)), trimmed(grid.cell(row, 1)),
                          trimmed(grid.cell(row, 2)));
        }
    }
    return text;
}

void scaleVelocities(LogGrid& grid, double factor) {
    const int length = logSeriesLength(grid);
    std::vector<double> scaled;
    scaled.reserve(static_cast<std::size_t>(length));
    for (int row = 1; row <= length; ++row) {
        const auto value = plainNumber(grid.cell(row, 1));
        if (!value) {
            throwNotANumber(row, 1, grid.cell(row, 1));
        }
        scaled.push_back(*value * factor);
    }
    for (int row = 1; row <= length; ++row) {
        grid.setCell(row, 1, numbers::formatF6(scaled[static_cast<std::size_t>(row) - 1]));
    }
}

void retimeVelocities(LogGrid& grid, const std::function<double(double depth)>& twtMs) {
    const int length = logSeriesLength(grid);
    std::vector<std::pair<int, double>> velocities;
    double above = 0.0;   // the row directly above, which decides whether a row is written
    double written = 0.0; // the row written last, where this row's interval starts
    for (int row = 1; row <= length; ++row) {
        const auto depth = plainNumber(grid.cell(row, 0));
        if (!depth) {
            throwNotANumber(row, 0, grid.cell(row, 0));
        }
        if (*depth - above > 0) {
            // Two-way time in ms: v = 2 dz / (dt / 1000).
            const double velocity = 2000 * (*depth - written) / (twtMs(*depth) - twtMs(written));
            if (!std::isfinite(velocity) || !(velocity > 0)) {
                throw QuarvelError(formatMessage(
                    "The time-depth relation gives row %s of the log no positive velocity.",
                    {numbers::formatInteger(row)}));
            }
            velocities.emplace_back(row, velocity);
            written = *depth;
        }
        above = *depth;
    }
    for (const auto& [row, velocity] : velocities) {
        grid.setCell(row, 1, numbers::formatF6(velocity));
    }
}

void ClearLog(LogGrid& grid) {
    const int length = logSeriesLength(grid);
    for (int row = 0; row <= length; ++row) {
        for (int column = 0; column < LogGridColumns; ++column) {
            grid.setCell(row, column, std::string());
        }
    }
}

} // namespace quarvel
