#include "chirp/chirp_source.h"
#include "engine/calc_synthetic.h"
#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "engine/synthetic.h"
#include "formats/numbers.h"
#include "formats/text_file.h"
#include "support/temp_work_dir.h"

#include <array>
#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <string>

namespace quarvel::MathFun {
namespace {

using testing::TempWorkDir;

// Rows 1 cm apart down to 1 m. With `bedAt` the sediment under the sea floor
// is almost water (the sea floor hardly reflects) and a dense sand bed lies
// at that depth; without it the sea floor is the strongest reflector.
SyntheticLog coreLog(double bedAt = 0) {
    SyntheticLog log;
    for (int i = 1; i <= 100; ++i) {
        const double depth = 0.01 * i;
        const bool bed = bedAt > 0 && std::abs(depth - bedAt) < 0.025;
        log.depth.push_back(depth);
        log.velocity.push_back(bed ? 1750 : (bedAt > 0 ? 1500 : 1600 + 20 * std::sin(depth * 9)));
        log.density.push_back(bed ? 2.1 : (bedAt > 0 ? 1.05 : 1.7 + 0.02 * std::cos(depth * 13)));
    }
    return log;
}

SyntheticWavelet defaultWavelet() {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    return engine::readWavelet(dir.workDir(), 0.00001, "0.00001");
}

SyntheticParameters defaultParameters() {
    SyntheticParameters p;
    p.startFrequency = 2000;
    p.endFrequency = 7000;
    p.samplingInterval = 0.00001;
    return p;
}

std::size_t strongestOf(const Series& s, int n) {
    return StrongestSample(std::span<const double>(s.samples(), static_cast<std::size_t>(n)));
}

// The whole chain, step by step with the engine's kernels, on a
// reflectivity of 1 at the first grid sample and 0 elsewhere: where each
// stage peaks.
std::array<std::size_t, 4> fullChainOnTheSeaFloor(const SyntheticSeries& run,
                                                  const SyntheticWavelet& wavelet) {
    const SyntheticCounts& c = run.counts;
    const double dt = run.samplingInterval;
    const int m = c.waveletCount;
    const int nd = c.deconvolvedCount;
    auto w = std::make_unique<Series>(), spike = std::make_unique<Series>();
    auto f = std::make_unique<Series>(), r = std::make_unique<Series>();
    auto reflectivity = std::make_unique<Series>(), x = std::make_unique<Series>();
    auto d = std::make_unique<Series>(), h = std::make_unique<Series>();
    auto q = std::make_unique<Series>(), e = std::make_unique<Series>();
    auto s = std::make_unique<Series>(), y = std::make_unique<Series>();
    for (int i = 1; i < m; ++i) {
        (*w)[i] = wavelet.amplitudes[static_cast<std::size_t>(i - 1)];
    }
    (*spike)[1] = 1;
    Deconvolve(*spike, 2 * m, *w, m, *f, *r);
    (*reflectivity)[1] = 1;
    Convolve(m, *w, c.gridCount, *reflectivity, c.correlatedCount, *x);
    Convolve(DeconvolutionTaps, *f, c.correlatedCount, *x, nd, *d);
    for (int i = 2; i <= nd; ++i) {
        (*h)[i] = 1 / (std::numbers::pi * (i - 1) * dt);
    }
    Convolve(nd, *h, nd, *d, nd, *q);
    for (int i = 1; i <= nd; ++i) {
        (*e)[i] = std::hypot((*d)[i], (*q)[i]);
    }
    const double t0 = (nd * dt - dt) / 2;
    const double fc = 4500;
    for (int i = 1; i <= c.lowPassCount; ++i) {
        const double v = (i - 1) * dt - t0;
        (*s)[i] =
            v == 0 ? 2 * fc : std::sin(2 * std::numbers::pi * fc * v) / (std::numbers::pi * v);
    }
    Convolve(nd, *e, c.lowPassCount, *s, c.syntheticCount, *y);
    return {strongestOf(*x, c.correlatedCount), strongestOf(*d, nd), strongestOf(*e, nd),
            strongestOf(*y, c.syntheticCount)};
}

TEST(SeaFloor, SampleOfEachStageIsWhereTheSeaFloorAloneArrives) {
    const SyntheticWavelet wavelet = defaultWavelet();
    struct Case {
        double bedAt;
        bool seaFloorStrongest;
    };
    for (const Case c : {Case{0, true}, Case{0.6, false}}) {
        const SyntheticSeries run =
            computeSynthetic(coreLog(c.bedAt), wavelet, defaultParameters());
        const std::array<std::size_t, 4> expected = fullChainOnTheSeaFloor(run, wavelet);
        for (std::size_t stage = 0; stage < 4; ++stage) {
            EXPECT_EQ(run.seaFloorSample[stage], expected[stage])
                << "bed " << c.bedAt << " stage " << stage;
        }
        const TimeZeroOffset offset = run.counts.timeZero;
        EXPECT_EQ(offset.far, !c.seaFloorStrongest) << c.bedAt;
        if (c.seaFloorStrongest) {
            EXPECT_EQ(offset.samples, 0);
        } else {
            // The bed lies at about 2 * 0.6 / 1500 s, 0.8 ms below the sea floor.
            EXPECT_NEAR(offset.ms, 0.8, 0.05);
        }
    }
}

TEST(SeaFloor, WarningOnlyBeyondAQuarterOfTheWaveletLength) {
    struct Case {
        std::size_t peak;
        long long samples;
        bool far;
    };
    // M = 100, sea floor at sample 10: a quarter of M is 25 samples.
    const Case cases[] = {{35, 25, false}, {36, 26, true}, {10, 0, false}, {0, -10, false}};
    for (const Case& c : cases) {
        SyntheticSeries run;
        run.counts.waveletCount = 100;
        run.samplingInterval = 0.00001;
        run.seaFloorSample = {10, 10, 10, 10};
        run.synthetic.assign(60, 0.1);
        run.synthetic[c.peak] = -2;
        const TimeZeroOffset offset = timeZeroOffset(run);
        EXPECT_EQ(offset.samples, c.samples) << c.peak;
        EXPECT_EQ(offset.far, c.far) << c.peak;
        EXPECT_NEAR(offset.ms, static_cast<double>(c.samples) * 0.01, 1e-12);
    }
    EXPECT_EQ(timeZeroWarning({26, 0.26, true}),
              "Time 0 of the synthetic is an arrival 0.260 ms below the sea floor; events are "
              "drawn too shallow.");
}

TEST(SeaFloor, SeaFloorModeStartsEachStageThereAndLeavesReflectivityAlone) {
    const SyntheticSeries run =
        computeSynthetic(coreLog(0.6), defaultWavelet(), defaultParameters());
    const auto strongest = syntheticFileTexts(run, TimeZero::Strongest);
    const auto seaFloor = syntheticFileTexts(run, TimeZero::SeaFloor);
    EXPECT_EQ(seaFloor[0], strongest[0]) << "refl.dat";
    const std::vector<double>* stages[] = {&run.correlated, &run.deconvolved, &run.envelope,
                                           &run.synthetic};
    for (std::size_t stage = 0; stage < 4; ++stage) {
        const std::vector<double>& samples = *stages[stage];
        const std::size_t first = run.seaFloorSample[stage];
        double largest = 0;
        for (const double v : samples) {
            largest = std::max(largest, std::abs(v));
        }
        const std::vector<std::string> lines = splitLines(seaFloor[stage + 1]);
        ASSERT_FALSE(lines.empty());
        EXPECT_EQ(lines[0],
                  numbers::formatE23(0) + " " + numbers::formatE23(samples[first] / largest))
            << stage;
        // The same time limit and line counting as from the strongest sample.
        std::size_t rows = 0;
        while (first + rows < samples.size() &&
               static_cast<double>(rows) * run.samplingInterval < run.timeLimit()) {
            ++rows;
        }
        EXPECT_EQ(lines.size(), rows) << stage;
        EXPECT_EQ(lines[1].substr(0, 23), numbers::formatE23(run.samplingInterval)) << stage;
    }
    EXPECT_NE(seaFloor[4], strongest[4]);
}

} // namespace
} // namespace quarvel::MathFun
