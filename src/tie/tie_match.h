#pragma once

#include "tie/tie_series.h"

#include <cstddef>
#include <functional>
#include <vector>

// How well a synthetic matches a recorded trace: the Pearson coefficient of
// the two on one time axis, the trace resampled linearly onto the
// synthetic's times and shifted against it.
namespace quarvel::tie {

// Fewer common samples than this give no coefficient.
inline constexpr std::size_t MinCommonSamples = 3;

// The Pearson coefficient of the synthetic against the trace shifted by s
// (positive: the trace's events come later), for every s in steps of the
// synthetic's sample interval from -maxShift to +maxShift (seconds), over the
// synthetic's samples whose shifted time lies within the trace. The trace is
// resampled linearly onto the synthetic's times, whose steps must be even.
// A shift with fewer than MinCommonSamples in common, or where either side
// is flat, has no coefficient.
struct ShiftScan {
    std::vector<double> shift;       // seconds, ascending, 0 among them
    std::vector<double> coefficient; // NaN where there is none
    std::size_t best = 0;            // the largest coefficient, the smallest shift of equals
    std::size_t zero = 0;            // the index of shift 0
};
ShiftScan scanShifts(const TimeSeries& synthetic, const TimeSeries& trace, double maxShift);

// The synthetic computed with every velocity of the log multiplied by the
// factor, as the engine writes it (its first sample at time 0).
using Synthesiser = std::function<TimeSeries(double factor)>;

struct FactorPoint {
    double factor = 1.0;
    double shift = 0.0; // seconds: the best shift for this factor
    double coefficient = 0.0;
};

// The best factor within [minFactor, maxFactor], each jointly with its best
// shift: a coarse pass in steps of CoarseFactorStep, then a fine pass in
// steps of FineFactorStep round the best coarse factor. points holds every
// factor tried that gave a coefficient, in ascending order.
inline constexpr double CoarseFactorStep = 0.01;
inline constexpr double FineFactorStep = 0.001;
struct FactorScan {
    std::vector<FactorPoint> points;
    std::size_t best = 0;
};
FactorScan scanFactors(const Synthesiser& synthesise, const TimeSeries& trace, double maxShift,
                       double minFactor, double maxFactor);

} // namespace quarvel::tie
