// The depth-varying tie on the largest realistic core: 10 m, a 1-12 kHz
// chirp sampled every 5 us, against a trace sampled every 66 us whose
// velocities are 5 % slower above 5 m and 4 % faster below. One alignment,
// and the whole tie with its 200 surrogates.
#include "chirp/chirp_source.h"
#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "engine/synthetic.h"
#include "tie/depth_varying_tie.h"
#include "tie/time_depth.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <system_error>

namespace {

using namespace quarvel;

// A 10 m log every centimetre, beds every 40 cm, velocities near 1500 m/s,
// multiplied by `above` down to 5 m and by `below` under it.
MathFun::SyntheticLog tenMetres(double above, double below) {
    MathFun::SyntheticLog log;
    for (int i = 1; i <= 1000; ++i) {
        const double depth = 0.01 * i;
        const bool bed = std::fmod(depth, 0.4) < 0.03;
        log.depth.push_back(depth);
        log.velocity.push_back((depth <= 5 ? above : below) *
                               (1500 + 30 * std::sin(depth * 3) + (bed ? 150 : 0)));
        log.density.push_back(bed ? 1.95 : 1.6 + 0.05 * std::cos(depth * 7));
    }
    return log;
}

const tie::DepthVaryingRequest& request() {
    static const tie::DepthVaryingRequest made = [] {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quarvel-warp-bench-XXXXXX").string();
        if (mkdtemp(pattern.data()) == nullptr) {
            throw std::runtime_error("cannot create " + pattern);
        }
        const WorkDir dir{std::filesystem::path(pattern)};
        ChirpTexts chirp;
        chirp.start = "1000";
        chirp.end = "12000";
        chirp.interval = "0.000005";
        ChirpSource(chirp, dir);
        const MathFun::SyntheticWavelet wavelet = engine::readWavelet(dir, 0.000005, "0.000005");
        std::error_code ignored;
        std::filesystem::remove_all(pattern, ignored);
        MathFun::SyntheticParameters parameters;
        parameters.startFrequency = 1000;
        parameters.endFrequency = 12000;
        parameters.samplingInterval = 5e-6;
        // The engine's synthetic from the sea floor's arrival.
        const auto series = [&](const MathFun::SyntheticLog& l) {
            const MathFun::SyntheticSeries s = MathFun::computeSynthetic(l, wavelet, parameters);
            MathFun::SeriesRows rows = MathFun::SeriesRowsFrom(s.synthetic, s.seaFloorSample[3],
                                                               s.samplingInterval, s.timeLimit());
            return tie::TimeSeries{std::move(rows.time), std::move(rows.value)};
        };
        const MathFun::SyntheticLog log = tenMetres(1, 1);
        tie::DepthVaryingRequest r;
        r.warp.synthetic = series(log);
        r.warp.synthDepth = tie::TimeDepthRelation(tie::timeDepthTable(log.depth, log.velocity));
        const tie::TimeSeries fine = series(tenMetres(0.95, 1.04));
        unsigned state = 1;
        for (std::size_t k = 0; k < fine.time.size(); k += 13) {
            state = state * 1103515245 + 12345;
            r.warp.trace.time.push_back(fine.time[k]);
            r.warp.trace.value.push_back(
                fine.value[k] *
                (1 + 0.2 * (static_cast<double>(state >> 16 & 0x7fff) / 32767 - 0.5)));
        }
        return r;
    }();
    return made;
}

void BM_Alignment(benchmark::State& state) {
    const tie::DepthVaryingRequest& r = request();
    const tie::Warper warper(r.warp);
    double coefficient = 0;
    for (auto _ : state) {
        coefficient = warper.align(r.warp.trace.value).coefficient;
    }
    state.counters["r"] = coefficient;
    state.counters["lags"] = warper.maxLag() / warper.step() * 2 + 1;
    state.counters["samples"] = static_cast<double>(warper.times().size());
}
BENCHMARK(BM_Alignment)->Unit(benchmark::kMillisecond);

void BM_DepthVaryingTie(benchmark::State& state) {
    const tie::DepthVaryingRequest& r = request();
    double p = 0;
    for (auto _ : state) {
        p = tie::tieDepthVarying(r).nullPValue;
    }
    state.counters["p"] = p;
}
BENCHMARK(BM_DepthVaryingTie)->Unit(benchmark::kMillisecond)->Iterations(2);

} // namespace

BENCHMARK_MAIN();
