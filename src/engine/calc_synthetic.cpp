#include "engine/calc_synthetic.h"

#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "engine/parameter_texts.h"
#include "formats/numbers.h"
#include "formats/text_file.h"

#include <utility>
#include <vector>

namespace quarvel::MathFun {
namespace {

std::string reflectivityText(const SyntheticSeries& s) {
    double rMax = s.reflectivity.front();
    for (const double r : s.reflectivity) {
        if (r > rMax) {
            rMax = r;
        }
    }
    TextBuilder text;
    text.reserveMore(s.reflectivity.size() * 49);
    for (std::size_t i = 0; i < s.reflectivity.size(); ++i) {
        text.lineE23(s.gridTimes[i], rMax != 0.0 ? s.reflectivity[i] / rMax : 0.0);
    }
    return text.take();
}

std::string seriesText(const std::vector<double>& samples, const SyntheticSeries& s,
                       TimeZero timeZero, std::size_t stage) {
    TextBuilder text;
    const std::size_t first =
        timeZero == TimeZero::SeaFloor ? s.seaFloorSample[stage] : StrongestSample(samples);
    WriteSeriesFrom(text, samples, first, s.samplingInterval, s.timeLimit());
    return text.take();
}

} // namespace

std::array<std::string, 5> syntheticFileTexts(const SyntheticSeries& series, TimeZero timeZero) {
    return {reflectivityText(series), seriesText(series.correlated, series, timeZero, 0),
            seriesText(series.deconvolved, series, timeZero, 1),
            seriesText(series.envelope, series, timeZero, 2),
            seriesText(series.synthetic, series, timeZero, 3)};
}

SyntheticCounts CalcSynthetic(Engine& engine, const WorkDir& workDir, std::string_view startText,
                              std::string_view endText, std::string_view intervalText,
                              const kernels::KernelOptions& options, TimeZero timeZero) {
    SyntheticParameters parameters;
    parameters.startFrequency = requireNumber(startText, StartFrequencyField);
    parameters.endFrequency = requireNumber(endText, EndFrequencyField);
    parameters.samplingInterval = requireAboveZero(intervalText, SamplingIntervalField);
    requireSweepFrequencies({parameters.startFrequency, parameters.endFrequency,
                             parameters.samplingInterval, startText, endText, intervalText});
    parameters.kernels = options;
    const SyntheticLog log = engine::readLog(workDir);
    const SyntheticWavelet wavelet =
        engine::readWavelet(workDir, parameters.samplingInterval, intervalText);
    const SyntheticSeries series = engine.computeSynthetic(log, wavelet, parameters);
    std::array<std::string, 5> texts = syntheticFileTexts(series, timeZero);
    std::vector<PendingFile> files;
    for (std::size_t i = 0; i < SyntheticFileNames.size(); ++i) {
        files.push_back({workDir.file(SyntheticFileNames[i]), std::move(texts[i])});
    }
    writeTextFiles(files);
    return series.counts;
}

} // namespace quarvel::MathFun
