#pragma once

#include "workspace/workspace_state.h"

#include <array>
#include <istream>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// Columns of the log grid: depth (m), P-wave velocity (m/s), density (g/cm3).
inline constexpr int LogGridColumns = 3;
// Row 0 (the headings) and data rows 1 ... 999.
inline constexpr int LogGridInitialRows = 1000;
// The grid grows to hold a long log, up to as many records as the log table.
inline constexpr int LogGridMaxRows = LogCapacity + 1;

inline constexpr std::string_view DepthHeading = "Depth(m)";
inline constexpr std::string_view VelocityHeading = "Pwave-vel (m/sec)";
inline constexpr std::string_view DensityHeading = "Density (g/cm3)";

// The data editor's log grid as text cells. Row 0 holds the headings; the log
// series is the run of rows from row 1 down to the first row whose depth cell
// is empty. Rows beyond the grid read as empty.
class LogGrid {
public:
    LogGrid() : rows_(LogGridInitialRows) {}

    int rowCount() const { return static_cast<int>(rows_.size()); }
    const std::string& cell(int row, int column) const;
    // Precondition: 0 <= row < rowCount(), 0 <= column < LogGridColumns.
    void setCell(int row, int column, std::string text);
    // Grows the grid to at least `count` rows (never beyond LogGridMaxRows).
    void ensureRows(int count);

private:
    std::vector<std::array<std::string, LogGridColumns>> rows_;
};

// A depth cell that holds nothing but blanks ends the log series.
bool isEmptyCell(std::string_view text);

// The number of rows in the log series (rows 1 ... n).
int logSeriesLength(const LogGrid& grid);

struct LoadLogResult {
    int records = 0;
    // The file held more records than the grid can take; the rest was left out.
    bool truncated = false;
    // Entries that were not plain numbers (read as far as they are numeric, or 0).
    int nonNumericEntries = 0;
};

// Writes the headings into row 0 and the file's records, three numbers each,
// as F6 texts into rows 1, 2, ...; rows below keep their text. Reading stops
// when only blanks and line breaks remain, so a final line break adds no row.
LoadLogResult LoadLog(LogGrid& grid, std::istream& in);

// The text of "log.dat" made from the log series: one line "depth velocity
// density" for each row whose depth exceeds the depth of the row directly
// above (row 1 is compared with 0). Throws QuarvelError naming the row and
// the column when a cell of the series is not a plain number.
std::string SaveLog(const LogGrid& grid);

// Empties the heading row and every row of the log series; the first row with
// an empty depth keeps its other two cells.
void ClearLog(LogGrid& grid);

} // namespace quarvel
