#pragma once

#include "formats/log_file.h"

#include <filesystem>
#include <string>
#include <vector>

namespace quarvel {

// A log to be written as LAS 2.0 with its velocities corrected by a factor.
struct LasExport {
    // Depth (m), velocity (m/s) as measured, density (g/cm3).
    std::vector<LogRecord> records;
    double velocityFactor = 1;
    // Where the factor comes from ("tie, p = 0.01"); empty says nothing.
    std::string factorSource;
    std::string well; // the ~Well section's WELL, for example the log's name
    std::string date; // its DATE
};

// The whole file, CR LF after every line: ~Version (2.0, unwrapped), ~Well
// (STRT, STOP, STEP, 0 when the depths are not evenly spaced, NULL -999.25
// and the other entries LAS asks for), ~Parameter (VFAC, the factor and its
// source), ~Curve (DEPT m, VP m/s, RHOB g/cm3) and ~A with one row per
// record, velocities times the factor. Texts are kept to printable ASCII
// without ':', which would end a header value early. Refuses (QuarvelError)
// a log without records, a factor that is not a number above 0 and a value
// that is not a finite number.
std::string lasText(const LasExport& log);

// Writes the file whole or not at all (the old file is kept on failure).
void writeLasFile(const std::filesystem::path& path, const LasExport& log);

} // namespace quarvel
