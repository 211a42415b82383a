#include "tie/surrogates.h"

#include "engine/fft.h"

#include <cmath>
#include <complex>
#include <numbers>
#include <random>

namespace quarvel::tie {
namespace {

using Complex = std::complex<double>;

std::size_t powerOfTwoAtLeast(std::size_t n) {
    std::size_t size = 1;
    while (size < n) {
        size *= 2;
    }
    return size;
}

// The discrete Fourier transform of any length, through Bluestein's chirp:
// X[k] = c*[k] sum_j (x[j] c*[j]) c[k - j] with c[m] = exp(i pi m^2 / n), a
// convolution the power-of-two transform computes.
std::vector<Complex> transform(const std::vector<Complex>& x) {
    const std::size_t n = x.size();
    std::vector<Complex> chirp(n);
    for (std::size_t j = 0; j < n; ++j) {
        // j^2 modulo 2n keeps the angle small, so it stays exact for long series.
        const auto square = static_cast<double>((j * j) % (2 * n));
        chirp[j] = std::polar(1.0, std::numbers::pi * square / static_cast<double>(n));
    }
    const std::size_t size = powerOfTwoAtLeast(2 * n - 1);
    std::vector<Complex> a(size);
    std::vector<Complex> b(size);
    for (std::size_t j = 0; j < n; ++j) {
        a[j] = x[j] * std::conj(chirp[j]);
        b[j] = chirp[j];
        if (j > 0) {
            b[size - j] = chirp[j];
        }
    }
    kernels::fft(a, false);
    kernels::fft(b, false);
    for (std::size_t k = 0; k < size; ++k) {
        a[k] *= b[k];
    }
    kernels::fft(a, true);
    std::vector<Complex> result(n);
    for (std::size_t k = 0; k < n; ++k) {
        result[k] = std::conj(chirp[k]) * a[k];
    }
    return result;
}

} // namespace

std::vector<double> phaseRandomised(const std::vector<double>& values, std::uint64_t seed) {
    const std::size_t n = values.size();
    if (n < 3) {
        return values;
    }
    std::vector<Complex> spectrum = transform(std::vector<Complex>(values.begin(), values.end()));
    // Phases from the generator's raw bits (53 of them a draw), so the series
    // does not depend on how a library maps bits to a distribution.
    std::mt19937_64 bits(seed);
    for (std::size_t k = 1; 2 * k < n; ++k) {
        const double phase = 2 * std::numbers::pi * static_cast<double>(bits() >> 11) * 0x1p-53;
        spectrum[k] = std::polar(std::abs(spectrum[k]), phase);
        spectrum[n - k] = std::conj(spectrum[k]);
    }
    // The inverse transform as the conjugate of the forward one.
    for (Complex& c : spectrum) {
        c = std::conj(c);
    }
    const std::vector<Complex> inverse = transform(spectrum);
    std::vector<double> result(n);
    for (std::size_t j = 0; j < n; ++j) {
        result[j] = inverse[j].real() / static_cast<double>(n);
    }
    return result;
}

} // namespace quarvel::tie
