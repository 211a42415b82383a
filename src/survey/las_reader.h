#pragma once

#include "survey/column_table.h"

#include <string>
#include <string_view>

namespace quarvel {

// True when the text's first line that is neither blank nor a comment opens
// the ~Version section of a LAS file.
bool looksLikeLas(std::string_view text);

// Reads a LAS 1.2 or 2.0 log: the curves of the ~Curve section with their
// units, and the rows of the ~ASCII section, wrapped or not. Values equal to
// the NULL of the ~Well section are missing. A fault of the file raises
// "Cannot read the LAS file ..." naming the line.
ColumnTable readLas(std::string_view text, const std::string& fileName);

} // namespace quarvel
