#pragma once

#include "engine/synthetic.h"

#include <cstddef>
#include <string_view>
#include <vector>

// The tie's own synthetic: the engine's chain on the impedance averaged over
// each sample's time cell, anchored at the sea floor's arrival, recomputed in
// memory for any velocity factor.
namespace quarvel::tie {

struct TieSynthetic {
    // From the sea floor's arrival (time 0) to the core base, every interval
    // seconds, the largest magnitude 1.
    std::vector<double> value;
    double interval = 0.0;
    // How many samples after time 0 the sea floor's own arrival lasts (until
    // it falls below a tenth of its peak): every trace cut at the sea floor
    // shares that arrival, so it proves nothing about the core.
    std::size_t seaFloorSamples = 0;
};

// The chirp parameters as the engine takes them, from the chirp window's
// start frequency, end frequency and sampling interval texts (refused as
// "Calc. Synthetic" refuses them).
MathFun::SyntheticParameters synthesisParameters(std::string_view startText,
                                                 std::string_view endText,
                                                 std::string_view intervalText);

// Recomputes the synthetic of a log with every velocity multiplied by a
// factor. The engine's chain of convolutions is linear up to the envelope,
// so the wavelet and the inverse filter are combined once, and every
// convolution runs through the Fourier transform: the same series as the
// engine's direct sums to rounding, at a small part of their cost, which a
// search over a hundred factors needs. Safe to call from several threads
// once made.
class TieSynthesiser {
public:
    // Throws QuarvelError when the log, the wavelet or the parameters are
    // refused, as "Calc. Synthetic" refuses them.
    TieSynthesiser(MathFun::SyntheticLog log, const MathFun::SyntheticWavelet& wavelet,
                   const MathFun::SyntheticParameters& parameters);

    // An empty synthetic where the factor makes the log too long for the
    // engine's series or its rows fall on one time.
    TieSynthetic operator()(double factor) const;

    // The log's mean velocity, its thickness over its one-way time (m/s).
    double meanVelocity() const;
    double interval() const { return interval_; }
    double centreFrequency() const { return centreFrequency_; }

private:
    MathFun::SyntheticLog log_;
    double interval_ = 0.0;
    double centreFrequency_ = 0.0;
    std::vector<double> sharpenedWavelet_; // the wavelet through the inverse filter
};

} // namespace quarvel::tie
