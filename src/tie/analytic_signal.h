#pragma once

#include <vector>

namespace quarvel::tie {

// The envelope of a full waveform: |x + i H(x)| for every sample, H the
// Hilbert transform, through a Fourier transform. The series is padded with
// zeros to twice the next power of two, so the ends do not wrap round onto
// each other.
std::vector<double> envelope(const std::vector<double>& values);

} // namespace quarvel::tie
