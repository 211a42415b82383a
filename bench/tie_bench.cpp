// The tie on the largest realistic core: 10 m, a 1-12 kHz chirp sampled every
// 5 us. The engine's synthetic, the tie's own (through the Fourier
// transform), and the whole measurement: the factor scan over the default
// range (about 75 synthetics) and 200 surrogates, or none.
#include "engine/synthetic.h"
#include "ten_metre_core.h"
#include "tie/tie_measure.h"
#include "tie/tie_synthesiser.h"

#include <benchmark/benchmark.h>
#include <memory>

namespace {

using namespace quarvel;

struct Core {
    MathFun::SyntheticLog log;
    MathFun::SyntheticWavelet wavelet;
    MathFun::SyntheticParameters parameters;
    tie::TimeSeries trace;
};

const Core& core() {
    static const Core made = [] {
        Core c;
        c.wavelet = tenMetreWavelet();
        c.log = tenMetreCore();
        c.parameters = tenMetreChirp();
        const tie::TieSynthetic trace =
            tie::TieSynthesiser(tenMetreCore(0.95, 0.95), c.wavelet, c.parameters)(1.0);
        for (std::size_t i = 0; i < trace.value.size(); ++i) {
            c.trace.time.push_back(0.3e-3 + static_cast<double>(i) * trace.interval);
            c.trace.value.push_back(trace.value[i]);
        }
        return c;
    }();
    return made;
}

void BM_OneSynthetic(benchmark::State& state) {
    const Core& c = core();
    MathFun::Engine engine;
    MathFun::SyntheticCounts counts;
    for (auto _ : state) {
        counts = engine.computeSynthetic(c.log, c.wavelet, c.parameters).counts;
    }
    state.counters["K"] = counts.gridCount;
    state.counters["M"] = counts.waveletCount;
}
BENCHMARK(BM_OneSynthetic)->Unit(benchmark::kMillisecond);

void BM_TieSynthetic(benchmark::State& state) {
    const Core& c = core();
    const tie::TieSynthesiser synthesise(c.log, c.wavelet, c.parameters);
    for (auto _ : state) {
        benchmark::DoNotOptimize(synthesise(1.0));
    }
}
BENCHMARK(BM_TieSynthetic)->Unit(benchmark::kMillisecond);

void BM_WholeTie(benchmark::State& state) {
    const Core& c = core();
    tie::TieRequest r;
    r.trace = c.trace;
    r.synthesiser = std::make_shared<const tie::TieSynthesiser>(c.log, c.wavelet, c.parameters);
    r.settings.surrogates = static_cast<std::size_t>(state.range(0));
    double factor = 0;
    for (auto _ : state) {
        factor = tie::measureTie(r).bestPoint().factor;
    }
    state.counters["factor"] = factor;
}
BENCHMARK(BM_WholeTie)->Arg(0)->Arg(200)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
