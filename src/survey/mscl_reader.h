#pragma once

#include "survey/column_table.h"

#include <string>
#include <string_view>

namespace quarvel {

// True when the text is a tab-, semicolon- or comma-separated table with a
// row of column names: one naming a depth column ("SB DEPTH", "DEPTH",
// "DEPT", ...), or else a first line of names over a line of numbers.
bool looksLikeMscl(std::string_view text);

// Reads a Geotek MSCL table: an optional title, the row of column names, an
// optional row of units, then one row of values per measurement. A table
// separated by tabs or semicolons may write decimal commas. Empty cells
// are missing values; a row whose depth cell is not a number (a remark, a
// trailing summary) is left out and counted. A fault of the file raises
// "Cannot read the MSCL file ...".
struct MsclTable {
    ColumnTable table;
    int rowsLeftOut = 0;
    int cellsNotNumbers = 0;
};
MsclTable readMscl(std::string_view text, const std::string& fileName);

} // namespace quarvel
