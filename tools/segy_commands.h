#pragma once

#include "platform/work_dir.h"

#include <ostream>
#include <string>

// quarvel-synth's SEG-Y commands: "info" reviews a line's headers and "trace"
// makes the trace listing of one trace, as the data editor's Trace page does.
namespace quarvel::synth {

// The option texts of "trace", as given on the command line (empty: not
// given).
struct SegyTraceOptions {
    std::string segy;
    std::string trace;
    std::string shot;
    std::string near; // "X Y"
    std::string channel;
    std::string stack;
    std::string interval; // seconds
    std::string seaFloor; // "auto" or milliseconds
    std::string length;   // milliseconds
    std::string out;
};

void printSegyInfo(const std::string& segyFile, std::ostream& out);

// Writes the listing to --out, or trace.txt in the working directory, only
// when every option fits the line; says what was done on `out`.
void writeSegyTrace(const SegyTraceOptions& options, const WorkDir& dir, std::ostream& out);

} // namespace quarvel::synth
