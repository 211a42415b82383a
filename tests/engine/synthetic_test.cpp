#include "chirp/chirp_source.h"
#include "engine/calc_synthetic.h"
#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "engine/synthetic.h"
#include "formats/quarvel_error.h"
#include "support/temp_work_dir.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <span>
#include <string>
#include <thread>

namespace quarvel::MathFun {
namespace {

using testing::TempWorkDir;

// Rows 5 cm apart down to the given depth, velocity and density varying.
SyntheticLog logDownTo(double bottom) {
    SyntheticLog log;
    for (int i = 1; 0.05 * i <= bottom + 1e-9; ++i) {
        const double depth = 0.05 * i;
        log.depth.push_back(depth);
        log.velocity.push_back(1600 + 40 * std::sin(depth * 7));
        log.density.push_back(1.7 + 0.1 * std::cos(depth * 11));
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

TEST(ComputeSynthetic, InMemoryGivesWhatCalcSyntheticWrites) {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    dir.write("log.dat", "0.5 1600 1.7\r\n1.0 1650 1.8\r\n1.4 1580 1.65\r\n");
    Engine engine;
    const SyntheticCounts counts = CalcSynthetic(engine, dir.workDir(), "2000", "7000", "0.00001");
    const SyntheticSeries series = computeSynthetic(
        engine::readLog(dir.workDir()), engine::readWavelet(dir.workDir(), 0.00001, "0.00001"),
        defaultParameters());
    EXPECT_EQ(series.counts.gridCount, counts.gridCount);
    EXPECT_EQ(series.synthetic.size(), static_cast<std::size_t>(counts.syntheticCount));
    const auto texts = syntheticFileTexts(series);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        EXPECT_EQ(texts[i], dir.read(SyntheticFileNames[i])) << SyntheticFileNames[i];
    }
}

// An engine reused for a shorter run must not carry anything of the longer
// one, and engines on two threads at once share nothing.
TEST(ComputeSynthetic, ReusedAndConcurrentEnginesGiveTheSameSeries) {
    const SyntheticWavelet wavelet = defaultWavelet();
    const SyntheticParameters parameters = defaultParameters();
    const SyntheticLog longLog = logDownTo(12);
    const SyntheticLog shortLog = logDownTo(1.5);
    const SyntheticSeries fresh = computeSynthetic(shortLog, wavelet, parameters);

    Engine reused;
    const SyntheticSeries longRun = reused.computeSynthetic(longLog, wavelet, parameters);
    EXPECT_GT(longRun.counts.gridCount, 5 * fresh.counts.gridCount);
    const SyntheticSeries again = reused.computeSynthetic(shortLog, wavelet, parameters);
    EXPECT_EQ(again.synthetic, fresh.synthetic);
    EXPECT_EQ(again.reflectivity, fresh.reflectivity);

    SyntheticSeries onOtherThread;
    std::thread other([&] { onOtherThread = computeSynthetic(longLog, wavelet, parameters); });
    const SyntheticSeries onThisThread = computeSynthetic(longLog, wavelet, parameters);
    other.join();
    EXPECT_EQ(onOtherThread.synthetic, longRun.synthetic);
    EXPECT_EQ(onThisThread.synthetic, longRun.synthetic);
}

// The run left in the engine's series is the one computeSynthetic copies
// out, stage by stage.
TEST(ComputeSynthetic, InPlaceRunIsWhatTheCopyHolds) {
    const SyntheticWavelet wavelet = defaultWavelet();
    const SyntheticLog log = logDownTo(3);
    const SyntheticSeries copy = computeSynthetic(log, wavelet, defaultParameters());
    Engine engine;
    const SyntheticSamples inPlace = engine.computeInPlace(log, wavelet, defaultParameters());
    const SyntheticSamples copied = copy.samples();
    const std::span<const double> SyntheticSamples::*stages[] = {
        &SyntheticSamples::gridTimes,  &SyntheticSamples::reflectivity,
        &SyntheticSamples::correlated, &SyntheticSamples::deconvolved,
        &SyntheticSamples::envelope,   &SyntheticSamples::synthetic};
    for (const auto stage : stages) {
        ASSERT_EQ((inPlace.*stage).size(), (copied.*stage).size());
        EXPECT_TRUE(
            std::equal((inPlace.*stage).begin(), (inPlace.*stage).end(), (copied.*stage).begin()));
        EXPECT_NE((inPlace.*stage).data(), (copied.*stage).data());
    }
    EXPECT_EQ(inPlace.seaFloorSample, copy.seaFloorSample);
    EXPECT_EQ(inPlace.counts.syntheticCount, copy.counts.syntheticCount);
    EXPECT_EQ(inPlace.counts.timeZero.samples, copy.counts.timeZero.samples);
    EXPECT_EQ(inPlace.timeLimit(), copy.timeLimit());
}

TEST(ComputeSynthetic, RefusesWhatCannotBeComputed) {
    const SyntheticWavelet wavelet = defaultWavelet();
    SyntheticLog oneRow;
    oneRow.depth = {0.5};
    oneRow.velocity = {1600};
    oneRow.density = {1.7};
    SyntheticLog ragged = logDownTo(1);
    ragged.density.pop_back();
    SyntheticLog shallower = logDownTo(1);
    shallower.depth[3] = shallower.depth[2];
    SyntheticParameters noInterval = defaultParameters();
    noInterval.samplingInterval = 0;
    struct Case {
        const char* name;
        SyntheticLog log;
        SyntheticWavelet wavelet;
        SyntheticParameters parameters;
        const char* expected;
    };
    const Case cases[] = {
        {"one row", oneRow, wavelet, defaultParameters(), "\"the log\" holds 1 row"},
        {"columns of different lengths", ragged, wavelet, defaultParameters(), "differ"},
        {"depth not increasing", shallower, wavelet, defaultParameters(),
         "row 4 is not deeper than row 3"},
        {"no wavelet", logDownTo(1), SyntheticWavelet{}, defaultParameters(), "Press GO"},
        {"wavelet too long", logDownTo(1), SyntheticWavelet{std::vector<double>(32'000, 0.5)},
         defaultParameters(), "between 1 and 31999"},
        {"interval 0", logDownTo(1), wavelet, noInterval, "must be above 0"},
    };
    for (const Case& c : cases) {
        try {
            computeSynthetic(c.log, c.wavelet, c.parameters);
            ADD_FAILURE() << c.name << ": not refused";
        } catch (const QuarvelError& error) {
            EXPECT_NE(std::string(error.what()).find(c.expected), std::string::npos)
                << c.name << ": " << error.what();
        }
    }
}

} // namespace
} // namespace quarvel::MathFun
