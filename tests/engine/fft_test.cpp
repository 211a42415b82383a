#include "engine/fft.h"

#include <cmath>
#include <complex>
#include <gtest/gtest.h>
#include <numbers>
#include <span>
#include <stdexcept>
#include <utility>
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

// The stages walk the data in batches of twiddle factors; every butterfly must
// still get the bits of the plain loop over k and then over the blocks.
TEST(Fft, BatchedStagesGiveTheBitsOfThePlainLoop) {
    for (const bool inverse : {false, true}) {
        for (const std::size_t n : {std::size_t{2}, std::size_t{512}, std::size_t{4096}}) {
            std::vector<std::complex<double>> data(n);
            for (std::size_t i = 0; i < n; ++i) {
                data[i] = {std::sin(0.37 * i) / (1.0 + i), std::cos(0.011 * i * i)};
            }
            std::vector<std::complex<double>> plain = data;
            for (std::size_t i = 1, j = 0; i < n; ++i) {
                std::size_t bit = n >> 1;
                for (; (j & bit) != 0; bit >>= 1) {
                    j ^= bit;
                }
                j ^= bit;
                if (i < j) {
                    std::swap(plain[i], plain[j]);
                }
            }
            for (std::size_t len = 2; len <= n; len <<= 1) {
                const double angle = (inverse ? 1.0 : -1.0) * 2 * std::numbers::pi / len;
                for (std::size_t k = 0; k < len / 2; ++k) {
                    const std::complex<double> w = std::polar(1.0, angle * static_cast<double>(k));
                    for (std::size_t start = 0; start < n; start += len) {
                        const std::complex<double> u = plain[start + k];
                        const std::complex<double> v = plain[start + k + len / 2] * w;
                        plain[start + k] = u + v;
                        plain[start + k + len / 2] = u - v;
                    }
                }
            }
            if (inverse) {
                for (std::complex<double>& value : plain) {
                    value /= static_cast<double>(n);
                }
            }
            fft(data, inverse);
            for (std::size_t i = 0; i < n; ++i) {
                ASSERT_EQ(data[i].real(), plain[i].real()) << n << " " << i;
                ASSERT_EQ(data[i].imag(), plain[i].imag()) << n << " " << i;
            }
        }
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

// In working space of the caller's, whatever it held, the convolution gives the same bits, at
// the start of that space, and refuses space that is too small.
TEST(Fft, ConvolutionInUsedWorkingSpaceGivesTheSameBits) {
    std::vector<double> a(700), b(300);
    for (std::size_t i = 0; i < a.size(); ++i) {
        a[i] = std::sin(0.05 * i) + 1.0;
    }
    for (std::size_t i = 0; i < b.size(); ++i) {
        b[i] = std::cos(0.2 * i) / (2.0 + i);
    }
    const std::vector<double> own = fftConvolve(a, b);
    ASSERT_EQ(fftConvolveWork(a.size(), b.size()), 2048u);
    std::vector<double> work(2048, 7.0);
    const std::span<const double> result = fftConvolve(a, b, work);
    EXPECT_EQ(result.data(), work.data());
    ASSERT_EQ(result.size(), own.size());
    for (std::size_t i = 0; i < own.size(); ++i) {
        ASSERT_EQ(result[i], own[i]) << i;
    }
    std::vector<double> small(2047);
    EXPECT_THROW(fftConvolve(a, b, small), std::length_error);
}

} // namespace
} // namespace quarvel::kernels
