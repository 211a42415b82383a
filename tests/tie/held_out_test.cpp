#include "chirp/chirp_source.h"
#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "engine/synthetic.h"
#include "support/temp_work_dir.h"
#include "tie/depth_varying_tie.h"
#include "tie/held_out_trace.h"
#include "tie/time_depth.h"

#include <algorithm>
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

// Starting points (the bulk tie's factor and shift) from which the
// alignment once matched worse than the bulk tie: a core of three beds, a
// layered 1 m core, and the same with its trace ending at the core base.
TEST(DynamicWarping, NeverMatchesWorseThanTheBulkTieItStartsFrom) {
    quarvel::testing::TempWorkDir dir;
    ChirpSource({"0.02", "2000", "12000", "0.00001"}, dir.workDir());
    const auto wavelet = engine::readWavelet(dir.workDir(), 1e-5, "0.00001");
    std::vector<double> layered; // sand from each odd top to the next; the base
    for (double top = 0.03; top < 1; top += 0.02 + 0.01 * (layered.size() * 5 % 7)) {
        layered.push_back(top);
    }
    layered.push_back(1.0);
    struct Case {
        std::vector<double> sand;
        double split, delay, factor, shift, endsAtBase;
    };
    for (const Case& c :
         {Case{{0.4, 0.45, 0.9, 0.95, 1.3, 1.34, 1.5}, 0.8, 0.1e-3, 1.019, 0.0887e-3, 0},
          Case{layered, 0.5, 0.05e-3, 0.916, 0.1263e-3, 0},
          Case{layered, 0.5, 0.05e-3, 0.955, 0.0248e-3, 1}}) {
        MathFun::SyntheticLog log;
        for (int i = 1; i <= std::lround(c.sand.back() * 100); ++i) {
            const auto above = std::lower_bound(c.sand.begin(), c.sand.end(), 0.01 * i);
            const bool sand = (above - c.sand.begin()) % 2 == 1;
            log.depth.push_back(0.01 * i);
            log.velocity.push_back(sand ? 1650 : 1480 + 0.1 * i);
            log.density.push_back(sand ? 1.95 : 1.6 + 0.0005 * i);
        }
        testing::HeldOutTrace made =
            testing::heldOutTrace(log, {c.split, 1.05, 0.95, c.delay, 0.3, false, 1});
        while (c.endsAtBase && made.trace.time.back() > made.truth.twtAt(c.sand.back()) / 1000) {
            made.trace.time.pop_back();
            made.trace.value.pop_back();
        }
        TieMeasurement bulk;
        bulk.factors = {{c.factor, c.shift, 0.0}};
        bulk.bestShift = c.shift;
        const DepthVaryingRequest r = depthVaryingRequest(
            TieSynthesiser(log, wavelet, synthesisParameters("2000", "12000", "0.00001")), log,
            bulk, made.trace, {});
        const Alignment alignment = Warper(r.warp).align(r.warp.trace.value);
        EXPECT_GE(alignment.coefficient, alignment.bulkCoefficient) << c.factor;
    }
}

} // namespace
} // namespace quarvel::tie
