#include "tie/analytic_signal.h"
#include "tie/tie_match.h"
#include "tie/tie_series.h"

#include <cmath>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace quarvel::tie {
namespace {

// A series of Gaussian pulses (height, centre s) sampled every dt seconds
// from 0 to length.
TimeSeries pulses(const std::vector<std::pair<double, double>>& events, double dt, double length,
                  double width = 0.1e-3) {
    TimeSeries s;
    for (int i = 0; i * dt < length; ++i) {
        const double t = i * dt;
        double v = 0.05;
        for (const auto& [height, centre] : events) {
            const double x = (t - centre) / width;
            v += std::abs(x) < 6 ? height * std::exp(-x * x) : 0.0;
        }
        s.time.push_back(t);
        s.value.push_back(v);
    }
    return s;
}

TEST(AnalyticSignal, EnvelopeOfAModulatedCarrierIsItsModulation) {
    // A 5 kHz carrier under a Gaussian 1 ms wide, sampled at 10 us: the
    // envelope follows the Gaussian, not the carrier.
    std::vector<double> wave;
    std::vector<double> shape;
    for (int i = 0; i < 1000; ++i) {
        const double t = i * 1e-5;
        shape.push_back(std::exp(-std::pow((t - 5e-3) / 1e-3, 2)));
        wave.push_back(shape.back() * std::cos(2 * std::numbers::pi * 5000 * t));
    }
    const std::vector<double> env = envelope(wave);
    ASSERT_EQ(env.size(), wave.size());
    for (int i = 100; i < 900; i += 50) {
        EXPECT_NEAR(env[i], shape[i], 0.01) << i;
    }
    EXPECT_TRUE(envelope({}).empty());
}

TEST(TieSeries, FullWaveformIsAThirdOrMoreNegative) {
    struct Case {
        std::vector<double> values;
        bool full;
    };
    const Case cases[] = {{{1, 2, 3}, false},
                          {{1, -1, 1}, true},
                          {{1, 1, 1, -1}, false},
                          {{-1, -2, 1, 1, 1, 1}, true},
                          {{}, false}};
    for (const Case& c : cases) {
        EXPECT_EQ(isFullWaveform(c.values), c.full) << c.values.size();
    }
    // A full waveform is compared through its envelope, from its first time.
    TimeSeries trace{{5, 6, 7, 8}, {1, -1, 1, -1}};
    const PreparedTrace prepared = prepareTrace(trace);
    EXPECT_TRUE(prepared.enveloped);
    EXPECT_EQ(prepared.series.time, (std::vector<double>{0, 1, 2, 3}));
    for (const double v : prepared.series.value) {
        EXPECT_GE(v, 0.0);
    }
    const PreparedTrace envelopeRecord = prepareTrace({{5, 6, 7, 8}, {1, 2, -0.1, 3}});
    EXPECT_FALSE(envelopeRecord.enveloped);
    EXPECT_EQ(envelopeRecord.series.value, (std::vector<double>{1, 2, -0.1, 3}));
}

TEST(TieMatch, BestShiftFindsTheDelayOnTheSyntheticsTimes) {
    // Synthetic at 10 us, trace at 20 us with its events 0.3 ms (or -0.2 ms)
    // later: the trace is resampled onto the synthetic's times.
    const std::vector<std::pair<double, double>> events{{1.0, 1e-3}, {0.6, 2.5e-3}, {0.8, 4e-3}};
    const TimeSeries synthetic = pulses(events, 1e-5, 6e-3);
    for (const double delay : {0.3e-3, -0.2e-3}) {
        std::vector<std::pair<double, double>> later = events;
        for (auto& event : later) {
            event.second += delay;
        }
        const TimeSeries trace = pulses(later, 2e-5, 7e-3);
        const ShiftScan scan = scanShifts(synthetic, trace, 2e-3);
        EXPECT_EQ(scan.shift.size(), 401u);
        EXPECT_EQ(scan.shift[scan.zero], 0.0);
        EXPECT_NEAR(scan.shift[scan.best], delay, 1e-5) << delay;
        EXPECT_GT(scan.coefficient[scan.best], 0.999);
        EXPECT_LT(scan.coefficient[scan.zero], 0.5);
    }
}

TEST(TieMatch, NoCoefficientWithoutACommonSpanThatVaries) {
    const TimeSeries synthetic = pulses({{1.0, 1e-3}}, 1e-5, 3e-3);
    const TimeSeries flat{{0, 1e-3, 2e-3, 3e-3}, {2, 2, 2, 2}};
    EXPECT_THROW(scanShifts(synthetic, flat, 1e-3), std::exception);
    const TimeSeries farAway{{1, 1.001}, {0, 1}};
    EXPECT_THROW(scanShifts(synthetic, farAway, 1e-3), std::exception);
    EXPECT_THROW(scanShifts({{0}, {1}}, synthetic, 1e-3), std::exception);
    // Part of the span in common: the shifts that reach past the trace's end
    // have no coefficient, the others do.
    const TimeSeries shortTrace = pulses({{1.0, 1e-3}}, 1e-5, 2.5e-3);
    const ShiftScan partial = scanShifts(synthetic, shortTrace, 3e-3);
    EXPECT_FALSE(std::isnan(partial.coefficient[partial.zero]));
    EXPECT_TRUE(std::isnan(partial.coefficient.back()));
    EXPECT_NEAR(partial.shift[partial.best], 0.0, 1e-12);
    // A synthetic whose times are not evenly spaced (an edited ampl.dat).
    EXPECT_THROW(scanShifts({{0, 1e-5, 3e-5}, {0, 1, 0}}, synthetic, 1e-3), std::exception);
}

TEST(TieMatch, FactorScanFindsTheVelocityFactorJointlyWithTheShift) {
    // Events at the two-way times of a log whose velocities are scaled by f
    // come at t / f; the trace is the f = 0.95 synthetic, 0.2 ms late.
    const std::vector<double> times{0.0, 2e-3, 5e-3, 9e-3, 12e-3};
    const auto events = [&](double factor, double delay) {
        std::vector<std::pair<double, double>> list;
        for (std::size_t i = 0; i < times.size(); ++i) {
            list.emplace_back(1.0 - 0.1 * static_cast<double>(i), times[i] / factor + delay);
        }
        return list;
    };
    int runs = 0;
    const Synthesiser synthesise = [&](double factor) {
        ++runs;
        return pulses(events(factor, 0.0), 1e-5, 13e-3 / factor);
    };
    const TimeSeries trace = pulses(events(0.95, 0.2e-3), 1e-5, 16e-3);
    const FactorScan scan = scanFactors(synthesise, trace, 2e-3, 0.80, 1.25);
    const FactorPoint& best = scan.points[scan.best];
    EXPECT_NEAR(best.factor, 0.95, 0.002);
    EXPECT_NEAR(best.shift, 0.2e-3, 2e-5);
    EXPECT_GT(best.coefficient, 0.99);
    EXPECT_EQ(static_cast<std::size_t>(runs), scan.points.size());
    EXPECT_LT(runs, 70);
    for (std::size_t i = 1; i < scan.points.size(); ++i) {
        EXPECT_LT(scan.points[i - 1].factor, scan.points[i].factor);
    }
    // A range of one factor is the bulk shift alone.
    const FactorScan one = scanFactors(synthesise, trace, 2e-3, 1.0, 1.0);
    ASSERT_EQ(one.points.size(), 1u);
    EXPECT_EQ(one.points[0].factor, 1.0);
}

} // namespace
} // namespace quarvel::tie
