#include "tie/depth_varying_tie.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "tie/surrogates.h"
#include "tie/time_depth.h"

namespace quarvel::tie {
namespace {

std::string fixed(double value, int decimals) {
    return numbers::formatFixed(value, decimals);
}

std::string count(std::size_t value) {
    return numbers::formatInteger(static_cast<long long>(value));
}

} // namespace

DepthVaryingRequest depthVaryingRequest(const TieSynthesiser& synthesise,
                                        const MathFun::SyntheticLog& log,
                                        const TieMeasurement& bulk, const TimeSeries& trace,
                                        const WarpLimits& limits) {
    DepthVaryingRequest request;
    request.factor = bulk.bestPoint().factor;
    request.surrogates = bulk.settings.surrogates;
    request.seed = bulk.settings.seed;
    request.level = bulk.settings.level;
    request.bulkSignificant = bulk.significant;
    const TieSynthetic synthetic = synthesise(request.factor);
    for (std::size_t k = 0; k < synthetic.value.size(); ++k) {
        request.warp.synthetic.time.push_back(static_cast<double>(k) * synthetic.interval);
    }
    request.warp.synthetic.value = synthetic.value;
    request.warp.seaFloorArrival =
        static_cast<double>(synthetic.seaFloorSamples) * synthetic.interval;
    request.warp.synthDepth =
        TimeDepthRelation(timeDepthTable(log.depth, log.velocity)).scaled(request.factor, 0);
    request.warp.shift = bulk.bestShift;
    request.warp.trace = prepareTrace(trace).series;
    request.warp.limits = limits;
    return request;
}

DepthVaryingTie tieDepthVarying(const DepthVaryingRequest& request, const TieProgress& progress) {
    const auto tick = [&](std::size_t done) {
        if (progress &&
            !progress(static_cast<double>(done) / static_cast<double>(request.surrogates + 1))) {
            throw QuarvelError("The alignment was cancelled.", ErrorKind::Cancelled);
        }
    };
    const Warper warper(request.warp);
    DepthVaryingTie tie;
    tie.alignment = warper.align(request.warp.trace.value);
    if (tie.alignment.covered < MinCovered) {
        throw QuarvelError("The trace covers only " + fixed(tie.alignment.covered * 100, 0) +
                           " % of the core's span where the alignment puts it; at least " +
                           fixed(MinCovered * 100, 0) + " % is needed.");
    }
    tie.relation = warper.relation(tie.alignment);
    tie.proposals = proposeTies(warper, tie.alignment, request.warp.limits.interval);
    tie.maxLag = warper.maxLag();
    tie.surrogates = request.surrogates;
    // The same kind of surrogates as the bulk tie's, aligned with the same
    // freedom as the trace.
    const AmplitudeAdjustedSurrogates surrogates(request.warp.trace.value);
    for (std::size_t k = 0; k < request.surrogates; ++k) {
        tick(k + 1);
        const Alignment null = warper.align(surrogates(request.seed + k));
        if (null.coefficient >= tie.alignment.coefficient) {
            ++tie.asGood;
        }
    }
    tie.nullPValue =
        static_cast<double>(tie.asGood + 1) / static_cast<double>(request.surrogates + 1);
    // An alignment that matches worse than the bulk tie it started from
    // earned nothing, however rarely a surrogate does as well.
    tie.significant = request.bulkSignificant && tie.nullPValue <= request.level &&
                      tie.alignment.coefficient > tie.alignment.bulkCoefficient;
    tick(request.surrogates + 1);
    return tie;
}

std::vector<std::pair<std::string, std::string>>
depthVaryingReport(const DepthVaryingTie& tie, const DepthVaryingRequest& request) {
    const WarpLimits& limits = request.warp.limits;
    std::vector<std::pair<std::string, std::string>> report{
        {"depth_varying_coefficient", fixed(tie.alignment.coefficient, 4)},
        {"depth_varying_bulk_coefficient", fixed(tie.alignment.bulkCoefficient, 4)},
        {"depth_varying_null_p_value", fixed(tie.nullPValue, 4)},
        {"depth_varying_significant", tie.significant ? "yes" : "no"},
        {"depth_varying_surrogates", count(tie.surrogates)},
        {"depth_varying_velocity_limit_pct", fixed(limits.velocityChange * 100, 1)},
        {"depth_varying_interval_m", fixed(limits.interval, 2)},
        {"depth_varying_max_lag_ms", fixed(tie.maxLag * 1000, 3)},
        {"depth_varying_tie_points", count(tie.proposals.size())},
    };
    // One token per value, so that every line stays "key value".
    for (std::size_t k = 0; k < tie.proposals.size(); ++k) {
        const ProposedTie& point = tie.proposals[k];
        report.emplace_back("proposed_tie_point_" + count(k + 1),
                            fixed(point.depth, 4) + "," + fixed(point.bulkTwt, 4) + "," +
                                fixed(point.traceTwt, 4) + "," + fixed(point.coefficient, 3));
    }
    return report;
}

std::string depthVaryingCsv(const DepthVaryingTie& tie, const DepthVaryingRequest& request) {
    const WarpLimits& limits = request.warp.limits;
    std::vector<std::string> comments{
        "Quarvel depth-varying tie: depth below the core top (m), two-way time below the sea "
        "floor on the trace (ms)",
        "from the bulk tie: velocity factor " + fixed(request.factor, 4) + ", shift " +
            fixed(request.warp.shift * 1000, 4) + " ms",
        "interval velocities within " + fixed(limits.velocityChange * 100, 1) +
            " % of the bulk tie's over every interval of " + fixed(limits.interval, 2) +
            " m or more; lags within " + fixed(tie.maxLag * 1000, 3) + " ms",
        "coefficient " + fixed(tie.alignment.coefficient, 4) + " (bulk " +
            fixed(tie.alignment.bulkCoefficient, 4) + "); null p-value " +
            fixed(tie.nullPValue, 4) + " from " + count(tie.surrogates) +
            " phase-randomised surrogates, seed " + count(request.seed) + ": " +
            (tie.significant ? "significant" : "not significant") + " at " +
            fixed(request.level, 2) +
            (request.bulkSignificant ? "" : " (the bulk tie is not significant)"),
    };
    for (const FixedTie& point : request.warp.fixed) {
        comments.push_back("fixed tie point: " + fixed(point.depth, 4) + " m at " +
                           fixed(point.twt * 1000, 4) + " ms");
    }
    return relationCsv(tie.relation, comments);
}

} // namespace quarvel::tie
