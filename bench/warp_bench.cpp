// The depth-varying tie on the largest realistic core: 10 m, a 1-12 kHz
// chirp sampled every 5 us, against a trace sampled every 66 us whose
// velocities are 5 % slower above 5 m and 4 % faster below. One alignment,
// and the whole tie with its 200 surrogates.
#include "engine/math_fun.h"
#include "engine/synthetic.h"
#include "ten_metre_core.h"
#include "tie/depth_varying_tie.h"
#include "tie/time_depth.h"

#include <benchmark/benchmark.h>

namespace {

using namespace quarvel;

const tie::DepthVaryingRequest& request() {
    static const tie::DepthVaryingRequest made = [] {
        const MathFun::SyntheticWavelet wavelet = tenMetreWavelet();
        const MathFun::SyntheticParameters parameters = tenMetreChirp();
        // The engine's synthetic from the sea floor's arrival.
        const auto series = [&](const MathFun::SyntheticLog& l) {
            const MathFun::SyntheticSeries s = MathFun::computeSynthetic(l, wavelet, parameters);
            MathFun::SeriesRows rows = MathFun::SeriesRowsFrom(s.synthetic, s.seaFloorSample[3],
                                                               s.samplingInterval, s.timeLimit());
            return tie::TimeSeries{std::move(rows.time), std::move(rows.value)};
        };
        const MathFun::SyntheticLog log = tenMetreCore();
        tie::DepthVaryingRequest r;
        r.warp.synthetic = series(log);
        r.warp.synthDepth = tie::TimeDepthRelation(tie::timeDepthTable(log.depth, log.velocity));
        const tie::TimeSeries fine = series(tenMetreCore(0.95, 1.04));
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
