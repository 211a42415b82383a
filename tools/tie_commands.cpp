#include "tie_commands.h"

#include "engine/engine_inputs.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "tie/tie_measure.h"
#include "tie/tie_series.h"
#include "tie/tie_synthesiser.h"
#include "tie/time_depth.h"

#include <tuple>

namespace quarvel::tools {

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

void warnAboutTimeZero(const MathFun::SyntheticCounts& counts, MathFun::TimeZero timeZero,
                       std::ostream& err) {
    if (timeZero == MathFun::TimeZero::Strongest && counts.timeZero.far) {
        err << "quarvel-synth: warning: " << MathFun::timeZeroWarning(counts.timeZero)
            << " (--time-zero sea-floor starts it there)\n";
    }
}

void printTie(const WorkDir& dir, const ChirpTexts& chirp, const TieTexts& texts,
              std::ostream& out) {
    tie::TieRequest request;
    request.maxShift = tie::shiftLimitFromText(texts.maxShift, "--max-shift");
    const std::size_t blank = texts.factorRange.find(' ');
    std::tie(request.minFactor, request.maxFactor) = tie::factorRangeFromTexts(
        texts.factorRange.substr(0, blank),
        blank == std::string::npos ? std::string() : texts.factorRange.substr(blank + 1),
        "--factor-range");
    const MathFun::SyntheticParameters parameters =
        tie::synthesisParameters(chirp.start, chirp.end, chirp.interval);
    request.synthetic = tie::readSeriesFile(dir.file("ampl.dat"), 1.0);
    request.trace = tie::readSeriesFile(
        texts.trace.empty() ? dir.file("trace.txt") : std::filesystem::path(texts.trace), 0.001);
    request.synthesise = tie::engineSynthesiser(
        engine::readLog(dir), engine::readWavelet(dir, parameters.samplingInterval, chirp.interval),
        parameters, texts.timeZero);
    for (const auto& [key, value] : tie::tieReport(tie::measureTie(request))) {
        out << key << ' ' << value << '\n';
    }
}

} // namespace quarvel::tools
