#pragma once

#include "engine/synthetic.h"
#include "tie/tie_match.h"
#include "tie/tie_series.h"

#include <string_view>

// The engine as the tie's synthesiser: the synthetic recomputed in memory
// with every velocity of the log scaled, as "Calc. Synthetic" would write it.
namespace quarvel::tie {

// The synthetic stage as ampl.dat holds it for that time zero: the rows
// WriteSeries writes, in seconds.
TimeSeries writtenSynthetic(const MathFun::SyntheticSeries& series, MathFun::TimeZero timeZero);

// The chirp parameters as the engine takes them, from the chirp window's
// start frequency, end frequency and sampling interval texts (refused as
// "Calc. Synthetic" refuses them).
MathFun::SyntheticParameters synthesisParameters(std::string_view startText,
                                                 std::string_view endText,
                                                 std::string_view intervalText);

// Recomputes the synthetic of the log, its velocities multiplied by the
// factor, on an engine of its own (so it may run on a worker thread). A
// factor the engine refuses (the log grown beyond the series at that
// factor) gives an empty series, which the factor scan passes over.
Synthesiser engineSynthesiser(MathFun::SyntheticLog log, MathFun::SyntheticWavelet wavelet,
                              MathFun::SyntheticParameters parameters, MathFun::TimeZero timeZero);

} // namespace quarvel::tie
