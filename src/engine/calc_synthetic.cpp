#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "engine/parameter_texts.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <cmath>
#include <numbers>
#include <string>
#include <utility>
#include <vector>

namespace quarvel::MathFun {
namespace {

// The engine's series, allocated on the first run and kept for the program's
// lifetime, so that a run allocates none.
struct EngineSeries {
    Series DepthSeries, VelocitySeries, DensitySeries, OneWayTime, TwoWayTime;
    Series TimeGrid, VelocityAbove, VelocityBelow, DensityAbove, DensityBelow, Reflectivity;
    Series Wavelet, Spike, InverseFilter, DivisionRemainder;
    Series Correlated, Deconvolved, HilbertKernel, Quadrature, Envelope, LowPassKernel, Synthetic;
};

EngineSeries& storage() {
    static EngineSeries series;
    return series;
}

std::string integerText(long long n) {
    return numbers::formatInteger(n);
}

// Travel times to each log row; each interval takes the velocity of its
// lower row, the span above the first row the first row's velocity.
void travelTimes(EngineSeries& s, int n) {
    s.OneWayTime[1] = s.DepthSeries[1] / s.VelocitySeries[1];
    for (int i = 2; i <= n; ++i) {
        s.OneWayTime[i] =
            s.OneWayTime[i - 1] + (s.DepthSeries[i] - s.DepthSeries[i - 1]) / s.VelocitySeries[i];
    }
    for (int i = 1; i <= n; ++i) {
        s.TwoWayTime[i] = 2 * s.OneWayTime[i];
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
int timeGrid(EngineSeries& s, int n, double dt) {
    int k = 0;
    for (double u = 0.0; u < s.TwoWayTime[n]; u = u + dt) {
        if (k == SeriesCapacity) {
            throw QuarvelError("The log spans more than " + integerText(SeriesCapacity) +
                               " samples of two-way time at this Sampling Interval; the "
                               "engine's series cannot hold them. Use a larger Sampling "
                               "Interval or a shorter log.");
        }
        ++k;
        s.TimeGrid[k] = u;
    }
    if (k == 0) {
        throw QuarvelError("The log ends at or above the core top (the two-way time of its "
                           "last row is not above 0), so there is no synthetic to compute.");
    }
    return k;
}

// Velocity and density half a step above and below each grid time, on the
// straight line of the log segment the grid time falls in (the first segment
// extended above the first row), then the reflection coefficients.
void reflectivity(EngineSeries& s, int k, double dt) {
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

std::string reflectivityText(const EngineSeries& s, int k) {
    double rMax = s.Reflectivity[1];
    for (int i = 2; i <= k; ++i) {
        if (s.Reflectivity[i] > rMax) {
            rMax = s.Reflectivity[i];
        }
    }
    TextBuilder text;
    std::string line;
    for (int i = 1; i <= k; ++i) {
        line = numbers::formatE23(s.TimeGrid[i]);
        line += ' ';
        line += numbers::formatE23(rMax != 0.0 ? s.Reflectivity[i] / rMax : 0.0);
        text.line(line);
    }
    return text.text();
}

void requireFinite(const Series& series, int n) {
    for (int i = 1; i <= n; ++i) {
        if (!std::isfinite(series[i])) {
            throw QuarvelError("The synthetic exceeds the range of numbers. Check the values "
                               "in log.dat and klauder.dat.");
        }
    }
}

std::string seriesText(int n, const Series& series, double timeLimit) {
    requireFinite(series, n);
    TextBuilder text;
    WriteSeries(text, n, series, timeLimit);
    return text.text();
}

} // namespace

SyntheticCounts CalcSynthetic(const WorkDir& workDir, std::string_view startText,
                              std::string_view endText, std::string_view intervalText) {
    const double f1 = requireNumber(startText, StartFrequencyField);
    const double f2 = requireNumber(endText, EndFrequencyField);
    const double dt = requireAboveZero(intervalText, SamplingIntervalField);
    EngineSeries& s = storage();
    const int n = engine::readLog(workDir, s.DepthSeries, s.VelocitySeries, s.DensitySeries);
    const int m = engine::readWavelet(workDir, s.Wavelet);
    if (s.Wavelet[1] + StabilisationTerm == 0.0) {
        throw QuarvelError("The first sample of the Klauder wavelet in klauder.dat is -0.1, "
                           "which leaves the inverse filter nothing to divide by. Press GO in "
                           "the chirp window to generate the wavelet again.");
    }
    for (int i = 1; i <= n; ++i) {
        s.DensitySeries[i] = s.DensitySeries[i] * DensityScale;
    }
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
                           ". Use a larger Sampling Interval or a shorter log.");
    }
    reflectivity(s, k, dt);

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

    Convolve(m, s.Wavelet, k, s.Reflectivity, nx, s.Correlated);
    Convolve(DeconvolutionTaps, s.InverseFilter, nx, s.Correlated, nd, s.Deconvolved);

    // Envelope through a one-sided Hilbert kernel; only the first nd outputs
    // of the quadrature are used, so only they are computed.
    s.HilbertKernel[1] = 0.0;
    double x = 0.0;
    for (int i = 2; i <= nd; ++i) {
        x = x + dt;
        s.HilbertKernel[i] = 1 / (std::numbers::pi * x);
    }
    Convolve(nd, s.HilbertKernel, nd, s.Deconvolved, nd, s.Quadrature);
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
    Convolve(nd, s.Envelope, l, s.LowPassKernel, ny, s.Synthetic);

    SampleInterval = dt;
    const double timeLimit = s.TimeGrid[k];
    std::string texts[] = {reflectivityText(s, k), seriesText(nx, s.Correlated, timeLimit),
                           seriesText(nd, s.Deconvolved, timeLimit),
                           seriesText(nd, s.Envelope, timeLimit),
                           seriesText(ny, s.Synthetic, timeLimit)};
    std::vector<PendingFile> files;
    for (std::size_t i = 0; i < SyntheticFileNames.size(); ++i) {
        files.push_back({workDir.file(SyntheticFileNames[i]), std::move(texts[i])});
    }
    writeTextFiles(files);
    return {n, k, m, nx, nd, l, ny};
}

} // namespace quarvel::MathFun
