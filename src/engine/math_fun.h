#pragma once

#include "engine/series.h"
#include "engine/series_kernels.h"
#include "formats/text_file.h"

#include <array>
#include <span>
#include <string_view>
#include <vector>

// The synthetic seismogram engine: its constants, its signal kernels, its
// series writer and the computation itself.
namespace quarvel::MathFun {

inline constexpr double WaterVelocity = 1500.0; // m/s, sea water above the core top
inline constexpr double WaterDensity = 1025.0;  // kg/m3
inline constexpr double WaterImpedance = 1537500.0;
inline constexpr double DensityScale = 1000.0; // log densities are in g/cm3
inline constexpr int DeconvolutionTaps = 50;
// Added to the divisor's leading sample in Deconvolve.
inline constexpr double StabilisationTerm = 0.1;
inline constexpr int SeriesCapacity = Series::Capacity;

inline constexpr std::string_view LogFileName = "log.dat";
inline constexpr std::string_view KlauderFileName = "klauder.dat";
// The chirp parameters klauder.dat was made with, as a chirp signal file.
inline constexpr std::string_view WaveletSweepFileName = "klauder.sig";
// The files of one run, in the order they are written.
inline constexpr std::array<std::string_view, 5> SyntheticFileNames{
    "refl.dat", "corr.dat", "deconv.dat", "amplnofilt.dat", "ampl.dat"};

// Full linear convolution: out[i + j - 1] = sum of a[i] * b[j], each output
// summed in ascending i. Outputs beyond na + nb - 1 are 0; nOut may be smaller
// than na + nb - 1 when only the first outputs are wanted. out may be one of
// the inputs (that input is then copied first).
void Convolve(int na, const Series& a, int nb, const Series& b, int nOut, Series& out,
              const kernels::KernelOptions& options = {});

// Long division of a (n samples) by b (m samples), the divisor's leading
// sample stabilised by StabilisationTerm: quotient q and remainder r, both n
// samples. Throws "Floating point division by zero" when b[1] + 0.1 is 0.
void Deconvolve(const Series& a, int n, const Series& b, int m, Series& q, Series& r);

// The index (from 0) of the strongest sample: the largest magnitude, the
// last of equal ones; 0 for a series of zeros.
std::size_t StrongestSample(std::span<const double> samples);

// The rows WriteSeries writes from sample `first` (from 0) on: the samples
// normalised to a largest magnitude of 1 (a series of zeros stays 0), at
// times 0, sampleInterval, 2 * sampleInterval, ... while they stay below
// timeLimit.
struct SeriesRows {
    std::vector<double> time;
    std::vector<double> value;
};
SeriesRows SeriesRowsFrom(std::span<const double> samples, std::size_t first, double sampleInterval,
                          double timeLimit);

// Appends the rows of SeriesRowsFrom to the file, one line each, from the
// strongest sample or from the sample given.
void WriteSeries(TextBuilder& file, std::span<const double> samples, double sampleInterval,
                 double timeLimit);
void WriteSeriesFrom(TextBuilder& file, std::span<const double> samples, std::size_t first,
                     double sampleInterval, double timeLimit);

} // namespace quarvel::MathFun
