#pragma once

#include <cstdint>
#include <vector>

// Surrogate data for significance tests: series that keep what a trace has
// in common with every trace of its kind (its amplitude spectrum, hence its
// autocorrelation and bandwidth) but not where its events lie.
namespace quarvel::tie {

// A series with the same amplitude spectrum and random Fourier phases
// (uniform, drawn from the seed): the transform of the whole series, of its
// own length, so the spectrum is kept exactly. The same seed gives the same
// series on every machine.
std::vector<double> phaseRandomised(const std::vector<double>& values, std::uint64_t seed);

} // namespace quarvel::tie
