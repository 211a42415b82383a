#include "tie/surrogates.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace quarvel::tie {
namespace {

// The amplitude spectrum by the textbook sum, an independent check of the
// transform the surrogates go through.
std::vector<double> amplitudeSpectrum(const std::vector<double>& x) {
    const std::size_t n = x.size();
    std::vector<double> amplitude(n);
    for (std::size_t k = 0; k < n; ++k) {
        std::complex<double> sum;
        for (std::size_t j = 0; j < n; ++j) {
            sum += x[j] * std::polar(1.0, -2 * std::numbers::pi * static_cast<double>(j * k) /
                                              static_cast<double>(n));
        }
        amplitude[k] = std::abs(sum);
    }
    return amplitude;
}

TEST(Surrogates, KeepTheAmplitudeSpectrumAndChangeTheTiming) {
    for (const std::size_t n : {7U, 64U, 300U, 1001U}) {
        std::vector<double> trace(n);
        for (std::size_t i = 0; i < n; ++i) {
            const double t = static_cast<double>(i) / static_cast<double>(n);
            trace[i] = 1.0 + std::exp(-std::pow((t - 0.3) / 0.02, 2)) + 0.3 * std::sin(40 * t);
        }
        const std::vector<double> a = phaseRandomised(trace, 7);
        ASSERT_EQ(a.size(), n);
        const std::vector<double> expected = amplitudeSpectrum(trace);
        const std::vector<double> got = amplitudeSpectrum(a);
        for (std::size_t k = 0; k < n; ++k) {
            EXPECT_NEAR(got[k], expected[k], 1e-9 * expected[0]) << n << " bin " << k;
        }
        // Repeatable from the seed, different for another seed, and not the
        // trace itself.
        EXPECT_EQ(phaseRandomised(trace, 7), a);
        EXPECT_NE(phaseRandomised(trace, 8), a);
        double moved = 0;
        for (std::size_t i = 0; i < n; ++i) {
            moved = std::max(moved, std::abs(a[i] - trace[i]));
        }
        EXPECT_GT(moved, 0.05) << n;
    }
    // Too short to have a phase to change.
    EXPECT_EQ(phaseRandomised({1.0, 2.0}, 1), (std::vector<double>{1.0, 2.0}));
}

} // namespace
} // namespace quarvel::tie
