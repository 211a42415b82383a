#pragma once

#include <complex>
#include <cstddef>
#include <span>
#include <vector>

// A discrete Fourier transform of our own, for the places where only the
// shape of a long convolution matters, not its last bits.
namespace quarvel::kernels {

// In-place radix-2 transform; the size must be a power of two. inverse
// selects the inverse transform, which also divides by the size.
void fft(std::span<std::complex<double>> data, bool inverse);

// The full linear convolution of a and b (a.size() + b.size() - 1 samples)
// through the transform; it agrees with the direct sum to rounding, about
// 1e-15 of the largest output.
std::vector<double> fftConvolve(std::span<const double> a, std::span<const double> b);

// The doubles of working space fftConvolve needs for series of na and nb
// samples: twice its transform size.
std::size_t fftConvolveWork(std::size_t na, std::size_t nb);

// fftConvolve in the caller's working space, of at least fftConvolveWork
// doubles (std::length_error otherwise), instead of memory of its own; the
// result lies at the start of the working space.
std::span<const double> fftConvolve(std::span<const double> a, std::span<const double> b,
                                    std::span<double> work);

} // namespace quarvel::kernels
