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

TEST(ShiftCorrelator, ScoresEveryShiftWhereTheTraceCoversTheWindow) {
    // Pulses on a grid of samples; the trace holds the same pulses 7 samples
    // later and runs 40 samples beyond the window.
    const TimeSeries window = pulses({{1.0, 40}, {0.6, 75}, {0.8, 110}}, 1, 150, 4);
    const TimeSeries trace = pulses({{1.0, 47}, {0.6, 82}, {0.8, 117}}, 1, 190, 4);
    const std::size_t first = 10; // both start below a muted top
    const std::vector<double> w(window.value.begin() + first, window.value.end());
    const std::vector<double> t(trace.value.begin() + first, trace.value.end());
    const ShiftCorrelator correlator(-30, 60, 200);
    const std::vector<double> r =
        correlator.coefficients(correlator.window(w, first), correlator.trace(t, first));
    ASSERT_EQ(r.size(), 91U);
    EXPECT_EQ(largest(r), 37U); // shift 7
    EXPECT_NEAR(r[37], 1.0, 1e-12);
    // Earlier than a tenth of the window (14 samples), or later than the
    // trace's 40 samples plus a tenth, no shift counts.
    EXPECT_TRUE(std::isnan(r[30 - 15]));
    EXPECT_FALSE(std::isnan(r[30 - 14]));
    EXPECT_FALSE(std::isnan(r[30 + 54]));
    EXPECT_TRUE(std::isnan(r[30 + 55]));
    // Two windows in one transform give what each gives alone.
    std::vector<double> a;
    std::vector<double> b;
    const std::vector<double> other(w.rbegin(), w.rend());
    correlator.coefficients(correlator.window(w, first), correlator.window(other, first),
                            correlator.trace(t, first), a, b);
    const std::vector<double> alone =
        correlator.coefficients(correlator.window(other, first), correlator.trace(t, first));
    for (std::size_t i = 0; i < r.size(); ++i) {
        EXPECT_TRUE(std::isnan(a[i]) ? std::isnan(r[i]) : std::abs(a[i] - r[i]) < 1e-12) << i;
        EXPECT_TRUE(std::isnan(b[i]) ? std::isnan(alone[i]) : std::abs(b[i] - alone[i]) < 1e-12)
            << i;
    }
    // A flat trace has no coefficient anywhere.
    const std::vector<double> flat = correlator.coefficients(
        correlator.window(w, first), correlator.trace(std::vector<double>(t.size(), 2.0), first));
    EXPECT_EQ(largest(flat), flat.size());
}

} // namespace
} // namespace quarvel::tie
