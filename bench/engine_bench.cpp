// The chirp source and the synthetic engine at the default size (K = 1250,
// M = 198) and at the largest the series allow (K + M just under 32 000), the
// convolution alone, and reading log.dat. The second argument is the thread
// count.
#include "chirp/chirp_source.h"
#include "engine/calc_synthetic.h"
#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "formats/numbers.h"
#include "formats/text_file.h"
#include "platform/work_dir.h"
#include "scratch_dir.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>
#include <system_error>

namespace {

using namespace quarvel;

WorkDir benchDir() {
    static const ScratchDir scratch;
    return WorkDir(scratch.folder);
}

// A log whose last row lies at the given two-way time (velocity 1600 m/s;
// the density varies, so every grid sample reflects).
void writeLog(double twoWayTime) {
    const int rows = 400;
    const double bottom = twoWayTime * 1600 / 2;
    TextBuilder log;
    for (int i = 1; i <= rows; ++i) {
        const double depth = bottom * i / rows;
        log.line(numbers::formatFixed(depth, 6) + " 1600 " +
                 numbers::formatF6(1.7 + 0.1 * std::sin(i * 0.7)));
    }
    writeTextFile(benchDir().file("log.dat"), log.text());
}

void BM_Convolve(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const kernels::KernelOptions options{static_cast<int>(state.range(1))};
    auto a = std::make_unique<Series>();
    auto b = std::make_unique<Series>();
    auto out = std::make_unique<Series>();
    for (int i = 1; i <= n; ++i) {
        (*a)[i] = std::sin(i * 0.01);
        (*b)[i] = std::cos(i * 0.02);
    }
    for (auto _ : state) {
        MathFun::Convolve(n, *a, n, *b, 2 * n - 1, *out, options);
        benchmark::DoNotOptimize(out->samples());
    }
    state.counters["MAC/s"] = benchmark::Counter(static_cast<double>(n) * n,
                                                 benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(BM_Convolve)->ArgsProduct({{1496, 16000, 32000}, {1, 2}})->Unit(benchmark::kMillisecond);

void BM_ChirpSourceDefault(benchmark::State& state) {
    const kernels::KernelOptions options{static_cast<int>(state.range(0))};
    for (auto _ : state) {
        ChirpSource(ChirpTexts{}, benchDir(), options);
    }
}
BENCHMARK(BM_ChirpSourceDefault)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void runSynthetic(benchmark::State& state, double twoWayTime, bool withChirp) {
    const kernels::KernelOptions options{static_cast<int>(state.range(0))};
    ChirpSource(ChirpTexts{}, benchDir(), options);
    writeLog(twoWayTime);
    MathFun::Engine engine;
    MathFun::SyntheticCounts counts;
    for (auto _ : state) {
        if (withChirp) {
            ChirpSource(ChirpTexts{}, benchDir(), options);
        }
        counts = MathFun::CalcSynthetic(engine, benchDir(), "2000", "7000", "0.00001", options);
    }
    state.counters["K"] = counts.gridCount;
    state.counters["M"] = counts.waveletCount;
}

// GO and "Calc. Synthetic" at the default size.
void BM_DefaultCase(benchmark::State& state) {
    runSynthetic(state, 0.0125, true);
}
BENCHMARK(BM_DefaultCase)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void BM_CalcSyntheticDefault(benchmark::State& state) {
    runSynthetic(state, 0.0125, false);
}
BENCHMARK(BM_CalcSyntheticDefault)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// K = 31 750 with the default wavelet: 2 N_D - 1 = 63 991.
void BM_CalcSyntheticLargest(benchmark::State& state) {
    runSynthetic(state, 0.3175, false);
}
BENCHMARK(BM_CalcSyntheticLargest)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// log.dat as the engine reads it, a row every centimetre: 25 400 rows for the
// largest synthetic at 1600 m/s, 64 000 the most a series holds.
void BM_ReadLog(benchmark::State& state) {
    const auto rows = static_cast<int>(state.range(0));
    TextBuilder log;
    for (int i = 1; i <= rows; ++i) {
        const double depth = i * 0.01;
        log.line(numbers::formatFixed(depth, 3) + " " +
                 numbers::formatF3(1600 + 30 * std::sin(depth * 7)) + " " +
                 numbers::formatF3(1.7 + 0.1 * std::cos(depth * 11)));
    }
    writeTextFile(benchDir().file("log.dat"), log.text());
    for (auto _ : state) {
        const MathFun::SyntheticLog read = engine::readLog(benchDir());
        benchmark::DoNotOptimize(read.density.data());
    }
    state.counters["ns/row"] = benchmark::Counter(
        rows, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_ReadLog)->Arg(1000)->Arg(25400)->Arg(64000)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
