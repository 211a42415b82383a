// One mouse move over the photograph recomputes the depth, the two-way time
// through the whole log and the status texts. With a full 64 000-record log
// that must stay well under a millisecond.
#include "probe/depth_twt.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

std::vector<quarvel::LogRecord> fullLog() {
    std::vector<quarvel::LogRecord> log(quarvel::LogCapacity);
    for (std::size_t i = 0; i < log.size(); ++i) {
        const double depth = 0.0001 * static_cast<double>(i); // 6.4 m at 0.1 mm
        log[i] = {depth, 1480.0 + 100.0 * depth, 1.5 + 0.05 * depth};
    }
    return log;
}

// The row under the pointer: 0 is the top of the log, 1 below its last
// record, so the sum runs over every record.
void BM_MouseMoveOverPhotograph(benchmark::State& state) {
    const std::vector<quarvel::LogRecord> log = fullLog();
    const int ymin = 25;
    const int ymax = 1000;
    const int row = state.range(0) == 0 ? ymin : ymax + 10;
    double depth = 0.0;
    for (auto _ : state) {
        depth = quarvel::depth_twt::probeDepth("0", "6500", ymin, ymax, row - ymin, depth);
        const quarvel::depth_twt::TwtEstimate estimate =
            quarvel::depth_twt::estimateTwt(log, quarvel::LogCapacity, depth);
        const quarvel::depth_twt::PointTexts texts =
            quarvel::depth_twt::pointTexts(40, row, 51, 102, 153, depth, estimate.estTwt);
        benchmark::DoNotOptimize(texts);
        benchmark::DoNotOptimize(estimate);
    }
}
BENCHMARK(BM_MouseMoveOverPhotograph)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
