#include "survey/las_writer.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <cmath>
#include <string_view>

namespace quarvel {
namespace {

using numbers::formatFixed;
using numbers::formatInteger;
using numbers::formatSignificant;

[[noreturn]] void refuse(std::string_view reason) {
    throw QuarvelError("Cannot write the log as LAS. " + std::string(reason));
}

std::string headerText(std::string_view text) {
    std::string kept;
    for (const char ch : text) {
        const auto c = static_cast<unsigned char>(ch);
        kept += ch == ':' ? ';' : c >= 32 && c <= 126 ? ch : '?';
    }
    return kept;
}

void appendLine(std::string& text, std::string_view line) {
    text += line;
    text += "\r\n";
}

// " MNEM.UNIT  VALUE : DESCRIPTION", the value column aligned.
void appendEntry(std::string& text, std::string_view mnemonic, std::string_view unit,
                 std::string_view value, std::string_view description) {
    std::string line = ' ' + std::string(mnemonic);
    line += std::string(mnemonic.size() < 4 ? 4 - mnemonic.size() : 0, ' ');
    line += '.' + std::string(unit);
    line += std::string(line.size() < 14 ? 14 - line.size() : 1, ' ');
    line += headerText(value);
    line += std::string(line.size() < 30 ? 30 - line.size() : 1, ' ');
    line += ": " + headerText(description);
    appendLine(text, line);
}

// The even spacing of the depths, or 0 when they are not evenly spaced (to a
// tenth of a millimetre, the finest the log's text keeps).
double depthStep(const std::vector<LogRecord>& records) {
    if (records.size() < 2) {
        return 0;
    }
    const double step =
        (records.back().Depth - records.front().Depth) / static_cast<double>(records.size() - 1);
    for (std::size_t i = 1; i < records.size(); ++i) {
        if (std::abs(records[i].Depth - records[i - 1].Depth - step) > 1e-4) {
            return 0;
        }
    }
    return step;
}

} // namespace

std::string lasText(const LasExport& log) {
    if (log.records.empty()) {
        refuse("The log has no rows.");
    }
    if (!(std::isfinite(log.velocityFactor) && log.velocityFactor > 0)) {
        refuse("The velocity factor " + formatSignificant(log.velocityFactor, 9) +
               " is not a number above 0.");
    }
    std::vector<LogRecord> corrected = log.records;
    for (std::size_t i = 0; i < corrected.size(); ++i) {
        LogRecord& record = corrected[i];
        record.Velocity *= log.velocityFactor;
        if (!std::isfinite(record.Depth) || !std::isfinite(record.Velocity) ||
            !std::isfinite(record.Density)) {
            refuse("Row " + formatInteger(static_cast<long long>(i + 1)) +
                   " holds a value that is not a number.");
        }
    }
    const LogDecimals decimals = decimalsToKeep(corrected);
    const auto depth = [&](double value) { return formatFixed(value, decimals.depth); };

    std::string text;
    appendLine(text, "~Version information");
    appendEntry(text, "VERS", "", "2.0", "CWLS LOG ASCII STANDARD - VERSION 2.0");
    appendEntry(text, "WRAP", "", "NO", "ONE LINE PER DEPTH STEP");
    appendLine(text, "~Well information");
    appendEntry(text, "STRT", "M", depth(corrected.front().Depth), "START DEPTH");
    appendEntry(text, "STOP", "M", depth(corrected.back().Depth), "STOP DEPTH");
    appendEntry(text, "STEP", "M", depth(depthStep(corrected)), "STEP");
    appendEntry(text, "NULL", "", "-999.25", "NULL VALUE");
    appendEntry(text, "COMP", "", "", "COMPANY");
    appendEntry(text, "WELL", "", log.well, "WELL");
    appendEntry(text, "FLD", "", "", "FIELD");
    appendEntry(text, "LOC", "", "", "LOCATION");
    appendEntry(text, "PROV", "", "", "PROVINCE");
    appendEntry(text, "SRVC", "", "", "SERVICE COMPANY");
    appendEntry(text, "DATE", "", log.date, "LOG DATE");
    appendEntry(text, "UWI", "", "", "UNIQUE WELL ID");
    appendLine(text, "~Parameter information");
    appendEntry(text, "VFAC", "", formatFixed(log.velocityFactor, 4),
                log.factorSource.empty() ? "VELOCITY FACTOR"
                                         : "VELOCITY FACTOR (" + log.factorSource + ")");
    appendLine(text, "~Curve information");
    appendEntry(text, "DEPT", "M", "", "DEPTH");
    appendEntry(text, "VP", "M/S", "", "P-WAVE VELOCITY, TIMES VFAC");
    appendEntry(text, "RHOB", "G/CM3", "", "BULK DENSITY");
    appendLine(text, "~A  DEPT  VP  RHOB");
    for (const LogRecord& record : corrected) {
        appendLine(text, formatFixed(record.Depth, decimals.depth, 10) + ' ' +
                             formatFixed(record.Velocity, decimals.velocity, 12) + ' ' +
                             formatFixed(record.Density, decimals.density, 10));
    }
    return text;
}

void writeLasFile(const std::filesystem::path& path, const LasExport& log) {
    writeTextFile(path, lasText(log));
}

} // namespace quarvel
