#include "engine/series_kernels.h"

#include <algorithm>
#include <cstring>
#include <system_error>
#include <thread>
#include <vector>

namespace quarvel::kernels {
namespace {

// GCC vector types: the same source compiles to SSE2 for every x86-64 and to
// AVX2 where the processor has it. Multiplications and additions stay
// separate (no fused multiply-add, -ffp-contract=off), so both give the same
// bits.
using V2 = double __attribute__((vector_size(16)));
using V4 = double __attribute__((vector_size(32)));

// acc[t] += coef[m] * data[m * step + t] for m = 0 .. count - 1 in that
// order, for the Lanes * Vecs outputs t of one tile.
template <typename V, int Lanes, int Vecs>
[[gnu::always_inline]] inline void accumulateTile(const double* coef, int count, const double* data,
                                                  std::ptrdiff_t step, double* acc) {
    V sum[Vecs];
    for (int v = 0; v < Vecs; ++v) {
        std::memcpy(&sum[v], acc + v * Lanes, sizeof(V));
    }
    for (int m = 0; m < count; ++m) {
        V c;
        for (int l = 0; l < Lanes; ++l) {
            c[l] = coef[m];
        }
        const double* d = data + m * step;
        for (int v = 0; v < Vecs; ++v) {
            V x;
            std::memcpy(&x, d + v * Lanes, sizeof(V));
            sum[v] = sum[v] + c * x;
        }
    }
    for (int v = 0; v < Vecs; ++v) {
        std::memcpy(acc + v * Lanes, &sum[v], sizeof(V));
    }
}

struct ConvolveJob {
    const double* a;
    int na;
    const double* b;
    int nb;
    double* out;

    int lo(int k) const { return std::max(0, k - nb + 1); }
    int hi(int k) const { return std::min(na - 1, k); }

    void addTerms(int k, int from, int to, double& acc) const {
        for (int i = from; i <= to; ++i) {
            acc = acc + a[i] * b[k - i];
        }
    }
    void single(int k) const {
        double acc = 0.0;
        addTerms(k, lo(k), hi(k), acc);
        out[k] = acc;
    }
};

// Outputs in tiles: the terms every output of the tile has are summed in
// vector registers; the few terms only some outputs have come before them
// (lower i) or after them (higher i), each in its place in the order.
template <typename V, int Lanes, int Vecs>
[[gnu::always_inline]] inline void convolveTiles(const ConvolveJob& job, int first, int last) {
    constexpr int Tile = Lanes * Vecs;
    int k0 = first;
    for (; k0 + Tile <= last; k0 += Tile) {
        const int commonLo = job.lo(k0 + Tile - 1);
        const int commonHi = job.hi(k0);
        if (commonLo > commonHi) {
            for (int t = 0; t < Tile; ++t) {
                job.single(k0 + t);
            }
            continue;
        }
        double acc[Tile];
        for (int t = 0; t < Tile; ++t) {
            acc[t] = 0.0;
            job.addTerms(k0 + t, job.lo(k0 + t), commonLo - 1, acc[t]);
        }
        accumulateTile<V, Lanes, Vecs>(job.a + commonLo, commonHi - commonLo + 1,
                                       job.b + (k0 - commonLo), -1, acc);
        for (int t = 0; t < Tile; ++t) {
            job.addTerms(k0 + t, commonHi + 1, job.hi(k0 + t), acc[t]);
            job.out[k0 + t] = acc[t];
        }
    }
    for (; k0 < last; ++k0) {
        job.single(k0);
    }
}

struct CorrelateJob {
    const double* x;
    int nx;
    const double* y;
    int ny;
    double* out;

    // One past the last j of output i.
    int end(int i) const { return std::max(0, std::min(ny, nx - i)); }

    void addTerms(int i, int from, int to, double& acc) const {
        for (int j = from; j < to; ++j) {
            acc = acc + x[j] * y[i + j];
        }
    }
    void single(int i) const {
        double acc = 0.0;
        addTerms(i, 0, end(i), acc);
        out[i] = acc;
    }
};

template <typename V, int Lanes, int Vecs>
[[gnu::always_inline]] inline void correlateTiles(const CorrelateJob& job, int first, int last) {
    constexpr int Tile = Lanes * Vecs;
    int i0 = first;
    for (; i0 + Tile <= last; i0 += Tile) {
        const int common = job.end(i0 + Tile - 1);
        double acc[Tile] = {};
        accumulateTile<V, Lanes, Vecs>(job.x, common, job.y + i0, 1, acc);
        for (int t = 0; t < Tile; ++t) {
            job.addTerms(i0 + t, common, job.end(i0 + t), acc[t]);
            job.out[i0 + t] = acc[t];
        }
    }
    for (; i0 < last; ++i0) {
        job.single(i0);
    }
}

// What the processor offers does not change while the program runs.
bool processorHasAvx2() {
    static const bool available = __builtin_cpu_supports("avx2");
    return available;
}

[[gnu::target("avx2")]] void convolveAvx2(const ConvolveJob& job, int first, int last) {
    convolveTiles<V4, 4, 8>(job, first, last);
}
void convolveSse2(const ConvolveJob& job, int first, int last) {
    convolveTiles<V2, 2, 6>(job, first, last);
}
[[gnu::target("avx2")]] void correlateAvx2(const CorrelateJob& job, int first, int last) {
    correlateTiles<V4, 4, 8>(job, first, last);
}
void correlateSse2(const CorrelateJob& job, int first, int last) {
    correlateTiles<V2, 2, 6>(job, first, last);
}

} // namespace

int defaultThreadCount() {
    // hardware_concurrency may say 0 when it cannot tell.
    return std::thread::hardware_concurrency() >= 2 ? 2 : 1;
}

void convolveRange(const double* a, int na, const double* b, int nb, double* out, int first,
                   int last, bool avx2) {
    const ConvolveJob job{a, na, b, nb, out};
    if (avx2 && processorHasAvx2()) {
        convolveAvx2(job, first, last);
    } else {
        convolveSse2(job, first, last);
    }
}

void correlateRange(const double* x, int nx, const double* y, int ny, double* out, int first,
                    int last, bool avx2) {
    const CorrelateJob job{x, nx, y, ny, out};
    if (avx2 && processorHasAvx2()) {
        correlateAvx2(job, first, last);
    } else {
        correlateSse2(job, first, last);
    }
}

void runInBlocks(int count, const KernelOptions& options, const std::function<long long(int)>& work,
                 const std::function<void(int, int)>& body) {
    const int threads = options.threads;
    long long total = 0;
    if (threads > 1) {
        for (int k = 0; k < count; ++k) {
            total += work(k);
        }
    }
    if (threads <= 1 || count < 2 || total < options.threadingThreshold) {
        body(0, count);
        return;
    }
    std::vector<int> cuts{0};
    long long done = 0;
    for (int k = 0; k < count && static_cast<int>(cuts.size()) < threads; ++k) {
        done += work(k);
        if (done * threads >= total * static_cast<long long>(cuts.size())) {
            cuts.push_back(k + 1);
        }
    }
    cuts.push_back(count);
    std::vector<std::thread> helpers;
    for (std::size_t b = 1; b + 1 < cuts.size(); ++b) {
        try {
            helpers.emplace_back(body, cuts[b], cuts[b + 1]);
        } catch (const std::system_error&) {
            // No thread to be had: this one does the block itself.
            body(cuts[b], cuts[b + 1]);
        }
    }
    body(cuts[0], cuts[1]);
    for (auto& helper : helpers) {
        helper.join();
    }
}

} // namespace quarvel::kernels
