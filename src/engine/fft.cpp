#include "engine/fft.h"

#include <cmath>
#include <cstddef>
#include <numbers>
#include <utility>

namespace quarvel::kernels {

void fft(std::vector<std::complex<double>>& data, bool inverse) {
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
    for (std::size_t len = 2; len <= n; len <<= 1) {
        const double angle = sign * 2 * std::numbers::pi / static_cast<double>(len);
        const std::size_t half = len / 2;
        for (std::size_t k = 0; k < half; ++k) {
            // Each twiddle factor computed directly rather than by repeated
            // multiplication, so long transforms do not drift.
            const std::complex<double> w = std::polar(1.0, angle * static_cast<double>(k));
            for (std::size_t start = 0; start < n; start += len) {
                const std::complex<double> u = data[start + k];
                const std::complex<double> v = data[start + k + half] * w;
                data[start + k] = u + v;
                data[start + k + half] = u - v;
            }
        }
    }
    if (inverse) {
        for (std::complex<double>& value : data) {
            value /= static_cast<double>(n);
        }
    }
}

std::vector<double> fftConvolve(std::span<const double> a, std::span<const double> b) {
    if (a.empty() || b.empty()) {
        return {};
    }
    const std::size_t count = a.size() + b.size() - 1;
    std::size_t n = 1;
    while (n < count) {
        n <<= 1;
    }
    // Both real series in one complex transform: a as the real part, b as
    // the imaginary part; their spectra separate by symmetry.
    std::vector<std::complex<double>> z(n);
    for (std::size_t i = 0; i < a.size(); ++i) {
        z[i].real(a[i]);
    }
    for (std::size_t i = 0; i < b.size(); ++i) {
        z[i].imag(b[i]);
    }
    fft(z, false);
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
    fft(z, true);
    std::vector<double> result(count);
    for (std::size_t i = 0; i < count; ++i) {
        result[i] = z[i].real();
    }
    return result;
}

} // namespace quarvel::kernels
