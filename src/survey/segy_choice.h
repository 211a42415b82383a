#pragma once

#include "survey/segy_load.h"

#include <optional>
#include <string>
#include <vector>

namespace quarvel {

// What the length is cut to.
enum class LengthMode { Whole, Synthetic, LogTwt, Given };

// The spans a trace may be cut to so that it shares the synthetic panel's
// time scale; 0 when there is none yet.
struct LengthSpans {
    double syntheticMs = 0; // the last time of ampl.dat
    double logTwtMs = 0;    // the log's two-way time down to its last row
};

// The SEG-Y trace window's fields, as the user left them.
struct SegyChoiceFields {
    TraceChoiceKind kind = TraceChoiceKind::Index;
    std::string number = "1";
    std::string x;
    std::string y;
    int channel = 0;
    int stack = 0;
    std::string intervalMs;
    SeaFloorMode seaFloor = SeaFloorMode::Auto;
    std::string seaFloorMs;
    LengthMode length = LengthMode::Whole;
    std::string lengthMs;
};

// The interval field's first text: the interval the headers give, in ms.
std::string headerIntervalText(const SegyLayout& layout, const SegyTraceHeader& first);

// The position the X and Y fields give, when both are numbers.
std::optional<CorePosition> positionOf(const SegyChoiceFields& fields);

// The request the fields make. The interval replaces the headers' only when
// its text differs from `headerInterval`. Throws, naming the field, when a
// text is not a number or out of range.
SegyLoadRequest requestFromFields(const SegyChoiceFields& fields, const LengthSpans& spans,
                                  const std::string& headerInterval);

// The trace the fields name and "Trace 57: field record (shot) 1057, X ...,
// Y ...", or index -1 and why none is named. The headers are read only when
// the choice needs them, a window of the file at a time.
struct ChosenTrace {
    int index = -1;
    std::string text;
};
ChosenTrace chosenTrace(SegyReader& reader, const SegyChoiceFields& fields);

} // namespace quarvel
