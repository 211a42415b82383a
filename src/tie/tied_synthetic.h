#pragma once

#include "tie/dynamic_warping.h"
#include "tie/tie_series.h"
#include "tie/tie_synthesiser.h"

// The synthetic where a tie puts it: in the trace's two-way time below the
// sea floor, so that it can be laid beside the recorded traces.
namespace quarvel::tie {

// As the bulk tie puts it: the tie's synthetic at the best factor, every
// sample moved by the best shift (s).
TimeSeries bulkTiedSynthetic(const TieSynthetic& synthetic, double shift);

// As the depth-varying tie puts it: each sample where the bulk tie puts it,
// moved further by the alignment's lag there.
TimeSeries alignedSynthetic(const WarpRequest& warp, const Alignment& alignment);

} // namespace quarvel::tie
