#pragma once

#include <cstddef>
#include <vector>

// Small numerics the depth-varying tie shares: reading a series between its
// samples, putting two series on one footing and comparing them.
namespace quarvel::tie {

// Linear interpolation of (times, values), read at times that never
// decrease; NaN outside the times.
class Interpolator {
public:
    Interpolator(const std::vector<double>& times, const std::vector<double>& values)
        : times_(times), values_(values) {}
    double at(double t);

private:
    const std::vector<double>& times_;
    const std::vector<double>& values_;
    std::size_t j_ = 0;
};

// How far apart two samples must be for the series to correlate with itself
// by no more than a half, in samples (linear between lags): a measure of its
// resolution. The finite values are taken to be one run.
double halfCorrelationWidth(const std::vector<double>& values);

// The finite values smoothed by a Gaussian of `sigma` samples, its weights
// renormalised where it reaches past them.
void smooth(std::vector<double>& values, double sigma);

// Mean 0 and standard deviation 1 over the finite values from `first` on
// (all values shifted and scaled alike); false when they do not vary.
bool standardise(std::vector<double>& values, std::size_t first = 0);

// Pearson's coefficient of x and y over [first, last), where y is finite;
// NaN with fewer than three such samples or where either side is flat.
double pearson(const std::vector<double>& x, const std::vector<double>& y, std::size_t first,
               std::size_t last);

} // namespace quarvel::tie
