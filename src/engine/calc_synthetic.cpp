#include "engine/calc_synthetic.h"

#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "engine/parameter_texts.h"
#include "formats/numbers.h"
#include "formats/text_file.h"

#include <filesystem>
#include <vector>

namespace quarvel::MathFun {
namespace {

constexpr std::size_t PieceBytes = 64 * 1024;

void appendReflectivity(TextBuilder& text, const SyntheticSamples& s) {
    double rMax = s.reflectivity.front();
    for (const double r : s.reflectivity) {
        if (r > rMax) {
            rMax = r;
        }
    }
    text.reserveMore(s.reflectivity.size() * 49);
    for (std::size_t i = 0; i < s.reflectivity.size(); ++i) {
        text.lineE23(s.gridTimes[i], rMax != 0.0 ? s.reflectivity[i] / rMax : 0.0);
    }
}

void appendStage(TextBuilder& text, std::span<const double> samples, const SyntheticSamples& s,
                 TimeZero timeZero, std::size_t stage) {
    const std::size_t first =
        timeZero == TimeZero::SeaFloor ? s.seaFloorSample[stage] : StrongestSample(samples);
    WriteSeriesFrom(text, samples, first, s.samplingInterval, s.timeLimit());
}

// Appends the text of file `file` of SyntheticFileNames.
void appendFileText(TextBuilder& text, const SyntheticSamples& s, TimeZero timeZero,
                    std::size_t file) {
    switch (file) {
    case 0:
        appendReflectivity(text, s);
        break;
    case 1:
        appendStage(text, s.correlated, s, timeZero, 0);
        break;
    case 2:
        appendStage(text, s.deconvolved, s, timeZero, 1);
        break;
    case 3:
        appendStage(text, s.envelope, s, timeZero, 2);
        break;
    default:
        appendStage(text, s.synthetic, s, timeZero, 3);
        break;
    }
}

} // namespace

std::array<std::string, 5> syntheticFileTexts(const SyntheticSeries& series, TimeZero timeZero) {
    std::array<std::string, 5> texts;
    for (std::size_t i = 0; i < texts.size(); ++i) {
        TextBuilder text;
        appendFileText(text, series.samples(), timeZero, i);
        texts[i] = text.take();
    }
    return texts;
}

SyntheticCounts CalcSynthetic(Engine& engine, const WorkDir& workDir, std::string_view startText,
                              std::string_view endText, std::string_view intervalText,
                              const kernels::KernelOptions& options, TimeZero timeZero,
                              const std::optional<std::string>& newLogDat, bool antiAliased) {
    SyntheticParameters parameters;
    parameters.startFrequency = requireNumber(startText, StartFrequencyField);
    parameters.endFrequency = requireNumber(endText, EndFrequencyField);
    parameters.samplingInterval = requireAboveZero(intervalText, SamplingIntervalField);
    requireSweepFrequencies({parameters.startFrequency, parameters.endFrequency,
                             parameters.samplingInterval, startText, endText, intervalText});
    parameters.kernels = options;
    parameters.antiAliased = antiAliased;
    const std::filesystem::path logPath = workDir.file(LogFileName);
    const SyntheticLog log =
        newLogDat ? engine::readLogText(*newLogDat, logPath.string()) : engine::readLog(workDir);
    const SyntheticWavelet wavelet =
        engine::readWavelet(workDir, parameters.samplingInterval, intervalText);
    engine::checkWaveletSweep(workDir, parameters.startFrequency, parameters.endFrequency);
    const SyntheticSamples series = engine.computeInPlace(log, wavelet, parameters);
    std::vector<std::filesystem::path> paths;
    for (const std::string_view name : SyntheticFileNames) {
        paths.push_back(workDir.file(name));
    }
    if (newLogDat) {
        paths.push_back(logPath);
    }
    // Each text goes out in pieces of 64 KiB through one small buffer:
    // refl.dat alone is 49 bytes a grid sample, and held whole the texts
    // would take fresh memory of that size.
    writeTextFilesInPieces(paths, [&](std::size_t i, const PieceSink& put) {
        if (i == SyntheticFileNames.size()) {
            put(*newLogDat);
            return;
        }
        TextBuilder text(PieceBytes, put);
        appendFileText(text, series, timeZero, i);
        text.flush();
    });
    return series.counts;
}

} // namespace quarvel::MathFun
