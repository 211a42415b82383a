#pragma once

#include "engine/series_kernels.h"

#include <array>
#include <cstddef>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// The synthetic seismogram computed in memory: from a log and a Klauder
// wavelet to the five stages "Calc. Synthetic" writes, with nothing read from
// or written to a file and no state kept between runs but the series storage.
namespace quarvel::MathFun {

// A core log as the engine takes it: rows of depth (m), P-wave velocity (m/s)
// and density (g/cm3), in the order of log.dat.
struct SyntheticLog {
    std::vector<double> depth;
    std::vector<double> velocity;
    std::vector<double> density;

    int rows() const { return static_cast<int>(depth.size()); }
};

// Refuses a log the synthetic cannot be computed from: fewer than two rows,
// columns of different lengths, more rows than a series holds, depths that do
// not increase strictly, velocities or densities not above 0. `name` is how the messages
// call the log (the path of log.dat when it was read from there).
void checkSyntheticLog(const SyntheticLog& log, std::string_view name);

// The amplitudes of a Klauder wavelet, one per lag, in the order of
// klauder.dat (without the 0 the engine closes it with).
struct SyntheticWavelet {
    std::vector<double> amplitudes;
};

struct SyntheticParameters {
    double startFrequency = 0.0;   // Hz
    double endFrequency = 0.0;     // Hz
    double samplingInterval = 0.0; // s, above 0
    // The impedance averaged over each sample's time cell instead of read
    // at single times: no aliasing of beds thinner than a sample.
    bool antiAliased = false;
    kernels::KernelOptions kernels;
};

// How far the synthetic's strongest sample lies from its sea-floor sample;
// positive when it comes later (below the sea floor). Far when that is more
// than a quarter of the wavelet's length (M / 4 samples): the synthetic's
// time 0 is then an arrival from below the sea floor.
struct TimeZeroOffset {
    long long samples = 0;
    double ms = 0.0;
    bool far = false;
};
// The lengths of one run: log rows N, grid samples K, wavelet samples M, the
// correlated, deconvolved, low-pass kernel and synthetic series; and where
// its strongest sample lies against the sea floor's.
struct SyntheticCounts {
    int logRows = 0;
    int gridCount = 0;
    int waveletCount = 0;
    int correlatedCount = 0;
    int deconvolvedCount = 0;
    int lowPassCount = 0;
    int syntheticCount = 0;
    TimeZeroOffset timeZero;
    double rowStep = 0.0; // s: the smallest two-way time between neighbouring rows
};

// Everything a run computes that its files show, as computed (not yet
// normalised), seen where the samples lie: in an engine's series (valid until
// that engine runs again or goes) or in a SyntheticSeries.
struct SyntheticSamples {
    SyntheticCounts counts;
    double samplingInterval = 0.0;
    std::span<const double> gridTimes;
    std::span<const double> reflectivity;
    std::span<const double> correlated;
    std::span<const double> deconvolved;
    std::span<const double> envelope;
    std::span<const double> synthetic;
    std::array<std::size_t, 4> seaFloorSample{}; // as in SyntheticSeries

    double timeLimit() const { return gridTimes.back(); }
};

// Everything a run computes that its files show, as computed (not yet
// normalised). Each stage is written from time 0 at the sampling interval
// while its times stay below the last grid time.
struct SyntheticSeries {
    SyntheticCounts counts;
    double samplingInterval = 0.0;
    std::vector<double> gridTimes;    // K two-way times, s
    std::vector<double> reflectivity; // K reflection coefficients
    std::vector<double> correlated;   // reflectivity convolved with the wavelet
    std::vector<double> deconvolved;  // sharpened by the inverse filter
    std::vector<double> envelope;     // of the deconvolved series
    std::vector<double> synthetic;    // the envelope low-passed: the synthetic
    // Per stage (correlated, deconvolved, envelope, synthetic), the index
    // (from 0) of the sea floor's arrival: the strongest sample of the same
    // chain run on a reflectivity of 1 at the first grid sample and 0
    // elsewhere.
    std::array<std::size_t, 4> seaFloorSample{};

    double timeLimit() const { return gridTimes.back(); }

    // The samples above, where they lie.
    SyntheticSamples samples() const;
};

// Where each stage file starts: at the stage's strongest sample (which the
// sea floor usually gives) or at its sea-floor sample.
enum class TimeZero { Strongest, SeaFloor };

// The offset of a computed run (also in its counts).
TimeZeroOffset timeZeroOffset(const SyntheticSamples& samples);
TimeZeroOffset timeZeroOffset(const SyntheticSeries& series);

// The warning for a far offset, naming it in ms; the caller adds how to
// anchor the synthetic at the sea floor.
std::string timeZeroWarning(const TimeZeroOffset& offset);

// The warning when the sampling interval is longer than half the smallest
// two-way time between rows (s): an interface then jumps from one sample to
// the next as velocities change a little, and beds thinner than a sample come
// and go. Empty when the interval is short enough or the impedance is
// averaged over each sample's cell.
std::string aliasingWarning(double rowStep, double interval, bool antiAliased);

// The engine: owns its series, allocated once when it is made (pages a run
// does not reach are never touched) and reused by every run. One engine runs
// one computation at a time; engines on different threads share nothing.
class Engine {
public:
    Engine();
    ~Engine();
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // Computes the synthetic. Throws QuarvelError, naming the rule, when the
    // log or the wavelet is refused, when the series cannot hold the run at
    // this interval or when a result leaves the range of numbers.
    SyntheticSeries computeSynthetic(const SyntheticLog& log, const SyntheticWavelet& wavelet,
                                     const SyntheticParameters& parameters);

    // The same computation, its results left in the engine's series instead
    // of copied out (valid until the engine runs again or goes): for a
    // caller that only writes them out.
    SyntheticSamples computeInPlace(const SyntheticLog& log, const SyntheticWavelet& wavelet,
                                    const SyntheticParameters& parameters);

    // The series of one run (defined with the computation).
    struct Buffers;

private:
    std::unique_ptr<Buffers> buffers_;
};

// One computation on an engine of its own.
SyntheticSeries computeSynthetic(const SyntheticLog& log, const SyntheticWavelet& wavelet,
                                 const SyntheticParameters& parameters);

} // namespace quarvel::MathFun
