#include "chirp/chirp_source.h"
#include "engine/engine_inputs.h"
#include "support/error_kind.h"
#include "support/temp_work_dir.h"
#include "tie/held_out.h"
#include "tie/tie_match.h"
#include "tie/tie_measure.h"
#include "tie/tie_synthesiser.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numeric>
#include <random>

namespace quarvel::tie {
namespace {

// A real-like core: the demo's 2.8 m of 1 cm rows with its turbidite beds,
// as a logger without its calibration reports it (about 1 060 m/s).
const MathFun::SyntheticLog& mscl() {
    static const MathFun::SyntheticLog core = heldout::demoCore(1.4);
    return core;
}

// The 2-12 kHz, 20 ms chirp at 10 us.
std::shared_ptr<const TieSynthesiser> synthesiser(const MathFun::SyntheticLog& log) {
    static const MathFun::SyntheticWavelet wavelet = [] {
        quarvel::testing::TempWorkDir dir;
        ChirpSource({"0.02", "2000", "12000", "0.00001"}, dir.workDir());
        return engine::readWavelet(dir.workDir(), 1e-5, "0.00001");
    }();
    MathFun::SyntheticParameters parameters;
    parameters.startFrequency = 2000;
    parameters.endFrequency = 12000;
    parameters.samplingInterval = 1e-5;
    return std::make_shared<const TieSynthesiser>(log, wavelet, parameters);
}

TieMeasurement measure(const MathFun::SyntheticLog& log, const TimeSeries& trace,
                       TieSettings settings = {}) {
    return measureTie({trace, synthesiser(log), settings});
}

MathFun::SyntheticLog scaled(MathFun::SyntheticLog log, double factor) {
    for (double& v : log.velocity) {
        v *= factor;
    }
    return log;
}

TEST(TieMeasure, FindsAKnownFactorAndDelayInAHeldOutTrace) {
    struct Case {
        double factor;
        double delay; // s
    };
    for (const Case c : {Case{1.40, 0.3e-3}, Case{1.10, 0.0}, Case{1.33, -0.15e-3}}) {
        heldout::TraceModel model;
        model.velocityFactor = [&](double) { return c.factor; };
        model.delay = c.delay;
        const TieMeasurement m = measure(mscl(), heldout::forwardTrace(mscl(), model));
        EXPECT_NEAR(m.bestPoint().factor, c.factor, 0.03) << c.factor;
        EXPECT_NEAR(m.bestShift, c.delay, 0.1e-3) << c.factor;
        EXPECT_TRUE(m.significant) << c.factor << " p " << m.pValue;
        EXPECT_FALSE(m.atSearchEdge) << c.factor;
        EXPECT_LE(m.factorLow, m.bestPoint().factor);
        EXPECT_GE(m.factorHigh, m.bestPoint().factor);
        // The default range reaches a logger's x1.4; the window is the core's
        // span below the sea floor's arrival, never a handful of samples.
        EXPECT_GE(m.maxFactor, 1.5);
        EXPECT_GT(m.windowSamples, 100U);
        EXPECT_NEAR(m.windowEnd, 2 * 2.8 / (m.meanVelocity * m.bestPoint().factor), 2 * m.interval);
    }
}

TEST(TieMeasure, UnrelatedTracesAndNoiseAreNotSignificant) {
    // Cores of the same kind: the log upside down, and its 20 cm blocks in
    // another order.
    heldout::TraceModel model;
    model.velocityFactor = [](double) { return 1.4; };
    MathFun::SyntheticLog reversed = mscl();
    std::reverse(reversed.velocity.begin(), reversed.velocity.end());
    std::reverse(reversed.density.begin(), reversed.density.end());
    MathFun::SyntheticLog shuffled = mscl();
    const std::size_t block = 20;
    std::vector<std::size_t> order(shuffled.depth.size() / block);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::shuffle(order.begin(), order.end(), std::mt19937_64(4));
    for (std::size_t i = 0; i < order.size() * block; ++i) {
        shuffled.velocity[i] = mscl().velocity[order[i / block] * block + i % block];
        shuffled.density[i] = mscl().density[order[i / block] * block + i % block];
    }
    std::vector<TimeSeries> unrelated{heldout::forwardTrace(reversed, model),
                                      heldout::forwardTrace(shuffled, model)};
    for (std::uint64_t seed = 1; seed <= 3; ++seed) {
        unrelated.push_back(heldout::noiseEnvelope(12e-3, 66e-6, seed));
    }
    for (std::size_t i = 0; i < unrelated.size(); ++i) {
        const TieMeasurement m = measure(mscl(), unrelated[i]);
        EXPECT_FALSE(m.significant) << i << " r " << m.bestPoint().coefficient;
        EXPECT_GT(m.pValue, 0.05) << i;
    }
}

TEST(TieMeasure, ApplyingTheFactorConvergesAndTheRangeTypedDoesNotMoveIt) {
    heldout::TraceModel model;
    model.velocityFactor = [](double) { return 1.38; };
    const TimeSeries trace = heldout::forwardTrace(mscl(), model);
    TieSettings quick;
    quick.surrogates = 0;
    const double found = measure(mscl(), trace, quick).bestPoint().factor;
    for (const auto& range : {std::pair{0.8, 1.6}, std::pair{1.3, 1.5}, std::pair{1.3, 1.45}}) {
        TieSettings typed = quick;
        typed.factorRange = range;
        EXPECT_NEAR(measure(mscl(), trace, typed).bestPoint().factor, found, 0.002)
            << range.first << " " << range.second;
    }
    const TieMeasurement again = measure(scaled(mscl(), found), trace, quick);
    EXPECT_NEAR(again.bestPoint().factor, 1.0, 0.01);
    EXPECT_LE(std::abs(again.bestShift), model.interval);
    // A shift range that stops short of the trace's delay says so.
    model.delay = 0.3e-3;
    TieSettings narrow = quick;
    narrow.maxShift = 0.1e-3;
    EXPECT_TRUE(measure(mscl(), heldout::forwardTrace(mscl(), model), narrow).atSearchEdge);
}

TEST(TieMeasure, NoScoreFromATraceThatCoversTooLittleOfTheWindow) {
    heldout::TraceModel model;
    model.velocityFactor = [](double) { return 1.4; };
    model.tail = 0.0;
    TimeSeries trace = heldout::forwardTrace(mscl(), model);
    // Cut at 80 % of the core's span: with a maximum shift of 0, no shift
    // covers 90 % of the window, so nothing is scored (before, three common
    // samples were enough for a coefficient).
    const std::size_t keep = trace.time.size() * 8 / 10;
    trace.time.resize(keep);
    trace.value.resize(keep);
    TieSettings settings;
    settings.maxShift = 0.0;
    settings.factorRange = {1.4, 1.4};
    EXPECT_THROW(measure(mscl(), trace, settings), std::exception);
}

TEST(TieMeasure, StopsAsCancelledWhenTheProgressSaysSo) {
    const TimeSeries trace = heldout::forwardTrace(mscl(), {});
    const auto stop = [](double) { return false; };
    EXPECT_EQ(quarvel::testing::thrownKind([&] {
                  measureTie({trace, synthesiser(mscl()), {}}, stop);
              }),
              ErrorKind::Cancelled);
}

TEST(TieSynthesiser, VariesSmoothlyWithTheFactor) {
    // Rows 1 cm apart are 13-19 us apart in two-way time; sampled at 10 us
    // without averaging, synthetics 0.1 % apart in velocity correlated at
    // 0.7 at worst.
    const auto tie = synthesiser(mscl());
    for (double f = 0.8; f < 1.6; f += 0.05) {
        const TieSynthetic a = (*tie)(f);
        const TieSynthetic b = (*tie)(f + 0.001);
        const std::size_t n = std::min(a.value.size(), b.value.size());
        ShiftCorrelator correlator(0, 0, n);
        const std::vector<double> head(a.value.begin(), a.value.begin() + n);
        const std::vector<double> r = correlator.coefficients(
            correlator.window(head, 0),
            correlator.trace(std::vector<double>(b.value.begin(), b.value.begin() + n), 0));
        EXPECT_GE(r[0], 0.99) << f;
    }
}

TEST(TieSynthesiser, IsTheEnginesAntiAliasedSyntheticFromTheSeaFloor) {
    MathFun::SyntheticLog log = mscl();
    log.depth.resize(120);
    log.velocity.resize(120);
    log.density.resize(120);
    const auto tie = synthesiser(log);
    MathFun::SyntheticParameters parameters;
    parameters.startFrequency = 2000;
    parameters.endFrequency = 12000;
    parameters.samplingInterval = 1e-5;
    parameters.antiAliased = true;
    quarvel::testing::TempWorkDir dir;
    ChirpSource({"0.02", "2000", "12000", "0.00001"}, dir.workDir());
    const MathFun::SyntheticSeries engine = MathFun::computeSynthetic(
        log, engine::readWavelet(dir.workDir(), 1e-5, "0.00001"), parameters);
    const TieSynthetic fast = (*tie)(1.0);
    const std::size_t first = engine.seaFloorSample[3];
    ASSERT_EQ(fast.value.size(), engine.gridTimes.size());
    double largest = 0;
    for (std::size_t i = first; i < first + fast.value.size(); ++i) {
        largest = std::max(largest, std::abs(engine.synthetic[i]));
    }
    for (std::size_t i = 0; i < fast.value.size(); ++i) {
        EXPECT_NEAR(fast.value[i], engine.synthetic[first + i] / largest, 1e-9) << i;
    }
    EXPECT_GT(fast.seaFloorSamples, 0U);
}

} // namespace
} // namespace quarvel::tie
