#include "tie/warp_series.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarvel::tie {

double Interpolator::at(double t) {
    if (t < times_.front() || t > times_.back()) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    while (j_ + 2 < times_.size() && times_[j_ + 1] < t) {
        ++j_;
    }
    const double w = (t - times_[j_]) / (times_[j_ + 1] - times_[j_]);
    return values_[j_] + std::clamp(w, 0.0, 1.0) * (values_[j_ + 1] - values_[j_]);
}

double halfCorrelationWidth(const std::vector<double>& values) {
    std::vector<double> x;
    for (const double v : values) {
        if (std::isfinite(v)) {
            x.push_back(v);
        }
    }
    double mean = 0;
    for (const double v : x) {
        mean += v / static_cast<double>(x.size());
    }
    double zero = 0;
    for (double& v : x) {
        v -= mean;
        zero += v * v;
    }
    double previous = 1;
    for (std::size_t k = 1; k < x.size() / 2; ++k) {
        double sum = 0;
        for (std::size_t i = 0; i + k < x.size(); ++i) {
            sum += x[i] * x[i + k];
        }
        const double r = sum / zero;
        if (r < 0.5) {
            return static_cast<double>(k - 1) + (previous - 0.5) / (previous - r);
        }
        previous = r;
    }
    return static_cast<double>(x.size() / 2);
}

void smooth(std::vector<double>& values, double sigma) {
    const auto half = static_cast<std::ptrdiff_t>(std::ceil(3 * sigma));
    if (half < 1) {
        return;
    }
    std::vector<double> weights;
    for (std::ptrdiff_t k = -half; k <= half; ++k) {
        const double x = static_cast<double>(k) / sigma;
        weights.push_back(std::exp(-0.5 * x * x));
    }
    const std::vector<double> in = values;
    const auto n = static_cast<std::ptrdiff_t>(in.size());
    for (std::ptrdiff_t i = 0; i < n; ++i) {
        if (!std::isfinite(in[static_cast<std::size_t>(i)])) {
            continue;
        }
        double sum = 0;
        double weight = 0;
        for (std::ptrdiff_t k = std::max(-half, -i); k <= std::min(half, n - 1 - i); ++k) {
            const double v = in[static_cast<std::size_t>(i + k)];
            if (std::isfinite(v)) {
                sum += weights[static_cast<std::size_t>(k + half)] * v;
                weight += weights[static_cast<std::size_t>(k + half)];
            }
        }
        values[static_cast<std::size_t>(i)] = sum / weight;
    }
}

bool standardise(std::vector<double>& values, std::size_t first) {
    double sum = 0;
    double count = 0;
    for (std::size_t i = first; i < values.size(); ++i) {
        if (std::isfinite(values[i])) {
            sum += values[i];
            ++count;
        }
    }
    const double mean = count > 0 ? sum / count : 0.0;
    double squares = 0;
    for (std::size_t i = first; i < values.size(); ++i) {
        if (std::isfinite(values[i])) {
            squares += (values[i] - mean) * (values[i] - mean);
        }
    }
    if (!(squares > 0)) {
        return false;
    }
    const double scale = 1 / std::sqrt(squares / count);
    for (double& v : values) {
        v = (v - mean) * scale;
    }
    return true;
}

double pearson(const std::vector<double>& x, const std::vector<double>& y, std::size_t first,
               std::size_t last) {
    double sx = 0, sy = 0, count = 0;
    for (std::size_t i = first; i < last; ++i) {
        if (std::isfinite(y[i])) {
            sx += x[i];
            sy += y[i];
            ++count;
        }
    }
    if (count < 3) {
        return std::numeric_limits<double>::quiet_NaN();
    }
    const double mx = sx / count;
    const double my = sy / count;
    double sxy = 0, sxx = 0, syy = 0;
    for (std::size_t i = first; i < last; ++i) {
        if (std::isfinite(y[i])) {
            sxy += (x[i] - mx) * (y[i] - my);
            sxx += (x[i] - mx) * (x[i] - mx);
            syy += (y[i] - my) * (y[i] - my);
        }
    }
    return sxx > 0 && syy > 0 ? std::clamp(sxy / std::sqrt(sxx * syy), -1.0, 1.0)
                              : std::numeric_limits<double>::quiet_NaN();
}

} // namespace quarvel::tie
