#include "chirp/chirp_source.h"
#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "engine/synthetic.h"
#include "support/temp_work_dir.h"
#include "tie/depth_varying_tie.h"
#include "tie/held_out_trace.h"
#include "tie/time_depth.h"

#include <cmath>
#include <gtest/gtest.h>

namespace quarvel::tie {
namespace {

// The demo core's log against traces made by another forward model (see
// held_out_trace.h). The alignment starts from the one factor and shift that
// put the sea floor and the core base where they truly lie; with two
// velocity errors that misplaces beds by more than 0.1 ms, and the
// depth-varying tie lies within 0.1 ms of the truth at every 0.25 m, beats
// the coefficient it started from and is significant. On a noise envelope
// it is not.
TEST(HeldOutTie, FollowsTwoVelocityErrorsAndFindsNoTieInNoise) {
    const MathFun::SyntheticLog log =
        testing::readFilledLog(QUARVEL_SOURCE_DIR "/data/demo/demo_core_log.txt");
    quarvel::testing::TempWorkDir dir;
    ChirpTexts chirp;
    chirp.width = "0.02";
    chirp.end = "12000";
    chirp.interval = "0.000005";
    ChirpSource(chirp, dir.workDir());
    MathFun::SyntheticParameters parameters;
    parameters.startFrequency = 2000;
    parameters.endFrequency = 12000;
    parameters.samplingInterval = 5e-6;
    const MathFun::SyntheticWavelet wavelet = engine::readWavelet(dir.workDir(), 5e-6, "0.000005");
    // The engine's synthetic of the log at a velocity factor, from the sea floor's arrival.
    const auto synthesise = [&](double factor) {
        MathFun::SyntheticLog scaled = log;
        for (double& v : scaled.velocity) {
            v *= factor;
        }
        const MathFun::SyntheticSeries series =
            MathFun::computeSynthetic(scaled, wavelet, parameters);
        MathFun::SeriesRows rows =
            MathFun::SeriesRowsFrom(series.synthetic, series.seaFloorSample[3],
                                    series.samplingInterval, series.timeLimit());
        return TimeSeries{std::move(rows.time), std::move(rows.value)};
    };
    const TimeDepthRelation logRelation(timeDepthTable(log.depth, log.velocity));

    struct Case {
        testing::HeldOutCase made;
        bool tied;
    };
    const Case cases[] = {
        {{1.3, 1.12, 0.90, 0.12e-3, 0.3, false, 3}, true},
        {{1.3, 0.90, 1.10, 0.10e-3, 0.3, false, 2}, true},
        {{2.0, 1.08, 0.90, 0.20e-3, 0.3, false, 3}, true},
        {{1.3, 1.00, 1.00, 0.00e-3, 1.0, true, 5}, false},
    };
    for (const Case& c : cases) {
        const testing::HeldOutTrace made = testing::heldOutTrace(log, c.made);
        const double base = log.depth.back();
        DepthVaryingRequest r;
        r.factor = (logRelation.twtAt(base) - logRelation.twtAt(0)) /
                   (made.truth.twtAt(base) - made.truth.twtAt(0));
        r.warp.synthetic = synthesise(r.factor);
        r.warp.synthDepth = logRelation.scaled(r.factor, 0);
        r.warp.shift = c.made.delay;
        r.warp.trace = made.trace;
        const DepthVaryingTie tie = tieDepthVarying(r);
        EXPECT_EQ(tie.significant, c.tied) << c.made.seed << " p " << tie.nullPValue;
        if (!c.tied) {
            continue;
        }
        double warped = 0;
        double straight = 0;
        for (double depth = 0; depth <= log.depth.back(); depth += 0.25) {
            const double truth = made.truth.twtAt(depth);
            warped = std::max(warped, std::abs(tie.relation.twtAt(depth) - truth));
            straight = std::max(
                straight, std::abs(r.warp.synthDepth.twtAt(depth) + r.warp.shift * 1000 - truth));
        }
        EXPECT_LT(warped, 0.1) << c.made.seed;
        EXPECT_GT(straight, 0.1) << c.made.seed;
        EXPECT_GT(tie.alignment.coefficient, tie.alignment.bulkCoefficient) << c.made.seed;
    }
}

} // namespace
} // namespace quarvel::tie
