#pragma once

#include "tie/dynamic_warping.h"

#include <vector>

namespace quarvel::tie {

// A tie point the alignment proposes: an event of the synthetic and where
// the alignment puts it on the trace.
struct ProposedTie {
    double depth = 0.0;       // m below the core top
    double bulkTwt = 0.0;     // ms: where the bulk tie puts the event on the trace
    double traceTwt = 0.0;    // ms: where the alignment puts it
    double coefficient = 0.0; // Pearson, synthetic against aligned trace, round the event
};

// An event is proposed only where the two agree at least this well round it.
inline constexpr double MinLocalCoefficient = 0.5;

// Tie points at the strongest matched events: peaks of the synthetic above
// its mean whose local coefficient (over `spacing` metres of core either
// side) reaches MinLocalCoefficient, the highest peaks first, no two closer
// than `spacing`; in order of depth.
std::vector<ProposedTie> proposeTies(const Warper& warper, const Alignment& alignment,
                                     double spacing);

} // namespace quarvel::tie
