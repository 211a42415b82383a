// Reading a SEG-Y line as the trace window does: every trace header for the
// review and the choice, then one stacked trace cut at its sea floor.

#include "survey/segy_load.h"

#include <benchmark/benchmark.h>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace {

void putBig(std::string& bytes, std::size_t at, std::uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        bytes[at + static_cast<std::size_t>(i)] =
            static_cast<char>((value >> (8 * (size - 1 - i))) & 0xFF);
    }
}

// A line of 16-bit envelope traces (format 3, big-endian, EBCDIC blanks),
// the sea floor a fifth of the way down.
std::filesystem::path writeLine(int traces, int samples) {
    const auto path =
        std::filesystem::temp_directory_path() /
        ("quarvel_segy_bench_" + std::to_string(getpid()) + "_" + std::to_string(traces) + ".sgy");
    std::string head(3600, '\0');
    std::fill(head.begin(), head.begin() + 3200, static_cast<char>(0x40));
    putBig(head, 3216, 66, 2);
    putBig(head, 3220, static_cast<std::uint32_t>(samples), 2);
    putBig(head, 3224, 3, 2);
    std::ofstream out(path, std::ios::binary);
    out << head;
    std::string trace(240 + 2 * static_cast<std::size_t>(samples), '\0');
    for (int t = 0; t < traces; ++t) {
        putBig(trace, 8, static_cast<std::uint32_t>(1000 + t), 4);
        putBig(trace, 72, static_cast<std::uint32_t>(500000 + 10 * t), 4);
        putBig(trace, 76, 4000000, 4);
        for (int i = 0; i < samples; ++i) {
            const int below = i - samples / 5;
            const double value =
                i < 4 ? 20000 : 100 + (below >= 0 ? 15000 * std::exp(-below / 4.0) : 0);
            putBig(trace, 240 + 2 * static_cast<std::size_t>(i), static_cast<std::uint32_t>(value),
                   2);
        }
        out << trace;
    }
    return path;
}

void readHeaders(benchmark::State& state) {
    const auto path = writeLine(static_cast<int>(state.range(0)), 400);
    for (auto _ : state) {
        quarvel::SegyReader reader(path);
        benchmark::DoNotOptimize(reader.traceHeaders());
    }
    std::filesystem::remove(path);
}
BENCHMARK(readHeaders)->Arg(2454)->Arg(100000)->Unit(benchmark::kMillisecond);

void loadStackedTrace(benchmark::State& state) {
    const auto path = writeLine(200, static_cast<int>(state.range(0)));
    quarvel::SegyReader reader(path);
    const auto headers = reader.traceHeaders();
    quarvel::SegyLoadRequest request;
    request.choice = {quarvel::TraceChoiceKind::Near, 0, 0, 50100, 400000};
    request.stack = 5;
    request.seaFloor = quarvel::SeaFloorMode::Auto;
    for (auto _ : state) {
        benchmark::DoNotOptimize(quarvel::loadSegyTrace(reader, headers, request));
    }
    std::filesystem::remove(path);
}
BENCHMARK(loadStackedTrace)->Arg(400)->Arg(60000)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
