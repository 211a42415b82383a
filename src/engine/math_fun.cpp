#include "engine/math_fun.h"

#include "engine/series_kernels.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace quarvel::MathFun {
namespace {

void checkLength(int n, const char* what) {
    if (n < 0 || n > SeriesCapacity) {
        throw QuarvelError(std::string("Series length out of range (") + what + " = " +
                               numbers::formatInteger(n) + "; at most " +
                               numbers::formatInteger(SeriesCapacity) + ").",
                           ErrorKind::Capacity);
    }
}

// The first n samples of s, copied when s is also an output of the call.
const double* inputSamples(const Series& s, int n, bool alsoOutput, std::vector<double>& copy) {
    if (!alsoOutput) {
        return s.samples();
    }
    copy.assign(s.samples(), s.samples() + n);
    return copy.data();
}

} // namespace

void Convolve(int na, const Series& a, int nb, const Series& b, int nOut, Series& out,
              const kernels::KernelOptions& options) {
    checkLength(na, "first length");
    checkLength(nb, "second length");
    checkLength(nOut, "output length");
    std::vector<double> aCopy;
    std::vector<double> bCopy;
    const double* ap = inputSamples(a, na, &a == &out, aCopy);
    const double* bp = inputSamples(b, nb, &b == &out, bCopy);
    const int computed = na == 0 || nb == 0 ? 0 : std::min(nOut, na + nb - 1);
    std::fill(out.samples() + computed, out.samples() + nOut, 0.0);
    double* outp = out.samples();
    const bool avx2 = options.avx2;
    kernels::runInBlocks(
        computed, options,
        [na, nb](int k) {
            return static_cast<long long>(std::min(na - 1, k) - std::max(0, k - nb + 1) + 1);
        },
        [=](int first, int last) {
            kernels::convolveRange(ap, na, bp, nb, outp, first, last, avx2);
        });
}

void Deconvolve(const Series& a, int n, const Series& b, int m, Series& q, Series& r) {
    checkLength(n, "dividend length");
    checkLength(m, "divisor length");
    // The remainder starts as a copy of a, so a may be q or r; the divisor
    // is read throughout and is copied when it is one of them.
    std::vector<double> bSamples;
    const double* bp = inputSamples(b, m, &b == &q || &b == &r, bSamples) - 1;
    for (int k = 1; k <= n; ++k) {
        r[k] = a[k];
        q[k] = 0.0;
    }
    if (n < m) {
        return;
    }
    const double divisor = bp[1] + StabilisationTerm;
    if (divisor == 0.0) {
        throw QuarvelError(std::string(msg::DivisionByZero));
    }
    for (int k = 1; k <= n - m + 1; ++k) {
        const double quotient = r[k] / divisor;
        q[k] = quotient;
        for (int j = k + 1; j <= k + m - 1; ++j) {
            r[j] = r[j] - quotient * bp[j - k + 1];
        }
    }
    for (int k = m; k <= n; ++k) {
        r[k] = 0.0;
    }
}

namespace {

double largestMagnitude(std::span<const double> samples) {
    double sMax = 0.0;
    for (const double v : samples) {
        if (std::fabs(v) > sMax) {
            sMax = std::fabs(v);
        }
    }
    return sMax;
}

} // namespace

std::size_t StrongestSample(std::span<const double> samples) {
    checkLength(static_cast<int>(samples.size()), "series length");
    const double sMax = largestMagnitude(samples);
    std::size_t p = 0;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        // The normalised value is compared, as the file shows it.
        if (sMax != 0.0 && std::fabs(samples[i] / sMax) == 1.0) {
            p = i;
        }
    }
    return p;
}

SeriesRows SeriesRowsFrom(std::span<const double> samples, std::size_t first, double sampleInterval,
                          double timeLimit) {
    checkLength(static_cast<int>(samples.size()), "series length");
    const double sMax = largestMagnitude(samples);
    SeriesRows rows;
    for (std::size_t i = first, h = 1; i < samples.size(); ++i, ++h) {
        const double time = static_cast<double>(h - 1) * sampleInterval;
        if (!(time < timeLimit)) {
            break;
        }
        rows.time.push_back(time);
        rows.value.push_back(sMax != 0.0 ? samples[i] / sMax : 0.0);
    }
    return rows;
}

void WriteSeries(TextBuilder& file, std::span<const double> samples, double sampleInterval,
                 double timeLimit) {
    WriteSeriesFrom(file, samples, StrongestSample(samples), sampleInterval, timeLimit);
}

void WriteSeriesFrom(TextBuilder& file, std::span<const double> samples, std::size_t first,
                     double sampleInterval, double timeLimit) {
    checkLength(static_cast<int>(samples.size()), "series length");
    const double sMax = largestMagnitude(samples);
    // The same rows as SeriesRowsFrom, formatted straight into the file's
    // text: 23 + 1 + 23 characters and CR LF per line, for no more rows than
    // the time limit lets through.
    std::size_t rows = samples.size() - std::min(first, samples.size());
    if (sampleInterval > 0.0 && timeLimit / sampleInterval < static_cast<double>(rows)) {
        rows = timeLimit > 0.0 ? static_cast<std::size_t>(timeLimit / sampleInterval) + 2 : 0;
    }
    file.reserveMore(rows * 49);
    for (std::size_t i = first, h = 1; i < samples.size(); ++i, ++h) {
        const double time = static_cast<double>(h - 1) * sampleInterval;
        if (!(time < timeLimit)) {
            break;
        }
        file.lineE23(time, sMax != 0.0 ? samples[i] / sMax : 0.0);
    }
}

} // namespace quarvel::MathFun
