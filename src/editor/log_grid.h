#pragma once

#include "formats/log_file.h"
#include "probe/workspace_state.h"

#include <array>
#include <functional>
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

// Rows of the log series that SaveLog leaves out of log.dat, by reason, each
// with the first row it applies to (0 when none does).
struct DroppedRows {
    int count = 0;
    int firstRowAtTop = 0; // row 1 at depth 0 or above the core top
    int repeated = 0;      // a depth equal to the row's above
    int firstRepeated = 0;
    int decreasing = 0; // a depth above the row's above
    int firstDecreasing = 0;
};

// The rows of the log series that SaveLog does not write, and why.
DroppedRows droppedRows(const LogGrid& grid);

// Reads a log file's text as the grid loads it: a record per line, a line
// that does not hold exactly three fields refused with a message naming it
// (blank lines at the end count as nothing), a field that is not a number
// read as far as it is numeric and counted, records beyond what the grid can
// take left out. Throws QuarvelError before anything is changed.
LogFile readLogFileRecords(std::string_view text, std::string_view fileName);

struct LoadLogResult {
    int records = 0;
    bool truncated = false;
    // Entries that were not plain numbers (read as far as they are numeric, or 0).
    int nonNumericEntries = 0;
    // Rows that log.dat leaves out.
    DroppedRows dropped;
};

// Writes the headings into row 0 and the records as F6 texts into rows 1,
// 2, ...; rows below keep their text.
LoadLogResult LoadLog(LogGrid& grid, const LogFile& records);

// readLogFileRecords, then LoadLog.
LoadLogResult LoadLog(LogGrid& grid, std::string_view text, std::string_view fileName);

// The text of "log.dat" made from the log series: one line "depth velocity
// density" for each row whose depth exceeds the depth of the row directly
// above (row 1 is compared with 0). Throws QuarvelError naming the row and
// the column when a cell of the series is not a plain number.
std::string SaveLog(const LogGrid& grid);

// Multiplies every velocity of the log series by the factor, each written
// back as an F6 text as if typed (the Tie window's "Apply"). A cell of the
// series that is not a plain number stops it before any cell changes.
void scaleVelocities(LogGrid& grid, double factor);

// The depth-varying tie's "Apply": the velocity of every row that "log.dat"
// holds made such that the two-way time from the row written above (the core
// top for the first) to this one is what twtMs (depth in m to two-way time
// in ms) gives, each written back as an F6 text; rows "log.dat" leaves out
// keep theirs. Depths and densities are left as typed. A depth that is not a
// plain number, or an interval the relation gives no positive velocity,
// stops it before any cell changes.
void retimeVelocities(LogGrid& grid, const std::function<double(double depth)>& twtMs);

// Empties the heading row and every row of the log series; the first row with
// an empty depth keeps its other two cells.
void ClearLog(LogGrid& grid);

} // namespace quarvel
