#include "tie/tie_report.h"

#include "formats/numbers.h"
#include "tie/tie_match.h"

namespace quarvel::tie {
namespace {

void line(std::string& text, const std::string& key, const std::string& value) {
    text += key;
    text += ' ';
    text += value;
    text += "\r\n";
}

} // namespace

std::string tieReportText(const TieMeasurement& m, const ReportSources& sources,
                          const std::string& version) {
    std::string text = "# Quarvel tie report, quarvel " + version + "\r\n# Settings\r\n";
    line(text, "log_file", sources.log);
    for (const std::string& choice : sources.import) {
        line(text, "log_import", choice);
    }
    line(text, "wavelet_file", sources.wavelet);
    line(text, "chirp_start_hz", sources.chirp.start);
    line(text, "chirp_end_hz", sources.chirp.end);
    line(text, "sampling_interval_s", sources.chirp.interval);
    line(text, "impedance", "averaged over each sample's time cell");
    line(text, "synthetic_time_zero", "the sea floor's arrival");
    line(text, "trace_file", sources.trace);
    for (const std::string& detail : sources.traceDetails) {
        line(text, "trace_detail", detail);
    }
    line(text, "trace_time_zero", "its first sample (cut at the sea floor)");
    line(text, "window_rule",
         "from the end of the sea floor's own arrival to the core base; a shift counts where "
         "the trace covers " +
             numbers::formatFixed(MinCoverage * 100, 0) + " % of the window");
    line(text, "null_model",
         "phase-randomised surrogates of the trace, each searched over the same coarse "
         "factors and shifts");
    text += "# Results\r\n";
    for (const auto& [key, value] : tieReport(m)) {
        line(text, key, value);
    }
    return text;
}

std::string factorCurveCsv(const TieMeasurement& m) {
    std::string text = "factor,best_shift_ms,coefficient\r\n";
    for (const FactorPoint& p : m.factors) {
        text += numbers::formatFixed(p.factor, 4) + "," + numbers::formatFixed(p.shift * 1000, 4) +
                "," + numbers::formatFixed(p.coefficient, 4) + "\r\n";
    }
    return text;
}

} // namespace quarvel::tie
