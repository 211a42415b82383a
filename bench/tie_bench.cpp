// The tie on the largest realistic core: 10 m, a 1-12 kHz chirp sampled every
// 5 us. The engine's synthetic, the tie's own (through the Fourier
// transform), and the whole measurement: the factor scan over the default
// range (about 75 synthetics) and 200 surrogates, or none.
#include "chirp/chirp_source.h"
#include "engine/engine_inputs.h"
#include "engine/synthetic.h"
#include "tie/tie_measure.h"
#include "tie/tie_synthesiser.h"

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

struct Core {
    MathFun::SyntheticLog log;
    MathFun::SyntheticWavelet wavelet;
    MathFun::SyntheticParameters parameters;
    tie::TimeSeries trace;
};

// A 10 m log every centimetre, beds every 40 cm, velocities near 1500 m/s.
MathFun::SyntheticLog tenMetres(double factor) {
    MathFun::SyntheticLog log;
    for (int i = 1; i <= 1000; ++i) {
        const double depth = 0.01 * i;
        const bool bed = std::fmod(depth, 0.4) < 0.03;
        log.depth.push_back(depth);
        log.velocity.push_back(factor * (1500 + 30 * std::sin(depth * 3) + (bed ? 150 : 0)));
        log.density.push_back(bed ? 1.95 : 1.6 + 0.05 * std::cos(depth * 7));
    }
    return log;
}

const Core& core() {
    static const Core made = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quarvel-tie-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create " + pattern);
        }
        const WorkDir dir{std::filesystem::path(pattern)};
        ChirpTexts chirp;
        chirp.start = "1000";
        chirp.end = "12000";
        chirp.interval = "0.000005";
        ChirpSource(chirp, dir);
        Core c;
        c.wavelet = engine::readWavelet(dir, 0.000005, "0.000005");
        std::error_code ignored;
        std::filesystem::remove_all(pattern, ignored);
        c.log = tenMetres(1.0);
        c.parameters = tie::synthesisParameters("1000", "12000", "0.000005");
        const tie::TieSynthetic trace =
            tie::TieSynthesiser(tenMetres(0.95), c.wavelet, c.parameters)(1.0);
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
