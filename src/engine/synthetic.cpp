#include "engine/synthetic.h"

#include "engine/fft.h"
#include "engine/impedance.h"
#include "engine/math_fun.h"
#include "engine/series.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <numbers>
#include <string>

namespace quarvel::MathFun {

// The series of one run, indexed from 1 as the arithmetic is written.
// All in one block: one allocation and one release instead of one each.
struct Engine::Buffers {
    SeriesBlock block{27};
    Series DepthSeries{block}, VelocitySeries{block}, DensitySeries{block}, TwoWayTime{block};
    Series TimeGrid{block}, VelocityAbove{block}, VelocityBelow{block}, DensityAbove{block},
        DensityBelow{block}, Reflectivity{block};
    Series Wavelet{block}, Spike{block}, InverseFilter{block}, DivisionRemainder{block};
    Series Correlated{block}, Deconvolved{block}, HilbertKernel{block}, Quadrature{block},
        Envelope{block}, LowPassKernel{block}, Synthetic{block};
    // The chain run on the sea floor's reflection alone.
    Series SeaFloorDeconvolved{block}, SeaFloorQuadrature{block}, SeaFloorEnvelope{block};
    // The sea floor's low-pass through the Fourier transform: the transform
    // of two series of up to half a series each fits three slots.
    std::span<double> FftWork = block.take(3);
};

namespace {

std::string integerText(long long n) {
    return numbers::formatInteger(n);
}

std::span<double> samplesOf(Series& series, int n) {
    return {series.samples(), static_cast<std::size_t>(n)};
}

// Travel times to each log row.
void travelTimes(Engine::Buffers& s, int n) {
    RowTwoWayTimes(samplesOf(s.DepthSeries, n), samplesOf(s.VelocitySeries, n),
                   samplesOf(s.TwoWayTime, n));
    for (int i = 1; i <= n; ++i) {
        // Rows too close for their times to differ would make the
        // interpolation divide by zero.
        if (i > 1 && !(s.TwoWayTime[i] > s.TwoWayTime[i - 1])) {
            throw QuarvelError("Rows " + integerText(i - 1) + " and " + integerText(i) +
                               " of log.dat lie at the same two-way time; their depths are "
                               "too close together for the sampling.");
        }
    }
}

// The regular grid 0, dt, 2 dt, ... (accumulated) below the last row's time.
int timeGrid(Engine::Buffers& s, int n, double dt) {
    int k = 0;
    for (double u = 0.0; u < s.TwoWayTime[n]; u = u + dt) {
        if (k == SeriesCapacity) {
            throw QuarvelError("The log spans more than " + integerText(SeriesCapacity) +
                                   " samples of two-way time at this Sampling Interval; the "
                                   "engine's series cannot hold them. Use a larger Sampling "
                                   "Interval or a shorter log.",
                               ErrorKind::Capacity);
        }
        ++k;
        s.TimeGrid[k] = u;
    }
    if (k == 0) {
        throw QuarvelError("The log ends at or above the core top (the two-way time of its "
                           "last row is not above 0), so there is no synthetic to compute.");
    }
    // One sample gives empty files that look like a result.
    if (k == 1) {
        throw QuarvelError(formatMessage(
            "Sampling Interval must be below the two-way time of the log's last row, %s s; it "
            "is %s s.",
            {numbers::formatSignificant(s.TwoWayTime[n], 9), numbers::formatSignificant(dt, 9)}));
    }
    return k;
}

// Velocity and density half a step above and below each grid time, on the
// straight line of the log segment the grid time falls in (the first segment
// extended above the first row), then the reflection coefficients; or the
// impedance averaged over each sample's cells.
void reflectivity(Engine::Buffers& s, int n, int k, double dt, bool antiAliased) {
    if (antiAliased) {
        CellAveragedReflectivity(samplesOf(s.TwoWayTime, n), samplesOf(s.VelocitySeries, n),
                                 samplesOf(s.DensitySeries, n), samplesOf(s.TimeGrid, k), dt,
                                 samplesOf(s.Reflectivity, k));
        return;
    }
    const Series& tw = s.TwoWayTime;
    int j = 1;
    for (int i = 1; i <= k; ++i) {
        const double t = s.TimeGrid[i];
        int seg = 1;
        if (t > tw[1]) {
            while (t > tw[j + 1]) {
                ++j;
            }
            seg = j;
        }
        const auto line = [&](const Series& y, double x) {
            return y[seg] + (x - tw[seg]) * (y[seg + 1] - y[seg]) / (tw[seg + 1] - tw[seg]);
        };
        const double above = t - dt / 2;
        const double below = t + dt / 2;
        s.VelocityAbove[i] = line(s.VelocitySeries, above);
        s.VelocityBelow[i] = line(s.VelocitySeries, below);
        s.DensityAbove[i] = line(s.DensitySeries, above);
        s.DensityBelow[i] = line(s.DensitySeries, below);
        const double zBelow = s.DensityBelow[i] * s.VelocityBelow[i];
        const double zAbove = i == 1 ? WaterImpedance : s.DensityAbove[i] * s.VelocityAbove[i];
        const double r = (zBelow - zAbove) / (zBelow + zAbove);
        if (!std::isfinite(r)) {
            throw QuarvelError("The log gives no reflection coefficient at the two-way time " +
                               numbers::formatFixed(t, 6) +
                               " s: the impedances above and below it add up to 0 or exceed "
                               "the range of numbers. Check the velocities and densities in "
                               "log.dat.");
        }
        s.Reflectivity[i] = r;
    }
}

void requireFinite(const Series& series, int n) {
    for (int i = 1; i <= n; ++i) {
        if (!std::isfinite(series[i])) {
            throw QuarvelError("The synthetic exceeds the range of numbers. Check the values "
                               "in log.dat and klauder.dat.");
        }
    }
}

std::size_t strongest(const Series& series, int n) {
    return StrongestSample(std::span<const double>(series.samples(), static_cast<std::size_t>(n)));
}

// The sea floor's arrival in each stage: the chain run on a reflectivity of
// 1 at the first grid sample and 0 elsewhere. Its correlated series is the
// wavelet followed by zeros, and its deconvolved series is 0 beyond M + 49
// samples, so the products with those zeros are left out: they add exact
// zeros to every sum, and the strongest samples come out as the full chain
// would give them (the low-pass aside, below).
std::array<std::size_t, 4> seaFloorSamples(Engine::Buffers& s, int m, int nx, int nd, int l,
                                           const kernels::KernelOptions& options) {
    // A grid shorter than the wavelet cuts the correlated series short.
    const int correlated = std::min(m, nx);
    const int support = correlated + DeconvolutionTaps - 1;
    Convolve(DeconvolutionTaps, s.InverseFilter, correlated, s.Wavelet, support,
             s.SeaFloorDeconvolved, options);
    for (int i = support + 1; i <= nd; ++i) {
        s.SeaFloorDeconvolved[i] = 0.0;
    }
    Convolve(nd, s.HilbertKernel, support, s.SeaFloorDeconvolved, nd, s.SeaFloorQuadrature,
             options);
    for (int i = 1; i <= nd; ++i) {
        const double d = s.SeaFloorDeconvolved[i];
        const double q = s.SeaFloorQuadrature[i];
        s.SeaFloorEnvelope[i] = std::sqrt(d * d + q * q);
    }
    // Only where the low-passed envelope peaks matters here, so it is
    // convolved through the Fourier transform, at a fraction of the direct
    // sum's cost; its rounding (about 1e-15 of the peak) cannot move a peak
    // whose neighbours differ by far more.
    const std::span<const double> lowPassed = kernels::fftConvolve(
        std::span<const double>(s.SeaFloorEnvelope.samples(), static_cast<std::size_t>(nd)),
        std::span<const double>(s.LowPassKernel.samples(), static_cast<std::size_t>(l)), s.FftWork);
    return {strongest(s.Wavelet, correlated), strongest(s.SeaFloorDeconvolved, nd),
            strongest(s.SeaFloorEnvelope, nd), StrongestSample(lowPassed)};
}

} // namespace

void checkSyntheticLog(const SyntheticLog& log, std::string_view name) {
    const int rows = log.rows();
    if (log.velocity.size() != log.depth.size() || log.density.size() != log.depth.size()) {
        throw QuarvelError(formatMessage("The columns of %s differ in length.", {name}),
                           ErrorKind::InvalidData);
    }
    if (rows > SeriesCapacity) {
        throw QuarvelError(
            formatMessage("\"%s\" holds more than %s rows.", {name, integerText(SeriesCapacity)}),
            ErrorKind::Capacity);
    }
    if (rows < 2) {
        throw QuarvelError(
            formatMessage("\"%s\" holds %s %s; the synthetic needs a log of at least two rows.",
                          {name, integerText(rows), rows == 1 ? "row" : "rows"}),
            ErrorKind::InvalidData);
    }
    for (std::size_t i = 0; i < log.depth.size(); ++i) {
        const std::string row = integerText(static_cast<long long>(i) + 1);
        if (i > 0 && !(log.depth[i] > log.depth[i - 1])) {
            throw QuarvelError(
                formatMessage(
                    "The depths in \"%s\" must increase from row to row: row %s is not deeper "
                    "than row %s.",
                    {name, row, integerText(static_cast<long long>(i))}),
                ErrorKind::InvalidData);
        }
        if (!(log.velocity[i] > 0.0)) {
            throw QuarvelError(
                formatMessage(
                    "Row %s of \"%s\" has a P-wave velocity that is not above 0 (a missing value? "
                    "\"Interpolate Series\" in the data editor fills gaps in a log).",
                    {row, name}),
                ErrorKind::InvalidData);
        }
        // 0 marks a missing density as it marks a missing velocity; it would
        // make a reflection of -1 whose tail swamps the whole synthetic.
        if (!(log.density[i] > 0.0)) {
            throw QuarvelError(
                formatMessage(
                    "Row %s of \"%s\" has a density that is not above 0 (a missing value? "
                    "\"Interpolate Series\" in the data editor fills gaps in a log).",
                    {row, name}),
                ErrorKind::InvalidData);
        }
    }
}

Engine::Engine() : buffers_(std::make_unique<Buffers>()) {}

Engine::~Engine() = default;

SyntheticSamples SyntheticSeries::samples() const {
    return {counts,      samplingInterval, gridTimes, reflectivity,  correlated,
            deconvolved, envelope,         synthetic, seaFloorSample};
}

SyntheticSeries Engine::computeSynthetic(const SyntheticLog& log, const SyntheticWavelet& wavelet,
                                         const SyntheticParameters& parameters) {
    const SyntheticSamples samples = computeInPlace(log, wavelet, parameters);
    const auto copy = [](std::span<const double> series) {
        return std::vector<double>(series.begin(), series.end());
    };
    SyntheticSeries result;
    result.counts = samples.counts;
    result.samplingInterval = samples.samplingInterval;
    result.gridTimes = copy(samples.gridTimes);
    result.reflectivity = copy(samples.reflectivity);
    result.correlated = copy(samples.correlated);
    result.deconvolved = copy(samples.deconvolved);
    result.envelope = copy(samples.envelope);
    result.synthetic = copy(samples.synthetic);
    result.seaFloorSample = samples.seaFloorSample;
    return result;
}

SyntheticSamples Engine::computeInPlace(const SyntheticLog& log, const SyntheticWavelet& wavelet,
                                        const SyntheticParameters& parameters) {
    checkSyntheticLog(log, "the log");
    // Twice the count, the wavelet and its closing 0, must fit a series.
    const int maxWavelet = SeriesCapacity / 2 - 1;
    if (wavelet.amplitudes.empty() || static_cast<int>(wavelet.amplitudes.size()) > maxWavelet) {
        throw QuarvelError("The Klauder wavelet must hold between 1 and " +
                           integerText(maxWavelet) +
                           " samples. Press GO in the chirp window to generate it again.");
    }
    if (!(parameters.samplingInterval > 0.0)) {
        throw QuarvelError("The sampling interval of the synthetic must be above 0.");
    }
    if (wavelet.amplitudes[0] + StabilisationTerm == 0.0) {
        throw QuarvelError("The first sample of the Klauder wavelet in klauder.dat is -0.1, "
                           "which leaves the inverse filter nothing to divide by. Press GO in "
                           "the chirp window to generate the wavelet again.");
    }
    Buffers& s = *buffers_;
    const int n = log.rows();
    for (int i = 1; i <= n; ++i) {
        const auto row = static_cast<std::size_t>(i - 1);
        s.DepthSeries[i] = log.depth[row];
        s.VelocitySeries[i] = log.velocity[row];
        s.DensitySeries[i] = log.density[row] * DensityScale;
    }
    const int m = static_cast<int>(wavelet.amplitudes.size()) + 1;
    std::copy(wavelet.amplitudes.begin(), wavelet.amplitudes.end(), s.Wavelet.samples());
    s.Wavelet[m] = 0.0;
    const double f1 = parameters.startFrequency;
    const double f2 = parameters.endFrequency;
    const double dt = parameters.samplingInterval;
    const kernels::KernelOptions& options = parameters.kernels;
    const double fc = f1 + (f2 - f1) / 2;
    travelTimes(s, n);
    const int k = timeGrid(s, n, dt);
    const int nx = k + m - 1;
    const int nd = nx + DeconvolutionTaps - 1;
    if (2 * nd - 1 > SeriesCapacity) {
        throw QuarvelError("The log and the wavelet together need " + integerText(2 * nd - 1) +
                               " samples of two-way time at this Sampling Interval; the engine's "
                               "series hold " +
                               integerText(SeriesCapacity) +
                               ". Use a larger Sampling Interval or a shorter log.",
                           ErrorKind::Capacity);
    }
    reflectivity(s, n, k, dt, parameters.antiAliased);

    // Inverse filter: a spike divided by the wavelet; its first 50 taps
    // (those beyond the quotient's 2M samples are 0).
    s.Spike[1] = 1.0;
    for (int i = 2; i <= 2 * m; ++i) {
        s.Spike[i] = 0.0;
    }
    Deconvolve(s.Spike, 2 * m, s.Wavelet, m, s.InverseFilter, s.DivisionRemainder);
    for (int i = 2 * m + 1; i <= DeconvolutionTaps; ++i) {
        s.InverseFilter[i] = 0.0;
    }

    Convolve(m, s.Wavelet, k, s.Reflectivity, nx, s.Correlated, options);
    Convolve(DeconvolutionTaps, s.InverseFilter, nx, s.Correlated, nd, s.Deconvolved, options);

    // Envelope through a one-sided Hilbert kernel; only the first nd outputs
    // of the quadrature are used, so only they are computed.
    s.HilbertKernel[1] = 0.0;
    double x = 0.0;
    for (int i = 2; i <= nd; ++i) {
        x = x + dt;
        s.HilbertKernel[i] = 1 / (std::numbers::pi * x);
    }
    Convolve(nd, s.HilbertKernel, nd, s.Deconvolved, nd, s.Quadrature, options);
    for (int i = 1; i <= nd; ++i) {
        const double d = s.Deconvolved[i];
        const double q = s.Quadrature[i];
        s.Envelope[i] = std::sqrt(d * d + q * q);
    }

    // Sinc low-pass at the centre frequency, centred in its window; at its
    // centre it takes its limit 2 fc.
    const double t0 = (nd * dt - dt) / 2;
    const double omega = 2 * std::numbers::pi * fc;
    const double bound = (nd - 1) * dt;
    int l = 0;
    for (double u = 0.0; u <= bound; u = u + dt) {
        ++l;
        const double v = u - t0;
        s.LowPassKernel[l] = v == 0.0 ? 2 * fc : std::sin(omega * v) / (std::numbers::pi * v);
    }
    const int ny = nd + l - 1;
    Convolve(nd, s.Envelope, l, s.LowPassKernel, ny, s.Synthetic, options);

    requireFinite(s.Correlated, nx);
    requireFinite(s.Deconvolved, nd);
    requireFinite(s.Envelope, nd);
    requireFinite(s.Synthetic, ny);

    SyntheticSamples result;
    result.counts = {n, k, m, nx, nd, l, ny, {}, 0.0};
    result.counts.rowStep = s.TwoWayTime[2] - s.TwoWayTime[1];
    for (int i = 3; i <= n; ++i) {
        result.counts.rowStep =
            std::min(result.counts.rowStep, s.TwoWayTime[i] - s.TwoWayTime[i - 1]);
    }
    result.samplingInterval = dt;
    result.gridTimes = samplesOf(s.TimeGrid, k);
    result.reflectivity = samplesOf(s.Reflectivity, k);
    result.correlated = samplesOf(s.Correlated, nx);
    result.deconvolved = samplesOf(s.Deconvolved, nd);
    result.envelope = samplesOf(s.Envelope, nd);
    result.synthetic = samplesOf(s.Synthetic, ny);
    result.seaFloorSample = seaFloorSamples(s, m, nx, nd, l, options);
    result.counts.timeZero = timeZeroOffset(result);
    return result;
}

TimeZeroOffset timeZeroOffset(const SyntheticSeries& series) {
    return timeZeroOffset(series.samples());
}

TimeZeroOffset timeZeroOffset(const SyntheticSamples& series) {
    const auto strongestAt = static_cast<long long>(StrongestSample(series.synthetic));
    TimeZeroOffset offset;
    offset.samples = strongestAt - static_cast<long long>(series.seaFloorSample[3]);
    offset.ms = static_cast<double>(offset.samples) * series.samplingInterval * 1000;
    offset.far = 4 * std::abs(offset.samples) > series.counts.waveletCount;
    return offset;
}

std::string timeZeroWarning(const TimeZeroOffset& offset) {
    const bool below = offset.samples > 0;
    return "Time 0 of the synthetic is an arrival " + numbers::formatFixed(std::abs(offset.ms), 3) +
           " ms " + (below ? "below" : "above") + " the sea floor; events are drawn too " +
           (below ? "shallow." : "deep.");
}

std::string aliasingWarning(double rowStep, double interval, bool antiAliased) {
    if (antiAliased || !(interval > rowStep / 2)) {
        return {};
    }
    // The longest interval of the 1-2-5 series within half the step.
    double suggestion = 1e-9;
    for (double decade = 1e-9; decade < 1; decade *= 10) {
        for (const double mantissa : {1.0, 2.0, 5.0}) {
            if (mantissa * decade <= rowStep / 2) {
                suggestion = mantissa * decade;
            }
        }
    }
    const auto us = [](double seconds) {
        const double value = seconds * 1e6;
        return numbers::formatFixed(
            value, value >= 10 || std::abs(value - std::round(value)) < 0.05 ? 0 : 1);
    };
    return "Rows are " + us(rowStep) + " µs apart in two-way time; " + us(interval) +
           " µs sampling aliases thin beds: use " + us(suggestion) +
           " µs or Anti-aliased impedance.";
}

SyntheticSeries computeSynthetic(const SyntheticLog& log, const SyntheticWavelet& wavelet,
                                 const SyntheticParameters& parameters) {
    Engine engine;
    return engine.computeSynthetic(log, wavelet, parameters);
}

} // namespace quarvel::MathFun
