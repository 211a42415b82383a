#pragma once

#include "platform/work_dir.h"

#include <ostream>
#include <string>

// quarvel-synth export: the working files as files other programs read, the
// synthetic as SEG-Y and the log as LAS 2.0.
namespace quarvel::tools {

// The option texts of "export" (empty: not given).
struct ExportTexts {
    std::string segy; // file for ampl.dat as a one-trace SEG-Y
    std::string las;  // file for log.dat as LAS
    std::string factor = "1";
    std::string factorSource;
    std::string start = "2000"; // the chirp the synthetic was made with, Hz
    std::string end = "7000";
};

// Writes what was asked, each file whole or not at all, and says so on `out`.
// A wrong option is a UsageError; a working file that cannot be exported is
// a QuarvelError, and nothing is written then.
void runExport(const WorkDir& dir, const ExportTexts& texts, std::ostream& out);

// Today's date as YYYY-MM-DD, for the LAS ~Well section.
std::string today();

} // namespace quarvel::tools
