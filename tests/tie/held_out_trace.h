#pragma once

#include "engine/synthetic.h"
#include "tie/tie_series.h"
#include "tie/time_depth_relation.h"

#include <cstdint>
#include <string>

// Held-out cases for the tie, made by a forward model that is not the
// program's: the true velocities are the log's times one factor above a
// depth and another below it; reflection coefficients sit at the continuous
// two-way times of the true velocities (each interval at the mean of its end
// velocities), under a Gaussian-windowed chirp autocorrelation whose envelope
// is sampled every 66 us, with complex Gaussian noise.
namespace quarvel::tie::testing {

// A log file of "depth velocity density" lines, its gaps (0) filled
// linearly from their neighbours.
MathFun::SyntheticLog readFilledLog(const std::string& path);

struct HeldOutCase {
    double split = 1.4;     // m: the depth where the velocity error changes
    double above = 1.0;     // true velocity / logged velocity above it
    double below = 1.0;     // and below it
    double delay = 0.0;     // s: the sea floor's time on the trace
    double noise = 0.0;     // noise amplitude / the clean envelope's RMS
    bool pureNoise = false; // the noise alone, no reflection
    std::uint64_t seed = 1;
};

struct HeldOutTrace {
    TimeSeries trace;        // envelope, seconds from the trace's first sample
    TimeDepthRelation truth; // depth -> the true trace time, ms
};

HeldOutTrace heldOutTrace(const MathFun::SyntheticLog& log, const HeldOutCase& c);

} // namespace quarvel::tie::testing
