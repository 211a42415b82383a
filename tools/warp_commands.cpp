#include "warp_commands.h"

#include "editor/log_grid.h"
#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "export_commands.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "survey/las_writer.h"
#include "tie/depth_varying_tie.h"
#include "tie/tie_series.h"
#include "tie/tie_synthesiser.h"

#include <filesystem>
#include <memory>

namespace quarvel::tools {

void checkDepthVarying(const DepthVaryingTexts& texts) {
    if (texts.enabled != "yes") {
        if (!texts.logOut.empty()) {
            throw QuarvelError("--log-out writes the log the depth-varying tie gives; add "
                               "--depth-varying.");
        }
        return;
    }
    tie::velocityLimitFromText(texts.velocityLimit, "--velocity-limit");
}

void printDepthVaryingTie(const WorkDir& dir, const ChirpTexts& chirp, const std::string& trace,
                          const tie::TieMeasurement& bulk, const DepthVaryingTexts& texts,
                          std::ostream& out, std::ostream& err) {
    tie::WarpLimits limits;
    limits.velocityChange = tie::velocityLimitFromText(texts.velocityLimit, "--velocity-limit");
    const MathFun::SyntheticParameters parameters =
        tie::synthesisParameters(chirp.start, chirp.end, chirp.interval);
    const std::string logText = readTextFile(dir.file(MathFun::LogFileName));
    const MathFun::SyntheticLog log =
        engine::readLogText(logText, dir.file(MathFun::LogFileName).string());
    const MathFun::SyntheticWavelet wavelet =
        engine::readWavelet(dir, parameters.samplingInterval, chirp.interval);
    const tie::TimeSeries traceSeries = tie::readSeriesFile(
        trace.empty() ? dir.file("trace.txt") : std::filesystem::path(trace), 0.001);
    const tie::DepthVaryingRequest request = tie::depthVaryingRequest(
        tie::TieSynthesiser(log, wavelet, parameters), log, bulk, traceSeries, limits);
    const tie::DepthVaryingTie tie = tie::tieDepthVarying(request);
    for (const auto& [key, value] : tie::depthVaryingReport(tie, request)) {
        out << key << ' ' << value << '\n';
    }
    // The log with every interval retimed, by the rule the Tie window's
    // Apply uses: through the data editor's grid.
    LogGrid grid;
    LoadLog(grid, logText, MathFun::LogFileName);
    retimeVelocities(grid, [&tie](double depth) { return tie.relation.twtAt(depth); });
    const std::string retimed = SaveLog(grid);
    std::vector<PendingFile> files;
    if (!texts.tdrOut.empty()) {
        files.push_back({texts.tdrOut, tie::depthVaryingCsv(tie, request)});
    }
    if (!texts.logOut.empty()) {
        LasExport las{readLogFileRecords(retimed, MathFun::LogFileName).records, 1,
                      "depth-varying tie, p = " + numbers::formatFixed(tie.nullPValue, 4),
                      "log.dat", today()};
        files.push_back({texts.logOut, lasText(las)});
    }
    if (texts.apply == "yes") {
        if (!tie.significant) {
            err << "quarvel-synth: warning: applying a depth-varying tie that is not "
                   "significant.\n";
        }
        files.push_back({dir.file(MathFun::LogFileName), retimed});
    }
    writeTextFiles(files);
    for (const PendingFile& file : files) {
        out << "Wrote " << file.path.string() << '\n';
    }
    if (texts.apply == "yes") {
        // The log applied, measured as the bulk tie measured the log as it
        // was: its coefficient at its best shift.
        tie::TieRequest after;
        after.trace = traceSeries;
        after.settings.surrogates = 0;
        after.synthesiser = std::make_shared<const tie::TieSynthesiser>(
            engine::readLogText(retimed, std::string(MathFun::LogFileName)), wavelet, parameters);
        const tie::TieMeasurement measured = tie::measureTie(after);
        out << "log_coefficient_before "
            << numbers::formatFixed(bulk.atFactorOne[bulk.bulkShift], 4) << '\n'
            << "log_coefficient_after "
            << numbers::formatFixed(measured.atFactorOne[measured.bulkShift], 4) << '\n';
    }
}

} // namespace quarvel::tools
