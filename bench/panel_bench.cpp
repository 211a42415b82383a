// Drawing a full panel: a 64 000-sample series and a 64 000-record log into
// the 151 x 600 pictures of the main window.
#include "platform/canvas.h"
#include "plot/log_panel.h"
#include "plot/series_panel.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>
#include <cmath>
#include <vector>

namespace {

constexpr int Width = 151;
constexpr int Height = 600;

quarvel::SeriesData wiggle() {
    quarvel::SeriesData series;
    for (int i = 0; i < quarvel::SeriesCapacity; ++i) {
        series.time.push_back(i * 1e-5);
        series.amplitude.push_back(std::sin(i * 0.05) * std::exp(-i * 2e-5));
    }
    return series;
}

std::vector<quarvel::LogRecord> longLog() {
    std::vector<quarvel::LogRecord> log;
    for (int i = 1; i <= quarvel::LogCapacity; ++i) {
        const double depth = i * 0.0001;
        log.push_back({depth, 1500 + 80 * std::sin(i * 0.01), 1.6 + 0.3 * std::cos(i * 0.013)});
    }
    return log;
}

void seriesPanel(benchmark::State& state) {
    const quarvel::SeriesData series = wiggle();
    const quarvel::SeriesExtents extents = quarvel::seriesExtents(series);
    const QFont font = quarvel::Canvas::defaultFont();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            quarvel::renderSeriesPanel(series, extents, "Synthetic", Width, Height, font));
    }
}
BENCHMARK(seriesPanel)->Unit(benchmark::kMillisecond);

void logPanel(benchmark::State& state) {
    const std::vector<quarvel::LogRecord> log = longLog();
    const QFont font = quarvel::Canvas::defaultFont();
    const quarvel::LogPanelInput input{
        quarvel::LogPanelKind::Velocity, log, 1420, 1580, log.front().Depth, log.back().Depth};
    for (auto _ : state) {
        benchmark::DoNotOptimize(quarvel::renderLogPanel(input, Width, Height, font));
    }
}
BENCHMARK(logPanel)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    // Text needs a GUI application; no window is shown.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
