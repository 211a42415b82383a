#include "engine/fft.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numbers>
#include <vector>

namespace quarvel::kernels {
namespace {

TEST(Fft, TransformMatchesTheDirectSumAndInvertsIt) {
    std::vector<std::complex<double>> data;
    for (int i = 0; i < 16; ++i) {
        data.emplace_back(std::sin(0.7 * i) + 0.1 * i, std::cos(1.3 * i));
    }
    std::vector<std::complex<double>> transformed = data;
    fft(transformed, false);
    for (int k = 0; k < 16; ++k) {
        std::complex<double> direct;
        for (int n = 0; n < 16; ++n) {
            direct += data[n] * std::polar(1.0, -2 * std::numbers::pi * k * n / 16);
        }
        EXPECT_NEAR(std::abs(transformed[k] - direct), 0.0, 1e-12) << k;
    }
    fft(transformed, true);
    for (int n = 0; n < 16; ++n) {
        EXPECT_NEAR(std::abs(transformed[n] - data[n]), 0.0, 1e-12) << n;
    }
}

TEST(Fft, ConvolutionAgreesWithTheDirectSum) {
    struct Case {
        int na;
        int nb;
    };
    for (const Case c : {Case{1, 1}, Case{3, 5}, Case{100, 37}, Case{1000, 1001}}) {
        std::vector<double> a(c.na), b(c.nb);
        for (int i = 0; i < c.na; ++i) {
            a[i] = std::sin(0.3 * i) + 0.5;
        }
        for (int i = 0; i < c.nb; ++i) {
            b[i] = std::cos(0.11 * i) / (1 + i);
        }
        const std::vector<double> result = fftConvolve(a, b);
        ASSERT_EQ(result.size(), static_cast<std::size_t>(c.na + c.nb - 1));
        for (int k = 0; k < c.na + c.nb - 1; ++k) {
            double direct = 0;
            for (int i = 0; i < c.na; ++i) {
                if (k - i >= 0 && k - i < c.nb) {
                    direct += a[i] * b[k - i];
                }
            }
            EXPECT_NEAR(result[k], direct, 1e-10) << c.na << " " << c.nb << " " << k;
        }
    }
    EXPECT_TRUE(fftConvolve({}, std::vector<double>{1.0}).empty());
}

} // namespace
} // namespace quarvel::kernels
