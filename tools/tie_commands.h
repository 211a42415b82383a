#pragma once

#include "chirp/chirp_source.h"
#include "engine/synthetic.h"
#include "platform/work_dir.h"

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

// After "synthetic": the warning when the synthetic's time 0 lies far from
// the sea floor (only when it starts at its strongest sample).
void warnAboutTimeZero(const MathFun::SyntheticCounts& counts, MathFun::TimeZero timeZero,
                       std::ostream& err);

// The option texts of "tie", with their defaults.
struct TieTexts {
    std::string trace;                     // default: trace.txt of the working directory
    std::string maxShift = "2";            // ms
    std::string factorRange = "0.80 1.25"; // MIN MAX
    MathFun::TimeZero timeZero = MathFun::TimeZero::Strongest;
};

// Compares ampl.dat with the trace, and the synthetic of log.dat (klauder.dat
// and the chirp's start and end frequency and interval, as "synthetic" uses
// them) recomputed at every velocity factor of the range, and prints one
// "key value" pair per line. Writes no working file.
void printTie(const WorkDir& dir, const ChirpTexts& chirp, const TieTexts& texts,
              std::ostream& out);

} // namespace quarvel::tools
