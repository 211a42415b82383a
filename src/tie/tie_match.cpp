#include "tie/tie_match.h"

#include "formats/quarvel_error.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace quarvel::tie {
namespace {

constexpr double NoCoefficient = std::numeric_limits<double>::quiet_NaN();

bool better(double candidate, double best) {
    return !std::isnan(candidate) && (std::isnan(best) || candidate > best);
}

// The synthetic's sample interval; its times must be evenly spaced, as the
// engine writes them, so that every shift is a whole number of samples.
double sampleInterval(const TimeSeries& synthetic) {
    const std::size_t n = synthetic.time.size();
    if (n < 2) {
        throw QuarvelError("The synthetic holds fewer than two samples; there is nothing to "
                           "compare.");
    }
    const double dt = synthetic.time[1] - synthetic.time[0];
    for (std::size_t k = 2; k < n; ++k) {
        const double expected = synthetic.time[0] + static_cast<double>(k) * dt;
        if (std::abs(synthetic.time[k] - expected) > dt / 1000) {
            throw QuarvelError("The times of the synthetic are not evenly spaced; compute it "
                               "again with Calc. Synthetic.");
        }
    }
    return dt;
}

// The trace linearly interpolated at the times first + i * dt, i = 0 .. count - 1,
// all within the trace's span.
std::vector<double> resample(const TimeSeries& trace, double first, double dt, std::size_t count) {
    const std::vector<double>& tt = trace.time;
    const std::vector<double>& tv = trace.value;
    std::vector<double> values(count);
    std::size_t j = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = first + static_cast<double>(i) * dt;
        while (j + 2 < tt.size() && tt[j + 1] < t) {
            ++j;
        }
        const double w = std::clamp((t - tt[j]) / (tt[j + 1] - tt[j]), 0.0, 1.0);
        values[i] = tv[j] + w * (tv[j + 1] - tv[j]);
    }
    return values;
}

// Running sums of the values and of their squares, from 0.
void prefixSums(const std::vector<double>& v, std::vector<double>& sum, std::vector<double>& sq) {
    sum.assign(v.size() + 1, 0.0);
    sq.assign(v.size() + 1, 0.0);
    for (std::size_t i = 0; i < v.size(); ++i) {
        sum[i + 1] = sum[i] + v[i];
        sq[i + 1] = sq[i] + v[i] * v[i];
    }
}

double mean(const std::vector<double>& v) {
    double sum = 0;
    for (const double x : v) {
        sum += x;
    }
    return v.empty() ? 0.0 : sum / static_cast<double>(v.size());
}

} // namespace

