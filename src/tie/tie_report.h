#pragma once

#include "tie/tie_measure.h"

#include <string>
#include <utility>
#include <vector>

// The tie's results as files another person can check: the report with
// every setting it was measured with, and the factor curve.
namespace quarvel::tie {

// Where the measured series came from, as the caller knows it.
struct ReportSources {
    std::string log;                 // the log's file
    std::vector<std::string> import; // how it was imported, one line a choice
    std::string wavelet;             // klauder.dat
    struct Chirp {
        std::string start, end, interval; // as typed
    } chirp;
    std::string trace;                     // its file (a listing or a SEG-Y line)
    std::vector<std::string> traceDetails; // trace, position, stack, sea floor
};

// The report: "key value" lines under "# Settings" and "# Results", the
// results as tieReport gives them; "." decimals, CR LF line ends.
std::string tieReportText(const TieMeasurement& measurement, const ReportSources& sources,
                          const std::string& version);

// The factor curve as CSV: "factor,best_shift_ms,coefficient", one line per
// factor tried, ascending.
std::string factorCurveCsv(const TieMeasurement& measurement);

} // namespace quarvel::tie
