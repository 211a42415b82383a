#pragma once

#include <functional>

// The direct sums behind the convolution and the cross-correlation, fast and
// exact: every output is summed on its own, starting from 0 and adding its
// terms in ascending order of the first series' index, whatever the machine,
// the vector width or the number of threads. Series here are plain 0-based
// arrays; the 1-based routines of MathFun and the chirp source call these.
namespace quarvel::kernels {

// Two threads where the machine has two cores or more, otherwise one.
int defaultThreadCount();

// Below this many multiply-adds a job runs on one thread: starting a second
// costs tens of microseconds and, when the other core is busy, the wait for
// it can cost more than the job.
inline constexpr long long ThreadingThreshold = 4'000'000;

// The threshold for a process that makes one computation and ends, as
// quarvel-synth does: the first thread a process starts costs some 0.4 ms
// more (its stack and its memory arena are fresh memory), the time of about
// 6 million multiply-adds, so sharing pays only for jobs well above that.
inline constexpr long long OneRunThreadingThreshold = 16'000'000;

// How a computation may run its kernels. Every choice gives the same bits:
// threads only share out whole outputs, and the kernels use AVX2 where the
// processor has it and avx2 is true, SSE2 otherwise (false lets tests compare
// the two on any machine).
struct KernelOptions {
    int threads = defaultThreadCount(); // at least 1
    bool avx2 = true;
    // Jobs of fewer multiply-adds run on one thread.
    long long threadingThreshold = ThreadingThreshold;
};

// out[k] = sum over i ascending of a[i] * b[k - i], for 0 <= i < na and
// 0 <= k - i < nb, for every k in [first, last).
void convolveRange(const double* a, int na, const double* b, int nb, double* out, int first,
                   int last, bool avx2);

// out[i] = sum over j ascending of x[j] * y[i + j], for 0 <= j < ny and
// j < nx - i, for every i in [first, last). y must hold nx samples.
void correlateRange(const double* x, int nx, const double* y, int ny, double* out, int first,
                    int last, bool avx2);

// Runs body(first, last) over consecutive blocks covering [0, count), one
// block per thread of the options (the first on the calling thread), the
// blocks cut so that each holds about the same total of work(k). Jobs below
// the options' threading threshold run on one thread.
void runInBlocks(int count, const KernelOptions& options, const std::function<long long(int)>& work,
                 const std::function<void(int, int)>& body);

} // namespace quarvel::kernels
