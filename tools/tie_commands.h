#pragma once

#include "chirp/chirp_source.h"
#include "engine/synthetic.h"
#include "platform/work_dir.h"
#include "tie/tie_measure.h"

#include <ostream>
#include <string>

// quarvel-synth tdr and tie: the log's time-depth table and how well the
// synthetic matches the recorded trace.
namespace quarvel::tools {

// The time-depth table of log.dat as CSV, to outFile or, when that is empty,
// to the stream.
void writeTimeDepth(const WorkDir& dir, const std::string& outFile, std::ostream& out);

// "--time-zero sea-floor|strongest"; throws QuarvelError for anything else.
MathFun::TimeZero timeZeroOption(const std::string& text);

// After "synthetic": the warnings when the synthetic's time 0 lies far from
// the sea floor (only when it starts at its strongest sample) and when its
// sampling aliases the log's thin beds.
void warnAboutSynthetic(const MathFun::SyntheticCounts& counts, MathFun::TimeZero timeZero,
                        double interval, bool antiAliased, std::ostream& err);

// The option texts of "tie"; empty ranges come from the data.
struct TieTexts {
    std::string trace;       // default: trace.txt of the working directory
    std::string maxShift;    // ms
    std::string factorRange; // MIN MAX
    std::string surrogates = "200";
    std::string seed = "1";
    std::string level = "0.05";
    std::string report;  // file for the settings and results
    std::string scanOut; // file for the factor curve
    std::string apply;   // "yes": scale log.dat's velocities by the best factor
};

// Compares the tie's synthetic of log.dat (klauder.dat and the chirp's start
// and end frequency and interval, as "synthetic" uses them) at every velocity
// factor and shift of the search with the trace, and prints one "key value"
// pair per line; writes the report and the factor curve when asked, and with
// --apply log.dat with its velocities scaled, whole or not at all. Returns
// the measurement, for a tie that goes on from it.
tie::TieMeasurement printTie(const WorkDir& dir, const ChirpTexts& chirp, const TieTexts& texts,
                             std::ostream& out, std::ostream& err);

} // namespace quarvel::tools
