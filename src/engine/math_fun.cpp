#include "engine/math_fun.h"

#include "engine/series_kernels.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <string>
#include <thread>

namespace quarvel::MathFun {
namespace {

// Two threads where the machine has two cores or more; hardware_concurrency
// may say 0 when it cannot tell.
std::atomic<int> threadCount{std::thread::hardware_concurrency() >= 2 ? 2 : 1};

// Private copies of the inputs, allocated once for the program's lifetime.
Series& scratchA() {
    static Series series;
    return series;
}
Series& scratchB() {
    static Series series;
    return series;
}

void checkLength(int n, const char* what) {
    if (n < 0 || n > SeriesCapacity) {
        throw QuarvelError(std::string("Series length out of range (") + what + " = " +
                           numbers::formatInteger(n) + "; at most " +
                           numbers::formatInteger(SeriesCapacity) + ").");
    }
}

void copySamples(const Series& from, int n, Series& to) {
    std::copy(from.samples(), from.samples() + n, to.samples());
}

} // namespace

void SetThreadCount(int threads) {
    threadCount = std::max(1, threads);
}

int ThreadCount() {
    return threadCount;
}

void Convolve(int na, const Series& a, int nb, const Series& b, int nOut, Series& out) {
    checkLength(na, "first length");
    checkLength(nb, "second length");
    checkLength(nOut, "output length");
    Series& aCopy = scratchA();
    Series& bCopy = scratchB();
    copySamples(a, na, aCopy);
    copySamples(b, nb, bCopy);
    const int computed = na == 0 || nb == 0 ? 0 : std::min(nOut, na + nb - 1);
    std::fill(out.samples() + computed, out.samples() + nOut, 0.0);
    const double* ap = aCopy.samples();
    const double* bp = bCopy.samples();
    double* outp = out.samples();
    kernels::runInBlocks(
        computed, ThreadCount(),
        [na, nb](int k) {
            return static_cast<long long>(std::min(na - 1, k) - std::max(0, k - nb + 1) + 1);
        },
        [=](int first, int last) { kernels::convolveRange(ap, na, bp, nb, outp, first, last); });
}

void Deconvolve(const Series& a, int n, const Series& b, int m, Series& q, Series& r) {
    checkLength(n, "dividend length");
    checkLength(m, "divisor length");
    Series& aCopy = scratchA();
    Series& bCopy = scratchB();
    copySamples(a, n, aCopy);
    copySamples(b, m, bCopy);
    for (int k = 1; k <= n; ++k) {
        r[k] = aCopy[k];
        q[k] = 0.0;
    }
    if (n < m) {
        return;
    }
    const double divisor = bCopy[1] + StabilisationTerm;
    if (divisor == 0.0) {
        throw QuarvelError(std::string(msg::DivisionByZero));
    }
    for (int k = 1; k <= n - m + 1; ++k) {
        const double quotient = r[k] / divisor;
        q[k] = quotient;
        for (int j = k + 1; j <= k + m - 1; ++j) {
            r[j] = r[j] - quotient * bCopy[j - k + 1];
        }
    }
    for (int k = m; k <= n; ++k) {
        r[k] = 0.0;
    }
}

void WriteSeries(TextBuilder& file, int n, const Series& s, double timeLimit) {
    checkLength(n, "series length");
    if (n == 0) {
        return;
    }
    double sMax = std::fabs(s[1]);
    for (int i = 2; i <= n; ++i) {
        if (std::fabs(s[i]) > sMax) {
            sMax = std::fabs(s[i]);
        }
    }
    const auto normalised = [&](int i) { return sMax != 0.0 ? s[i] / sMax : 0.0; };
    int p = 1;
    for (int i = 1; i <= n; ++i) {
        if (std::fabs(normalised(i)) == 1.0) {
            p = i;
        }
    }
    std::string line;
    for (int i = p, h = 1; i <= n; ++i, ++h) {
        const double time = (h - 1) * SampleInterval;
        if (!(time < timeLimit)) {
            break;
        }
        line = numbers::formatE23(time);
        line += ' ';
        line += numbers::formatE23(normalised(i));
        file.line(line);
    }
}

} // namespace quarvel::MathFun
