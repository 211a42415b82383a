#include "engine/fft.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstring>
#include <memory>
#include <numbers>
#include <stdexcept>
#include <utility>

namespace quarvel::kernels {

void fft(std::span<std::complex<double>> data, bool inverse) {
    const std::size_t n = data.size();
    // Bit-reversal permutation.
    for (std::size_t i = 1, j = 0; i < n; ++i) {
        std::size_t bit = n >> 1;
        for (; (j & bit) != 0; bit >>= 1) {
            j ^= bit;
        }
        j ^= bit;
        if (i < j) {
            std::swap(data[i], data[j]);
        }
    }
    const double sign = inverse ? 1.0 : -1.0;
    // Each twiddle factor is computed directly rather than by repeated
    // multiplication, so long transforms do not drift. They are made a batch
    // at a time and each batch is applied to every block of the stage in
    // turn, so that the data is walked in order rather than a block length
    // apart; the butterflies of a stage are independent, so the order does
    // not change a bit of the result.
    constexpr std::size_t Batch = 256;
    std::array<std::complex<double>, Batch> w;
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double angle = sign * 2 * std::numbers::pi / static_cast<double>(len);
        const std::size_t half = len / 2;
        for (std::size_t k0 = 0; k0 < half; k0 += Batch) {
            const std::size_t count = std::min(Batch, half - k0);
            for (std::size_t k = 0; k < count; ++k) {
                w[k] = std::polar(1.0, angle * static_cast<double>(k0 + k));
            }
            for (std::size_t block = 0; block < n; block += len) {
                std::complex<double>* lower = data.data() + block + k0;
                std::complex<double>* upper = lower + half;
                for (std::size_t k = 0; k < count; ++k) {
                    const std::complex<double> u = lower[k];
                    const std::complex<double> v = upper[k] * w[k];
                    lower[k] = u + v;
                    upper[k] = u - v;
                }
            }
        }
    }
    if (inverse) {
        for (std::complex<double>& value : data) {
            value /= static_cast<double>(n);
        }
    }
}

namespace {

std::size_t transformSize(std::size_t count) {
    std::size_t n = 1;
    while (n < count) {
        n <<= 1;
    }
    return n;
}

} // namespace

std::size_t fftConvolveWork(std::size_t na, std::size_t nb) {
    return na == 0 || nb == 0 ? 0 : 2 * transformSize(na + nb - 1);
}

std::span<const double> fftConvolve(std::span<const double> a, std::span<const double> b,
                                    std::span<double> work) {
    if (a.empty() || b.empty()) {
        return {};
    }
    if (work.size() < fftConvolveWork(a.size(), b.size())) {
        throw std::length_error("fftConvolve was given too little working space");
    }
    const std::size_t count = a.size() + b.size() - 1;
    const std::size_t n = transformSize(count);
    // Both real series in one complex transform: a as the real part, b as
    // the imaginary part; their spectra separate by symmetry.
    auto* z = reinterpret_cast<std::complex<double>*>(work.data());
    std::uninitialized_value_construct_n(z, n);
    for (std::size_t i = 0; i < a.size(); ++i) {
        z[i].real(a[i]);
    }
    for (std::size_t i = 0; i < b.size(); ++i) {
        z[i].imag(b[i]);
    }
    const std::span<std::complex<double>> spectrum(z, n);
    fft(spectrum, false);
    // The product of the spectra replaces z in place: bins k and n - k each
    // need both, so they are computed as a pair.
    const auto product = [](std::complex<double> zk, std::complex<double> zMirror) {
        const std::complex<double> zc = std::conj(zMirror);
        const std::complex<double> spectrumA = (zk + zc) * 0.5;
        const std::complex<double> spectrumB = (zk - zc) * std::complex<double>(0.0, -0.5);
        return spectrumA * spectrumB;
    };
    for (std::size_t k = 0; k <= n / 2; ++k) {
        const std::size_t mirror = (n - k) % n;
        const std::complex<double> zk = z[k];
        const std::complex<double> zm = z[mirror];
        z[k] = product(zk, zm);
        z[mirror] = product(zm, zk);
    }
    fft(spectrum, true);
    // The real parts move to the front, each to a double the ones before it
    // have left (copied as bytes: the doubles hold complex numbers).
    for (std::size_t i = 0; i < count; ++i) {
        std::memcpy(work.data() + i, z + i, sizeof(double));
    }
    return work.first(count);
}

std::vector<double> fftConvolve(std::span<const double> a, std::span<const double> b) {
    std::vector<double> work(fftConvolveWork(a.size(), b.size()));
    const std::span<const double> result = fftConvolve(a, b, work);
    return {result.begin(), result.end()};
}

} // namespace quarvel::kernels
