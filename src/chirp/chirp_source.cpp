#include "chirp/chirp_source.h"

#include "engine/math_fun.h"
#include "engine/parameter_texts.h"
#include "engine/series_kernels.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <vector>

namespace quarvel {
namespace {

// The sweep's series for one GO (their pages are touched only as far as the
// sweep reaches).
struct ChirpSeries {
    Series time;  // t_i, s
    Series sweep; // s_i
    Series lags;  // r_k, the autocorrelation at a lag of k - 1 samples
};

// The first n samples of s, copied when s is also the output of the call.
const double* inputSamples(const Series& s, int n, bool alsoOutput, std::vector<double>& copy) {
    if (!alsoOutput) {
        return s.samples();
    }
    copy.assign(s.samples(), s.samples() + n);
    return copy.data();
}

// Wavelet lags are kept up to this time.
constexpr double WaveletHalfWidth = 0.001;

} // namespace

ChirpParameters checkChirpParameters(const ChirpTexts& texts) {
    ChirpParameters p;
    p.width = requireAboveZero(texts.width, SignalWidthField);
    p.start = requireNumber(texts.start, StartFrequencyField);
    p.end = requireNumber(texts.end, EndFrequencyField);
    p.interval = requireAboveZero(texts.interval, SamplingIntervalField);
    requireSweepFrequencies({p.start, p.end, p.interval, texts.start, texts.end, texts.interval});
    // Sample times are accumulated, never multiplied: the last one is the
    // first sum to pass the width.
    for (double t = 0.0; t <= p.width; t = t + p.interval) {
        if (p.sampleCount == MaxSweepSamples) {
            const std::string most = numbers::formatInteger(MaxSweepSamples);
            throw QuarvelError(formatMessage(msg::TooManySweepSamples, {most, most}),
                               ErrorKind::Capacity);
        }
        ++p.sampleCount;
    }
    return p;
}

std::optional<std::string> chirpParameterProblem(const ChirpTexts& texts) {
    try {
        checkChirpParameters(texts);
        return std::nullopt;
    } catch (const QuarvelError& error) {
        return std::string(error.what());
    }
}

void ChirpSource(const ChirpTexts& texts, const WorkDir& workDir,
                 const kernels::KernelOptions& options) {
    const ChirpParameters p = checkChirpParameters(texts);
    ChirpSeries s;
    const int n = p.sampleCount;
    const double width = p.width;
    const double rate = (p.end - p.start) / width;
    constexpr double pi = std::numbers::pi;

    TextBuilder chirp;
    chirp.reserveMore(static_cast<std::size_t>(n) * 49);
    double t = 0.0;
    for (int i = 1; i <= n; ++i) {
        t = t + p.interval;
        s.time[i] = t;
        // Four-term Blackman-Harris window centred on half the width.
        const double u = t - width / 2;
        double w = 0.359 + 0.488 * std::cos(2 * pi * u / width);
        w = w + 0.141 * std::cos(4 * pi * u / width);
        w = w + 0.012 * std::cos(6 * pi * u / width);
        // The instantaneous frequency start + rate * t runs from the start
        // frequency to the end frequency over the width.
        const double phase = 2 * pi * (p.start + rate * t / 2) * t;
        s.sweep[i] = w * std::cos(phase);
        if (!std::isfinite(s.sweep[i])) {
            throw QuarvelError(std::string(msg::SweepOutOfRange));
        }
        chirp.lineE23(t, s.sweep[i]);
    }

    const int lagCount = 2 * n - 1;
    CrossCorrelate(n, n, lagCount, s.sweep, s.sweep, s.lags, options);
    double peak = s.lags[1];
    for (int k = 1; k <= lagCount; ++k) {
        if (s.lags[k] > peak) {
            peak = s.lags[k];
        }
    }
    if (!(peak > 0.0)) {
        throw QuarvelError("The sweep is 0 at every sample, so it has no Klauder wavelet. "
                           "Check the Signal Width and Sampling Interval.");
    }

    // Lags shorter than 1 ms, mirrored about the peak line; each carries the
    // label of the sample time whose index it has.
    int shortLags = 0;
    while (shortLags < n && s.time[shortLags + 1] < WaveletHalfWidth) {
        ++shortLags;
    }
    TextBuilder klauder;
    for (int k = shortLags; k >= 2; --k) {
        klauder.lineE23(-s.time[k], s.lags[k] / peak);
    }
    klauder.lineE23(s.time[1], s.lags[1] / peak);
    for (int k = 2; k <= shortLags; ++k) {
        klauder.lineE23(s.time[k], s.lags[k] / peak);
    }

    // The parameters go with the wavelet, so that a synthetic asked for with
    // other frequencies is refused instead of made from the wrong wavelet.
    TextBuilder sweep;
    for (const std::string* text : {&texts.width, &texts.start, &texts.end, &texts.interval}) {
        sweep.line(*text);
    }
    writeTextFiles({{workDir.file(ChirpFileName), chirp.text()},
                    {workDir.file(MathFun::KlauderFileName), klauder.text()},
                    {workDir.file(MathFun::WaveletSweepFileName), sweep.text()}});
}

void CrossCorrelate(int a, int b, int m, const Series& x, const Series& y, Series& out,
                    const kernels::KernelOptions& options) {
    for (const int length : {a, b, m}) {
        if (length < 0 || length > Series::Capacity) {
            throw QuarvelError("Series length out of range (" + numbers::formatInteger(length) +
                                   "; at most " + numbers::formatInteger(Series::Capacity) + ").",
                               ErrorKind::Capacity);
        }
    }
    // x is read up to index b, y up to index a (beyond b when a > b).
    std::vector<double> xCopy;
    std::vector<double> yCopy;
    const double* xp = inputSamples(x, b, &x == &out, xCopy);
    const double* yp = inputSamples(y, a, &y == &out, yCopy);
    double* outp = out.samples();
    const bool avx2 = options.avx2;
    const int computed = std::min(m, a);
    std::fill(outp + std::max(computed, 0), outp + m, 0.0);
    kernels::runInBlocks(
        computed, options,
        [a, b](int i) { return static_cast<long long>(std::max(0, std::min(b, a - i))); },
        [=](int first, int last) {
            kernels::correlateRange(xp, a, yp, b, outp, first, last, avx2);
        });
}

double CALC_TIME(int x, int graphWidth, std::string_view widthText) {
    const double width = numbers::parseNumber(widthText);
    return static_cast<double>(x - graphWidth / 2) / (static_cast<double>(graphWidth) / width);
}

} // namespace quarvel