ShiftScan scanShifts(const TimeSeries& synthetic, const TimeSeries& trace, double maxShift) {
    const double dt = sampleInterval(synthetic);
    if (trace.time.size() < 2) {
        throw QuarvelError("The trace holds fewer than two samples; there is nothing to "
                           "compare.");
    }
    // A hair of tolerance so that a limit that is a whole number of samples
    // (2 ms at 10 us) is reached despite rounding.
    const long long steps = static_cast<long long>(std::floor(maxShift / dt + 1e-9));
    const auto n = static_cast<long long>(synthetic.time.size());
    const double t0 = synthetic.time.front();
    // The trace on the synthetic's grid (index i at t0 + i dt), as far as any
    // shift reaches.
    const long long first =
        std::max(-steps, static_cast<long long>(std::ceil((trace.time.front() - t0) / dt - 1e-9)));
    const long long last = std::min(
        n - 1 + steps, static_cast<long long>(std::floor((trace.time.back() - t0) / dt + 1e-9)));
    std::vector<double> y;
    if (last >= first) {
        y = resample(trace, t0 + static_cast<double>(first) * dt, dt,
                     static_cast<std::size_t>(last - first + 1));
    }
    // Centred on their means, so the sums of squares keep their precision.
    std::vector<double> x = synthetic.value;
    const double meanX = mean(x);
    const double meanY = mean(y);
    for (double& v : x) {
        v -= meanX;
    }
    for (double& v : y) {
        v -= meanY;
    }
    std::vector<double> sumX, sqX, sumY, sqY;
    prefixSums(x, sumX, sqX);
    prefixSums(y, sumY, sqY);

    ShiftScan scan;
    double best = NoCoefficient;
    for (long long j = -steps; j <= steps; ++j) {
        // Synthetic samples k compared with trace grid samples k + j.
        const long long lo = std::max(0LL, first - j);
        const long long hi = std::min(n - 1, last - j);
        double r = NoCoefficient;
        if (hi - lo + 1 >= static_cast<long long>(MinCommonSamples)) {
            const auto k0 = static_cast<std::size_t>(lo);
            const auto k1 = static_cast<std::size_t>(hi + 1);
            const auto y0 = static_cast<std::size_t>(lo + j - first);
            double sxy = 0;
            for (std::size_t k = k0; k < k1; ++k) {
                sxy += x[k] * y[y0 + k - k0];
            }
            const double count = static_cast<double>(k1 - k0);
            const double sx = sumX[k1] - sumX[k0];
            const double sy = sumY[y0 + k1 - k0] - sumY[y0];
            const double varX = sqX[k1] - sqX[k0] - sx * sx / count;
            const double varY = sqY[y0 + k1 - k0] - sqY[y0] - sy * sy / count;
            if (varX > 0 && varY > 0) {
                r = std::clamp((sxy - sx * sy / count) / std::sqrt(varX * varY), -1.0, 1.0);
            }
        }
        if (j == 0) {
            scan.zero = scan.shift.size();
        }
        if (better(r, best)) {
            best = r;
            scan.best = scan.shift.size();
        }
        scan.shift.push_back(static_cast<double>(j) * dt);
        scan.coefficient.push_back(r);
    }
    if (std::isnan(best)) {
        throw QuarvelError("The synthetic and the trace have no span in common that varies, "
                           "so no correlation coefficient can be computed.");
    }
    return scan;
}

FactorScan scanFactors(const Synthesiser& synthesise, const TimeSeries& trace, double maxShift,
                       double minFactor, double maxFactor) {
    std::map<double, FactorPoint> tried;
    const auto tryFactor = [&](double factor) {
        factor = std::clamp(factor, minFactor, maxFactor);
        // The grid's sums land on a few rounding errors off; one key per
        // millionth keeps them one point.
        const double key = std::round(factor * 1e6) / 1e6;
        if (tried.count(key) != 0) {
            return;
        }
        const TimeSeries synthetic = synthesise(factor);
        FactorPoint point{factor, 0.0, NoCoefficient};
        if (synthetic.time.size() >= 2) {
            const ShiftScan scan = scanShifts(synthetic, trace, maxShift);
            point.shift = scan.shift[scan.best];
            point.coefficient = scan.coefficient[scan.best];
        }
        tried[key] = point;
    };
    const auto bestFactor = [&] {
        double factor = minFactor;
        double best = NoCoefficient;
        for (const auto& [key, point] : tried) {
            if (better(point.coefficient, best)) {
                best = point.coefficient;
                factor = point.factor;
            }
        }
        return factor;
    };
    const auto coarseSteps =
        static_cast<long long>(std::floor((maxFactor - minFactor) / CoarseFactorStep + 1e-9));
    for (long long i = 0; i <= coarseSteps; ++i) {
        tryFactor(minFactor + static_cast<double>(i) * CoarseFactorStep);
    }
    tryFactor(maxFactor);
    const double centre = bestFactor();
    const auto fineSteps = static_cast<long long>(std::round(CoarseFactorStep / FineFactorStep));
    for (long long i = -fineSteps + 1; i < fineSteps; ++i) {
        tryFactor(centre + static_cast<double>(i) * FineFactorStep);
    }

    FactorScan scan;
    double best = NoCoefficient;
    for (const auto& [key, point] : tried) {
        if (std::isnan(point.coefficient)) {
            continue;
        }
        if (better(point.coefficient, best)) {
            best = point.coefficient;
            scan.best = scan.points.size();
        }
        scan.points.push_back(point);
    }
    if (scan.points.empty()) {
        throw QuarvelError("No velocity factor in the range gives a synthetic that can be "
                           "compared with the trace.");
    }
    return scan;
}

} // namespace quarvel::tie
