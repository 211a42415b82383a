// The tie on the largest realistic core: 10 m, a 1-12 kHz chirp sampled every
// 5 us. One synthetic, the shift scan alone, and the whole measurement with
// the velocity factor scan (about 55 synthetics).
#include "chirp/chirp_source.h"
#include "engine/engine_inputs.h"
#include "engine/synthetic.h"
#include "tie/tie_measure.h"
#include "tie/tie_synthesiser.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
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
        c.trace = tie::writtenSynthetic(
            MathFun::computeSynthetic(tenMetres(0.95), c.wavelet, c.parameters),
            MathFun::TimeZero::Strongest);
        for (double& t : c.trace.time) {
            t += 0.3e-3;
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

tie::TieRequest request(bool withFactors) {
    const Core& c = core();
    tie::TieRequest r;
    r.synthetic = tie::writtenSynthetic(MathFun::computeSynthetic(c.log, c.wavelet, c.parameters),
                                        MathFun::TimeZero::Strongest);
    r.trace = c.trace;
    if (withFactors) {
        r.synthesise =
            tie::engineSynthesiser(c.log, c.wavelet, c.parameters, MathFun::TimeZero::Strongest);
    }
    return r;
}

void BM_ShiftScan(benchmark::State& state) {
    const tie::TieRequest r = request(false);
    for (auto _ : state) {
        benchmark::DoNotOptimize(tie::measureTie(r));
    }
}
BENCHMARK(BM_ShiftScan)->Unit(benchmark::kMillisecond);

void BM_WholeTie(benchmark::State& state) {
    const tie::TieRequest r = request(true);
    double factor = 0;
    for (auto _ : state) {
        const tie::TieMeasurement m = tie::measureTie(r);
        factor = m.factors->points[m.factors->best].factor;
    }
    state.counters["factor"] = factor;
}
BENCHMARK(BM_WholeTie)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
