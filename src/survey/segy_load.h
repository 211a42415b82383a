#pragma once

#include "survey/segy_line.h"

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// The automatic sea-floor pick: the outgoing pulse is the run of opening
// samples above PulseEndFraction of the trace's largest amplitude, ended by
// QuietSamples samples below it; the sea floor is the first sample after
// it that reaches SeaFloorFraction of the largest amplitude after the pulse.
inline constexpr double PulseEndFraction = 0.1;
inline constexpr int QuietSamples = 3;
inline constexpr double SeaFloorFraction = 0.5;
inline constexpr std::string_view SeaFloorPickRule =
    "the first sample after the outgoing pulse that reaches half of the largest amplitude "
    "below the pulse";

// The index of the sea-floor sample, or nothing when the trace is flat or
// holds nothing after its outgoing pulse.
std::optional<std::size_t> pickSeaFloor(const std::vector<double>& amplitudes);

enum class SeaFloorMode { Keep, Auto, AtTime };

// What the user chose for one trace listing.
struct SegyLoadRequest {
    TraceChoice choice;
    int stack = 0;         // traces on each side
    double intervalMs = 0; // above 0: replaces the headers' interval
    SeaFloorMode seaFloor = SeaFloorMode::Keep;
    double seaFloorMs = 0; // AtTime: in the trace's own time
    double lengthMs = 0;   // above 0: the span kept from the first sample
};

// The listing made and what was done, for the load notice.
struct SegyLoad {
    std::string listing;
    std::string notice;
    int index = 0;
    SegyTraceHeader header;
    int stacked = 1;
    double intervalMs = 0;
    std::optional<double> seaFloorMs; // in the trace's own time, when cut
    double spanMs = 0;                // from the listing's first time to its last
    std::size_t samples = 0;
};

// Reads, stacks, cuts and lists the trace the request names. Throws with the
// reason when a choice does not fit the line; nothing is written here.
SegyLoad loadSegyTrace(SegyReader& reader, const std::vector<SegyTraceHeader>& headers,
                       const SegyLoadRequest& request);

// The same for trace `index` (from 0), chosen beforehand: the request's
// choice is not looked at.
SegyLoad loadSegyTrace(SegyReader& reader, int index, const SegyLoadRequest& request);

} // namespace quarvel
