#include "tie/tie_match.h"

#include "engine/fft.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarvel::tie {
namespace {

constexpr double NoCoefficient = std::numeric_limits<double>::quiet_NaN();

std::size_t powerOfTwoAtLeast(std::size_t n) {
    std::size_t size = 1;
    while (size < n) {
        size *= 2;
    }
    return size;
}

// Centres the values on their mean (so that the sums of squares keep their
// precision), keeps their running sums and lays them at their place in a
// zero transform buffer, transformed.
template <typename Part>
Part prepare(const std::vector<double>& values, std::size_t first, std::size_t size) {
    Part part;
    part.first = first;
    part.count = values.size();
    double mean = 0;
    for (const double v : values) {
        mean += v;
    }
    mean /= static_cast<double>(std::max<std::size_t>(values.size(), 1));
    part.sum.assign(values.size() + 1, 0.0);
    part.square.assign(values.size() + 1, 0.0);
    part.spectrum.assign(size, {});
    for (std::size_t i = 0; i < values.size(); ++i) {
        const double v = values[i] - mean;
        part.sum[i + 1] = part.sum[i] + v;
        part.square[i + 1] = part.square[i] + v * v;
        part.spectrum[first + i] = v;
    }
    kernels::fft(part.spectrum, false);
    return part;
}

} // namespace

std::size_t largest(const std::vector<double>& coefficients) {
    std::size_t best = coefficients.size();
    for (std::size_t i = 0; i < coefficients.size(); ++i) {
        if (!std::isnan(coefficients[i]) &&
            (best == coefficients.size() || coefficients[i] > coefficients[best])) {
            best = i;
        }
    }
    return best;
}

ShiftCorrelator::ShiftCorrelator(long long minShift, long long maxShift, std::size_t extent)
    : minShift_(minShift), maxShift_(std::max(minShift, maxShift)),
      // Room for every product of a window sample with a trace sample, so
      // that no shift wraps round onto another.
      size_(powerOfTwoAtLeast(2 * extent + 1)) {}

ShiftCorrelator::Window ShiftCorrelator::window(const std::vector<double>& values,
                                                std::size_t first) const {
    return prepare<Window>(values, first, size_);
}

ShiftCorrelator::Trace ShiftCorrelator::trace(const std::vector<double>& values,
                                              std::size_t first) const {
    return prepare<Trace>(values, first, size_);
}

std::vector<double> ShiftCorrelator::coefficients(const Window& window, const Trace& trace) const {
    std::vector<double> forA;
    std::vector<double> forB;
    coefficients(window, window, trace, forA, forB);
    return forA;
}

void ShiftCorrelator::coefficients(const Window& a, const Window& b, const Trace& trace,
                                   std::vector<double>& forA, std::vector<double>& forB) const {
    // conj(A) T is the spectrum of sum_i a[i] t[i + j]; both products are
    // spectra of real series, so one inverse transform of their sum with
    // the second times i gives the first as its real part and the second as
    // its imaginary part.
    std::vector<std::complex<double>> z(size_);
    const std::complex<double> i(0.0, 1.0);
    for (std::size_t k = 0; k < size_; ++k) {
        z[k] = (std::conj(a.spectrum[k]) + i * std::conj(b.spectrum[k])) * trace.spectrum[k];
    }
    kernels::fft(z, true);
    std::vector<double> products(size_);
    for (std::size_t k = 0; k < size_; ++k) {
        products[k] = z[k].real();
    }
    pearson(a, trace, products, forA);
    for (std::size_t k = 0; k < size_; ++k) {
        products[k] = z[k].imag();
    }
    pearson(b, trace, products, forB);
}

void ShiftCorrelator::pearson(const Window& window, const Trace& trace,
                              const std::vector<double>& products, std::vector<double>& out) const {
    out.assign(shiftCount(), NoCoefficient);
    const auto needed =
        static_cast<long long>(std::ceil(MinCoverage * static_cast<double>(window.count) - 1e-9));
    const auto wFirst = static_cast<long long>(window.first);
    const auto wLast = wFirst + static_cast<long long>(window.count) - 1;
    const auto tFirst = static_cast<long long>(trace.first);
    const auto tLast = tFirst + static_cast<long long>(trace.count) - 1;
    const auto size = static_cast<long long>(size_);
    for (long long j = minShift_; j <= maxShift_; ++j) {
        const long long lo = std::max(wFirst, tFirst - j);
        const long long hi = std::min(wLast, tLast - j);
        const long long n = hi - lo + 1;
        if (n < std::max(needed, 2LL)) {
            continue;
        }
        const auto wa = static_cast<std::size_t>(lo - wFirst);
        const auto wb = static_cast<std::size_t>(hi - wFirst + 1);
        const auto ta = static_cast<std::size_t>(lo + j - tFirst);
        const auto tb = static_cast<std::size_t>(hi + j - tFirst + 1);
        const double count = static_cast<double>(n);
        const double sx = window.sum[wb] - window.sum[wa];
        const double sy = trace.sum[tb] - trace.sum[ta];
        const double varX = window.square[wb] - window.square[wa] - sx * sx / count;
        const double varY = trace.square[tb] - trace.square[ta] - sy * sy / count;
        const double sxy = products[static_cast<std::size_t>(((j % size) + size) % size)];
        if (varX > 0 && varY > 0) {
            out[static_cast<std::size_t>(j - minShift_)] =
                std::clamp((sxy - sx * sy / count) / std::sqrt(varX * varY), -1.0, 1.0);
        }
    }
}

} // namespace quarvel::tie
