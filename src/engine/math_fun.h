#pragma once

#include "engine/series.h"
#include "formats/text_file.h"
#include "platform/work_dir.h"

#include <array>
#include <string_view>

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
// The files of one run, in the order they are written.
inline constexpr std::array<std::string_view, 5> SyntheticFileNames{
    "refl.dat", "corr.dat", "deconv.dat", "amplnofilt.dat", "ampl.dat"};

// The time step of the rows WriteSeries writes; CalcSynthetic sets it from the
// sampling interval before it writes any series.
inline double SampleInterval = 0.0;

// Threads the convolutions may use (at least 1; 2 unless set, or 1 on a
// single-core machine). The results are the same for every count.
void SetThreadCount(int threads);
int ThreadCount();

// Full linear convolution: out[i + j - 1] = sum of a[i] * b[j], each output
// summed in ascending i. Outputs beyond na + nb - 1 are 0; nOut may be smaller
// than na + nb - 1 when only the first outputs are wanted. The inputs are
// copied first, so out may be one of them.
void Convolve(int na, const Series& a, int nb, const Series& b, int nOut, Series& out);

// Long division of a (n samples) by b (m samples), the divisor's leading
// sample stabilised by StabilisationTerm: quotient q and remainder r, both n
// samples. Throws "Floating point division by zero" when b[1] + 0.1 is 0.
void Deconvolve(const Series& a, int n, const Series& b, int m, Series& q, Series& r);

// Normalises s[1..n] to a largest magnitude of 1 and appends its lines to the
// file from its strongest sample (the last of equal ones) on, at times 0,
// SampleInterval, 2 * SampleInterval, ... while they stay below timeLimit. A
// series of zeros is written from its first sample. s is not changed.
void WriteSeries(TextBuilder& file, int n, const Series& s, double timeLimit);

// The lengths of one run: log rows N, grid samples K, wavelet samples M, the
// correlated, deconvolved, low-pass kernel and synthetic series.
struct SyntheticCounts {
    int logRows = 0;
    int gridCount = 0;
    int waveletCount = 0;
    int correlatedCount = 0;
    int deconvolvedCount = 0;
    int lowPassCount = 0;
    int syntheticCount = 0;
};

// "Calc. Synthetic": reads log.dat and klauder.dat from the working directory
// and the start frequency, end frequency and sampling interval texts of the
// chirp window, and writes the five files of SyntheticFileNames, all of them
// or, when anything is refused or fails, none. Throws QuarvelError with the
// reason.
SyntheticCounts CalcSynthetic(const WorkDir& workDir, std::string_view startText,
                              std::string_view endText, std::string_view intervalText);

} // namespace quarvel::MathFun
