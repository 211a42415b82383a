// The data editor's work on a full log of 64 000 records: loading a log file
// into the grid, writing log.dat from it, and filling gaps.
#include "editor/interpolation.h"
#include "editor/log_grid.h"
#include "formats/numbers.h"
#include "formats/text_file.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

// Records at 1 cm with every fifth velocity and density missing in runs of
// three, so interpolation has work everywhere.
std::string fullLogText() {
    quarvel::TextBuilder text;
    for (int i = 1; i <= quarvel::LogCapacity; ++i) {
        const bool missing = i % 5 < 3 && i % 5 > 0 && i > 5;
        const double velocity = missing ? 0.0 : 1500.0 + (i % 97);
        const double density = missing ? 0.0 : 1.5 + (i % 13) * 0.01;
        text.line(quarvel::numbers::formatF6(i * 0.01) + ' ' +
                  quarvel::numbers::formatF6(velocity) + ' ' + quarvel::numbers::formatF6(density));
    }
    return text.text();
}

void LoadLogFullGrid(benchmark::State& state) {
    const std::string text = fullLogText();
    for (auto _ : state) {
        quarvel::LogGrid grid;
        benchmark::DoNotOptimize(quarvel::LoadLog(grid, text, "log"));
    }
}
BENCHMARK(LoadLogFullGrid)->Unit(benchmark::kMillisecond);

void SaveLogFullGrid(benchmark::State& state) {
    quarvel::LogGrid grid;
    quarvel::LoadLog(grid, fullLogText(), "log");
    for (auto _ : state) {
        benchmark::DoNotOptimize(quarvel::SaveLog(grid));
    }
}
BENCHMARK(SaveLogFullGrid)->Unit(benchmark::kMillisecond);

void InterpolateFullLog(benchmark::State& state) {
    const std::string text = fullLogText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(quarvel::interpolateLogText(text));
    }
}
BENCHMARK(InterpolateFullLog)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
