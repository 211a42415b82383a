#pragma once

#include "engine/series.h"
#include "engine/series_kernels.h"
#include "platform/work_dir.h"

#include <optional>
#include <string>
#include <string_view>

// The chirp source: a windowed linear sweep from the four chirp parameters,
// written to "chirp.dat", and its autocorrelation, the Klauder wavelet,
// written mirrored to "klauder.dat".
namespace quarvel {

// The texts of the chirp window's four fields (peredit, stfreqedit,
// edfreqedit, samedit), with their defaults.
struct ChirpTexts {
    std::string width = "0.01";       // s
    std::string start = "2000";       // Hz
    std::string end = "7000";         // Hz
    std::string interval = "0.00001"; // s
};

inline constexpr std::string_view ChirpFileName = "chirp.dat";

// The autocorrelation's 2n - 1 lags must fit a series.
inline constexpr int MaxSweepSamples = 32000;

namespace msg {
inline constexpr std::string_view TooManySweepSamples =
    "The sweep would need more than %s samples (Signal Width divided by Sampling Interval); "
    "at most %s fit. Use a larger Sampling Interval or a smaller Signal Width.";
inline constexpr std::string_view SweepOutOfRange =
    "The sweep cannot be computed from these parameters: its values leave the range of "
    "numbers. Check the Signal Width, the Start and End Frequency and the Sampling Interval.";
} // namespace msg

struct ChirpParameters {
    double width = 0.0;
    double start = 0.0;
    double end = 0.0;
    double interval = 0.0;
    int sampleCount = 0; // sweep samples n
};

// Converts the four texts and checks that a sweep can be made from them: the
// width and the interval are numbers above 0, the frequencies are numbers
// from 0 up to the Nyquist frequency and not both 0, and the sweep has at
// most MaxSweepSamples samples. Throws QuarvelError naming the field and the
// rule.
ChirpParameters checkChirpParameters(const ChirpTexts& texts);

// The message checkChirpParameters would throw, or nothing when the texts
// make a sweep.
std::optional<std::string> chirpParameterProblem(const ChirpTexts& texts);

// GO: computes the sweep and the wavelet and writes "chirp.dat",
// "klauder.dat" and the four texts it was made with ("klauder.sig") into the
// working directory, all three or, when the parameters are refused or a file
// cannot be written, none.
void ChirpSource(const ChirpTexts& texts, const WorkDir& workDir,
                 const kernels::KernelOptions& options = {});

// out[i] = sum over j = 1 .. min(b, a - i + 1) of x[j] * y[i + j - 1], for
// i = 1 .. m (0 where the range is empty), each summed in ascending j. out
// may be one of the inputs (that input is then copied first).
void CrossCorrelate(int a, int b, int m, const Series& x, const Series& y, Series& out,
                    const kernels::KernelOptions& options = {});

// The time in seconds at pixel column x of a chirp graph graphWidth pixels
// wide: (x - graphWidth div 2) / (graphWidth / T), T the signal width text
// converted as a plain number.
double CALC_TIME(int x, int graphWidth, std::string_view widthText);

} // namespace quarvel
