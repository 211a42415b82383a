#pragma once

#include <optional>
#include <string>

namespace quarvel {

class Dialogs;

// The text of a log file as the log grid loads it. A plain log is returned as
// it stands, without a question. A LAS or MSCL file is read, the user picks
// the depth, velocity and density columns (the usual ones proposed) and the
// cleaning rules, and the result is the three columns in the grid's units,
// missing and rejected values as 0. Nothing when the user cancels; errors
// raise, so the grid is not touched in either case.
std::optional<std::string> logTextForGrid(Dialogs& dialogs, const std::string& text,
                                          const std::string& fileName);

} // namespace quarvel
