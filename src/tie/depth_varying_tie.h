#pragma once

#include "engine/synthetic.h"
#include "tie/dynamic_warping.h"
#include "tie/proposed_ties.h"
#include "tie/tie_measure.h"
#include "tie/tie_synthesiser.h"
#include "tie/time_depth_relation.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

// The depth-varying tie as a measurement: the alignment, the relation it
// gives, the tie points it proposes, and whether its freedom was earned.
// Stretching and squeezing can make any two series look alike, so the
// coefficient counts only when it beats what the same alignment makes of
// traces unrelated to the core: phase-randomised surrogates of the trace
// (its amplitude spectrum and sampling, not its timing), each aligned with
// the same limits from the same bulk tie.
namespace quarvel::tie {

struct DepthVaryingRequest {
    WarpRequest warp;
    std::size_t surrogates = DefaultSurrogates;
    std::uint64_t seed = DefaultSeed;
    double level = DefaultLevel; // significant when the p-value is at most this
    // The bulk tie the alignment starts from: its factor for the report, and
    // whether it was significant itself. Stretching a tie that could be
    // chance earns nothing, so the depth-varying tie is significant only on
    // a significant bulk tie.
    double factor = 1.0;
    bool bulkSignificant = true;
};

// The request that goes on from a bulk tie: the tie's synthetic at its best
// factor and the log's own relation at that factor, from its best shift; the
// trace as recorded (prepared as the bulk tie compared it); the bulk tie's
// surrogate count, seed, level and verdict.
DepthVaryingRequest depthVaryingRequest(const TieSynthesiser& synthesise,
                                        const MathFun::SyntheticLog& log,
                                        const TieMeasurement& bulk, const TimeSeries& trace,
                                        const WarpLimits& limits);

// Below this share of the core's span on the trace the alignment is refused.
inline constexpr double MinCovered = 0.9;

struct DepthVaryingTie {
    Alignment alignment;
    TimeDepthRelation relation; // depth -> trace time below the sea floor, ms
    std::vector<ProposedTie> proposals;
    double maxLag = 0.0; // s
    std::size_t surrogates = 0;
    std::size_t asGood = 0; // surrogates aligned at least as well as the trace
    double nullPValue = 1.0;
    // The p-value is at most the level, the bulk tie is significant, and the
    // alignment matches better than the bulk tie over the same samples.
    bool significant = false;
};

// Throws QuarvelError as the Warper does, when the aligned trace covers
// less than MinCovered of the core's span, and "The alignment was
// cancelled." when progress says stop.
DepthVaryingTie tieDepthVarying(const DepthVaryingRequest& request,
                                const TieProgress& progress = {});

// "key value" pairs: depth_varying_coefficient, depth_varying_null_p_value,
// depth_varying_significant, the limits, and each proposed tie point as
// "proposed_tie_point_N depth_m,bulk_twt_ms,trace_twt_ms,coefficient".
std::vector<std::pair<std::string, std::string>>
depthVaryingReport(const DepthVaryingTie& tie, const DepthVaryingRequest& request);

// The relation as CSV, the settings and the result in "#" lines above it.
std::string depthVaryingCsv(const DepthVaryingTie& tie, const DepthVaryingRequest& request);

} // namespace quarvel::tie
