#pragma once

#include <complex>
#include <cstddef>
#include <vector>

// How well a synthetic matches a recorded trace at every shift at once: the
// Pearson coefficient over the synthetic's compared window, the trace
// shifted against it, both on one comparison grid. The sums of products for
// all shifts come from one Fourier transform, so a search over a hundred
// velocity factors and hundreds of surrogate traces stays cheap.
namespace quarvel::tie {

// A shift counts only where the trace covers at least this share of the
// compared window: a handful of samples can agree by chance almost
// perfectly.
inline constexpr double MinCoverage = 0.9;

class ShiftCorrelator {
public:
    // Shifts from minShift to maxShift samples (positive: the trace's events
    // come later); windows and traces end before sample `extent`.
    ShiftCorrelator(long long minShift, long long maxShift, std::size_t extent);

    // The synthetic's compared window: samples [first, first + values.size())
    // of the comparison grid.
    struct Window {
        std::size_t first = 0;
        std::size_t count = 0;
        std::vector<double> sum, square; // running sums of the centred values, from 0
        std::vector<std::complex<double>> spectrum;
    };
    Window window(const std::vector<double>& values, std::size_t first) const;

    // The trace on the comparison grid: samples [first, first + values.size()).
    struct Trace {
        std::size_t first = 0;
        std::size_t count = 0;
        std::vector<double> sum, square;
        std::vector<std::complex<double>> spectrum;
    };
    Trace trace(const std::vector<double>& values, std::size_t first) const;

    // The coefficient at every shift, minShift first; NaN where the trace
    // covers less than MinCoverage of the window or either side is flat.
    std::vector<double> coefficients(const Window& window, const Trace& trace) const;
    // The same for two windows against one trace, in one inverse transform.
    void coefficients(const Window& a, const Window& b, const Trace& trace,
                      std::vector<double>& forA, std::vector<double>& forB) const;

    long long minShift() const { return minShift_; }
    std::size_t shiftCount() const { return static_cast<std::size_t>(maxShift_ - minShift_ + 1); }

private:
    void pearson(const Window& window, const Trace& trace, const std::vector<double>& products,
                 std::vector<double>& out) const;

    long long minShift_;
    long long maxShift_;
    std::size_t size_; // of the transforms
};

// The index of the largest coefficient (the first of equals), or the count
// when none is a number.
std::size_t largest(const std::vector<double>& coefficients);

} // namespace quarvel::tie
