#pragma once

#include "engine/synthetic.h"
#include "tie/tie_series.h"

#include <cstdint>
#include <filesystem>
#include <functional>

// Held-out cases for the tie: traces made from a core by another forward
// model than the program's chain, so that a test of the tie does not grade
// the chain against itself. Reflections sit at the interfaces' continuous
// two-way times, each a Gabor pulse (a Gaussian under a 7 kHz carrier); the
// trace is the envelope of their analytic sum with complex noise, sampled at
// 66 us as a chirp system records it, with unrelated reflections below the
// core base.
namespace quarvel::tie::heldout {

// The demo core's log (its turbidite beds, its gaps filled by straight
// lines) with every velocity divided by `uncalibrated`, as a core logger
// without its calibration reports them.
MathFun::SyntheticLog demoCore(double uncalibrated);

struct TraceModel {
    // The true velocity at a depth is the log's times this.
    std::function<double(double depth)> velocityFactor = [](double) { return 1.0; };
    double delay = 0.0;      // s: the trace's events come this much later
    double interval = 66e-6; // s
    double noise = 0.05;     // of the strongest reflection's envelope
    double tail = 4e-3;      // s of unrelated reflections below the core base
    std::uint64_t seed = 1;
};

// The trace, cut at the sea floor (time 0 its first sample).
TimeSeries forwardTrace(const MathFun::SyntheticLog& core, const TraceModel& model);

// An envelope of noise alone, as long and as smooth as a trace.
TimeSeries noiseEnvelope(double length, double interval, std::uint64_t seed);

} // namespace quarvel::tie::heldout
