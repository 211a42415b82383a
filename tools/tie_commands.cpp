#include "tie_commands.h"

#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "formats/log_file.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "quarvel/version.h"
#include "tie/tie_measure.h"
#include "tie/tie_report.h"
#include "tie/tie_series.h"
#include "tie/tie_synthesiser.h"
#include "tie/time_depth.h"

#include <cmath>
#include <memory>
#include <optional>

namespace quarvel::tools {
namespace {

std::size_t wholeOption(const std::string& text, const std::string& name, long long low,
                        long long high) {
    const std::optional<double> value = numbers::tryParseNumber(text);
    if (!value || *value != std::floor(*value) || *value < static_cast<double>(low) ||
        *value > static_cast<double>(high)) {
        throw QuarvelError(name + " must be a whole number from " + numbers::formatInteger(low) +
                           " to " + numbers::formatInteger(high) + ", not '" + text + "'.");
    }
    return static_cast<std::size_t>(*value);
}

tie::TieSettings tieSettings(const TieTexts& texts) {
    tie::TieSettings settings;
    if (!texts.maxShift.empty()) {
        settings.maxShift = tie::shiftLimitFromText(texts.maxShift, "--max-shift");
    }
    if (!texts.factorRange.empty()) {
        const std::size_t blank = texts.factorRange.find(' ');
        settings.factorRange = tie::factorRangeFromTexts(
            texts.factorRange.substr(0, blank),
            blank == std::string::npos ? std::string() : texts.factorRange.substr(blank + 1),
            "--factor-range");
    }
    settings.surrogates = wholeOption(texts.surrogates, "--surrogates", 0, 10000);
    settings.seed = wholeOption(texts.seed, "--seed", 0, 1'000'000'000);
    const std::optional<double> level = numbers::tryParseNumber(texts.level);
    if (!level || !(*level > 0 && *level < 1)) {
        throw QuarvelError("--level must be a probability between 0 and 1, not '" + texts.level +
                           "'.");
    }
    settings.level = *level;
    return settings;
}

} // namespace

void writeTimeDepth(const WorkDir& dir, const std::string& outFile, std::ostream& out) {
    const MathFun::SyntheticLog log = engine::readLog(dir);
    const std::string csv = tie::timeDepthCsv(tie::timeDepthTable(log.depth, log.velocity));
    if (outFile.empty()) {
        out << csv;
        return;
    }
    writeTextFile(outFile, csv);
    out << "Wrote " << outFile << '\n';
}

MathFun::TimeZero timeZeroOption(const std::string& text) {
    if (text == "strongest") {
        return MathFun::TimeZero::Strongest;
    }
    if (text == "sea-floor") {
        return MathFun::TimeZero::SeaFloor;
    }
    throw QuarvelError("--time-zero must be sea-floor or strongest, not '" + text + "'.");
}

void warnAboutSynthetic(const MathFun::SyntheticCounts& counts, MathFun::TimeZero timeZero,
                        double interval, bool antiAliased, std::ostream& err) {
    if (timeZero == MathFun::TimeZero::Strongest && counts.timeZero.far) {
        err << "quarvel-synth: warning: " << MathFun::timeZeroWarning(counts.timeZero)
            << " (--time-zero sea-floor starts it there)\n";
    }
    const std::string aliasing = MathFun::aliasingWarning(counts.rowStep, interval, antiAliased);
    if (!aliasing.empty()) {
        err << "quarvel-synth: warning: " << aliasing << " (--anti-alias)\n";
    }
}

tie::TieMeasurement printTie(const WorkDir& dir, const ChirpTexts& chirp, const TieTexts& texts,
                             std::ostream& out, std::ostream& err) {
    tie::TieRequest request;
    request.settings = tieSettings(texts);
    const MathFun::SyntheticParameters parameters =
        tie::synthesisParameters(chirp.start, chirp.end, chirp.interval);
    const std::filesystem::path tracePath =
        texts.trace.empty() ? dir.file("trace.txt") : std::filesystem::path(texts.trace);
    request.trace = tie::readSeriesFile(tracePath, 0.001);
    const MathFun::SyntheticLog log = engine::readLog(dir);
    engine::checkWaveletSweep(dir, parameters.startFrequency, parameters.endFrequency);
    request.synthesiser = std::make_shared<const tie::TieSynthesiser>(
        log, engine::readWavelet(dir, parameters.samplingInterval, chirp.interval), parameters);
    const tie::TieMeasurement measurement = tie::measureTie(request);
    const auto report = tie::tieReport(measurement);
    for (const auto& [key, value] : report) {
        out << key << ' ' << value << '\n';
    }
    if (measurement.atSearchEdge) {
        err << "quarvel-synth: warning: the best tie lies on an edge of the search; widen "
               "--factor-range or --max-shift.\n";
    }
    if (!texts.scanOut.empty()) {
        writeTextFile(texts.scanOut, tie::factorCurveCsv(measurement));
        out << "Wrote " << texts.scanOut << '\n';
    }
    if (!texts.report.empty()) {
        tie::ReportSources sources;
        sources.log = dir.file(MathFun::LogFileName).string();
        sources.wavelet = dir.file(MathFun::KlauderFileName).string();
        sources.trace = tracePath.string();
        sources.chirp = {chirp.start, chirp.end, chirp.interval};
        writeTextFile(texts.report, tie::tieReportText(measurement, sources, std::string(Version)));
        out << "Wrote " << texts.report << '\n';
    }
    if (texts.apply == "yes") {
        if (!measurement.significant) {
            err << "quarvel-synth: warning: applying a tie that is not significant.\n";
        }
        const double factor = measurement.bestPoint().factor;
        std::vector<LogRecord> records;
        for (std::size_t i = 0; i < log.depth.size(); ++i) {
            records.push_back({log.depth[i], log.velocity[i] * factor, log.density[i]});
        }
        writeTextFile(dir.file(MathFun::LogFileName), formatLogRecords(records));
        out << "applied_factor " << numbers::formatFixed(factor, 4) << '\n'
            << "Wrote " << dir.file(MathFun::LogFileName).string() << '\n';
    }
    return measurement;
}

} // namespace quarvel::tools
