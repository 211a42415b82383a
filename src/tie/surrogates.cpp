#include "tie/surrogates.h"

#include "engine/fft.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <numeric>
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

// Uniform phases from the generator's raw bits (53 of them a draw), so the
// series does not depend on how a library maps bits to a distribution.
std::vector<Complex> randomPhases(std::vector<Complex> spectrum, std::uint64_t seed) {
    const std::size_t n = spectrum.size();
    std::mt19937_64 bits(seed);
    for (std::size_t k = 1; 2 * k < n; ++k) {
        const double phase = 2 * std::numbers::pi * static_cast<double>(bits() >> 11) * 0x1p-53;
        spectrum[k] = std::polar(std::abs(spectrum[k]), phase);
        spectrum[n - k] = std::conj(spectrum[k]);
    }
    return spectrum;
}

// Enough for the rank order to settle on traces of a few hundred samples;
// the loop stops earlier when it does.
constexpr int MaxAdjustments = 30;

} // namespace

Transform::Transform(std::size_t length) : length_(length), chirp_(length) {
    for (std::size_t j = 0; j < length; ++j) {
        // j^2 modulo 2n keeps the angle small, so it stays exact for long series.
        const auto square = static_cast<double>((j * j) % (2 * length));
        chirp_[j] = std::polar(1.0, std::numbers::pi * square / static_cast<double>(length));
    }
    spectrum_.assign(powerOfTwoAtLeast(2 * length - 1), {});
    for (std::size_t j = 0; j < length; ++j) {
        spectrum_[j] = chirp_[j];
        if (j > 0) {
            spectrum_[spectrum_.size() - j] = chirp_[j];
        }
    }
    kernels::fft(spectrum_, false);
}

// X[k] = c*[k] sum_j (x[j] c*[j]) c[k - j] with c[m] = exp(i pi m^2 / n): a
// convolution the power-of-two transform computes.
std::vector<Complex> Transform::chirp(std::vector<Complex> x) const {
    std::vector<Complex> a(spectrum_.size());
    for (std::size_t j = 0; j < length_; ++j) {
        a[j] = x[j] * std::conj(chirp_[j]);
    }
    kernels::fft(a, false);
    for (std::size_t k = 0; k < a.size(); ++k) {
        a[k] *= spectrum_[k];
    }
    kernels::fft(a, true);
    for (std::size_t k = 0; k < length_; ++k) {
        x[k] = std::conj(chirp_[k]) * a[k];
    }
    return x;
}

std::vector<Complex> Transform::forward(const std::vector<double>& values) const {
    return chirp(std::vector<Complex>(values.begin(), values.end()));
}

std::vector<double> Transform::inverse(std::vector<Complex> spectrum) const {
    // The inverse as the conjugate of the forward transform of the conjugate.
    for (Complex& c : spectrum) {
        c = std::conj(c);
    }
    const std::vector<Complex> x = chirp(std::move(spectrum));
    std::vector<double> result(length_);
    for (std::size_t j = 0; j < length_; ++j) {
        result[j] = x[j].real() / static_cast<double>(length_);
    }
    return result;
}

std::vector<double> phaseRandomised(const std::vector<double>& values, std::uint64_t seed) {
    if (values.size() < 3) {
        return values;
    }
    const Transform transform(values.size());
    return transform.inverse(randomPhases(transform.forward(values), seed));
}

AmplitudeAdjustedSurrogates::AmplitudeAdjustedSurrogates(const std::vector<double>& values)
    : values_(values), sorted_(values), transform_(std::max<std::size_t>(values.size(), 1)) {
    std::sort(sorted_.begin(), sorted_.end());
    for (const std::complex<double>& c : transform_.forward(values)) {
        amplitude_.push_back(std::abs(c));
    }
}

std::vector<double> AmplitudeAdjustedSurrogates::operator()(std::uint64_t seed) const {
    const std::size_t n = values_.size();
    if (n < 3) {
        return values_;
    }
    std::vector<double> series =
        transform_.inverse(randomPhases(transform_.forward(values_), seed));
    std::vector<std::size_t> order(n);
    std::vector<std::size_t> previous;
    for (int iteration = 0; iteration < MaxAdjustments; ++iteration) {
        // The trace's values, in the rank order of the series.
        std::iota(order.begin(), order.end(), std::size_t{0});
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return series[a] < series[b]; });
        for (std::size_t i = 0; i < n; ++i) {
            series[order[i]] = sorted_[i];
        }
        if (order == previous) {
            break;
        }
        previous = order;
        // Then the trace's amplitude spectrum, the phases kept.
        std::vector<Complex> spectrum = transform_.forward(series);
        for (std::size_t k = 0; k < n; ++k) {
            const double magnitude = std::abs(spectrum[k]);
            spectrum[k] = magnitude > 0 ? spectrum[k] * (amplitude_[k] / magnitude)
                                        : Complex(amplitude_[k], 0.0);
        }
        series = transform_.inverse(std::move(spectrum));
    }
    return series;
}

} // namespace quarvel::tie
