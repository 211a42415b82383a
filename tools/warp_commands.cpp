#include "warp_commands.h"

#include "engine/engine_inputs.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "tie/depth_varying_tie.h"
#include "tie/tie_series.h"
#include "tie/tie_synthesiser.h"

#include <filesystem>
#include <optional>

namespace quarvel::tools {
namespace {

double velocityLimit(const std::string& percent) {
    const std::optional<double> value = numbers::tryParseNumber(percent);
    if (!value || !(*value > 0) || !(*value <= tie::MaxVelocityChange * 100)) {
        throw QuarvelError("--velocity-limit must be a percentage above 0 and at most " +
                           numbers::formatFixed(tie::MaxVelocityChange * 100, 0) + ", not '" +
                           percent + "'.");
    }
    return *value / 100;
}

} // namespace

void checkDepthVarying(const DepthVaryingTexts& texts, const std::string& apply) {
    if (texts.enabled != "yes") {
        return;
    }
    velocityLimit(texts.velocityLimit);
    if (apply == "yes") {
        throw QuarvelError("--apply scales log.dat by the bulk factor; it cannot be combined "
                           "with --depth-varying.");
    }
}

void printDepthVaryingTie(const WorkDir& dir, const ChirpTexts& chirp, const std::string& trace,
                          const tie::TieMeasurement& bulk, const DepthVaryingTexts& texts,
                          std::ostream& out) {
    tie::WarpLimits limits;
    limits.velocityChange = velocityLimit(texts.velocityLimit);
    const MathFun::SyntheticParameters parameters =
        tie::synthesisParameters(chirp.start, chirp.end, chirp.interval);
    const MathFun::SyntheticLog log = engine::readLog(dir);
    const tie::TieSynthesiser synthesise(
        log, engine::readWavelet(dir, parameters.samplingInterval, chirp.interval), parameters);
    const tie::DepthVaryingRequest request = tie::depthVaryingRequest(
        synthesise, log, bulk,
        tie::readSeriesFile(trace.empty() ? dir.file("trace.txt") : std::filesystem::path(trace),
                            0.001),
        limits);
    const tie::DepthVaryingTie tie = tie::tieDepthVarying(request);
    for (const auto& [key, value] : tie::depthVaryingReport(tie, request)) {
        out << key << ' ' << value << '\n';
    }
    if (!texts.tdrOut.empty()) {
        writeTextFile(texts.tdrOut, tie::depthVaryingCsv(tie, request));
        out << "Wrote " << texts.tdrOut << '\n';
    }
}

} // namespace quarvel::tools
