#include "export_commands.h"

#include "engine/engine_inputs.h"
#include "formats/numbers.h"
#include "formats/text_file.h"
#include "survey/las_writer.h"
#include "survey/segy_writer.h"
#include "tie/tie_series.h"
#include "usage_error.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <vector>

namespace quarvel::tools {
namespace {

double positiveNumber(std::string_view option, const std::string& text) {
    const std::optional<double> value = numbers::tryParseNumber(text);
    if (!value || !(*value > 0) || !std::isfinite(*value)) {
        throw synth::UsageError{std::string(option) + " must be a number above 0, not '" + text +
                                "'"};
    }
    return *value;
}

} // namespace

std::string today() {
    const std::chrono::year_month_day date{
        std::chrono::floor<std::chrono::days>(std::chrono::system_clock::now())};
    const auto twoDigits = [](unsigned value) {
        return std::string(value < 10 ? "0" : "") + std::to_string(value);
    };
    return std::to_string(static_cast<int>(date.year())) + '-' +
           twoDigits(static_cast<unsigned>(date.month())) + '-' +
           twoDigits(static_cast<unsigned>(date.day()));
}

void runExport(const WorkDir& dir, const ExportTexts& texts, std::ostream& out) {
    if (texts.segy.empty() && texts.las.empty()) {
        throw synth::UsageError{"export needs --segy FILE or --las FILE"};
    }
    const double factor = positiveNumber("--factor", texts.factor);
    // Both files are made before either is written, so that a refusal
    // leaves the two as they were.
    std::vector<PendingFile> files;
    if (!texts.segy.empty()) {
        const double start = positiveNumber("--start", texts.start);
        const double end = positiveNumber("--end", texts.end);
        const std::filesystem::path ampl = dir.file("ampl.dat");
        const tie::TimeSeries synthetic = tie::readSeriesFile(ampl, 1.0);
        SegyTraceExport trace =
            evenlySampledTrace(synthetic.time, synthetic.value, ampl.filename().string());
        trace.description = {"SYNTHETIC " + ampl.string(),
                             "VELOCITY LOG " + dir.file("log.dat").string(),
                             "CHIRP " + numbers::formatSignificant(start, 9) + " TO " +
                                 numbers::formatSignificant(end, 9) + " HZ"};
        files.push_back({texts.segy, segyTraceBytes(trace)});
    }
    if (!texts.las.empty()) {
        const MathFun::SyntheticLog log = engine::readLog(dir);
        LasExport las{{}, factor, texts.factorSource, "log.dat", today()};
        for (int i = 0; i < log.rows(); ++i) {
            las.records.push_back({log.depth[i], log.velocity[i], log.density[i]});
        }
        files.push_back({texts.las, lasText(las)});
    }
    writeTextFiles(files);
    for (const PendingFile& file : files) {
        out << "Wrote " << file.path.string() << '\n';
    }
}

} // namespace quarvel::tools
