#pragma once

#include "tie/tie_series.h"
#include "tie/time_depth_relation.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// A depth-varying tie: the synthetic stretched and squeezed onto the trace,
// starting from the bulk tie (one velocity factor and one shift), by dynamic
// programming over lags (dynamic warping, Hale 2013). The alignment is the
// best over every monotonic path whose lag is linear between knots laid
// every `interval` metres of core; the lag's slope between knots is bounded
// so that no interval's velocity departs from the bulk tie's by more than
// the limit. The errors summed along each path are squared differences of
// the two series standardised over the core span, so the sums between knots
// smooth the per-sample noise, as the knots themselves smooth the lag.
namespace quarvel::tie {

struct WarpLimits {
    double velocityChange = 0.25; // the most an interval's velocity may depart, as a share
    double interval = 0.20;       // m: the shortest interval the limit is held over
    double maxLag = 0.0; // s from the bulk tie; 0: half what the limit allows over the core
};

// Largest velocity limit: beyond it an interval's time could shrink to nothing.
inline constexpr double MaxVelocityChange = 0.5;

// A velocity limit typed as a percentage, as a share; a QuarvelError naming
// the option and its range when it is not one.
double velocityLimitFromText(const std::string& percent, const std::string& optionName);

// A tie point the alignment must pass through: this depth lies at this trace time.
struct FixedTie {
    double depth = 0.0; // m below the core top
    double twt = 0.0;   // s below the sea floor on the trace
};

struct WarpRequest {
    TimeSeries synthetic;         // at the bulk factor: seconds from the sea floor
    TimeDepthRelation synthDepth; // depth -> the synthetic's time (ms) at the bulk factor
    double shift = 0.0;           // s: the bulk shift, synthetic time + shift = trace time
    TimeSeries trace;             // as compared (an envelope): seconds from the sea floor
    // s after time 0: the sea floor's own arrival, which every trace cut at
    // the sea floor shares, so it is left out of the coefficients.
    double seaFloorArrival = 0.0;
    WarpLimits limits;
    std::vector<FixedTie> fixed;
};

// The alignment found for one trace.
struct Alignment {
    std::vector<double> knotDepth; // m
    std::vector<double> knotTime;  // s: the bulk tie's trace time of each knot
    std::vector<double> knotLag;   // s: added to it by the alignment
    // The trace as compared (see Warper::synthetic) along the alignment, at
    // every alignment sample (NaN where the trace does not reach).
    std::vector<double> aligned;
    // Pearson, the synthetic as compared against the aligned trace, after
    // the sea floor's arrival; without fixed ties never below the bulk tie's
    // own coefficient over the same samples, unless the bulk tie matches
    // worse than WeakestFit.
    double coefficient = 0.0;
    double bulkCoefficient = 0.0; // the same at the bulk tie
    double covered = 0.0;         // share of the samples the aligned trace reaches

    // The lag at a bulk tie time, linear between knots.
    double lagAt(double time) const;
};

// Everything about the synthetic and the limits that does not depend on the
// trace's values, prepared once so that many traces sharing the request's
// times (the trace and its surrogates) are aligned cheaply.
class Warper {
public:
    // Throws QuarvelError for limits out of range, a synthetic that does not
    // reach the core base or is flat, and fixed ties out of order or asking
    // for more change than the limit.
    explicit Warper(const WarpRequest& request);

    // Aligns trace values given at the request's trace times. Throws
    // QuarvelError when no path within the limits passes the fixed ties.
    Alignment align(const std::vector<double>& traceValues) const;

    // The alignment samples: bulk tie trace times (s) and the synthetic there,
    // as compared (at the trace's resolution, standardised).
    const std::vector<double>& times() const { return times_; }
    const std::vector<double>& synthetic() const { return synthetic_; }
    double step() const { return step_; }
    // The first sample the coefficients count (after the sea floor's arrival).
    std::size_t firstCompared() const { return firstCompared_; }
    double maxLag() const { return -lagMin_; }

    // Depth (m) at a bulk tie trace time (s).
    double depthAt(double time) const;

    // Depth -> trace time below the sea floor (ms) under the alignment, at
    // the sea floor, at every point of the synthetic's relation and at every
    // knot.
    TimeDepthRelation relation(const Alignment& alignment) const;

private:
    struct Knot {
        double depth = 0.0;
        double time = 0.0;      // s, bulk tie
        std::size_t sample = 0; // nearest alignment sample
        bool fixed = false;
        double fixedLag = 0.0; // s
    };
    void matchResolutions(const TimeSeries& trace);
    void layKnots(const WarpRequest& request);
    double pathCost(const std::vector<double>& prefix, std::size_t a, std::size_t b, std::size_t ja,
                    std::size_t jb) const;

    TimeDepthRelation synthDepth_;
    double shift_ = 0.0;
    double step_ = 0.0;
    double lagMin_ = 0.0;
    std::size_t lagCount_ = 0;
    double strainLow_ = 0.0;
    double strainHigh_ = 0.0;
    std::vector<double> times_;
    std::vector<double> synthetic_; // at the trace's resolution, standardised
    double traceSmoothing_ = 0.0;   // samples: the trace's extra smoothing
    std::size_t firstCompared_ = 0;
    std::vector<double> traceTimes_;
    std::vector<Knot> knots_;
};

} // namespace quarvel::tie
