#include "engine/engine_inputs.h"

#include "engine/math_fun.h"
#include "formats/capacity.h"
#include "formats/field_lines.h"
#include "formats/log_file.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "formats/wavelet_file.h"

#include <cmath>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

namespace quarvel::engine {
namespace {

std::string rowText(int row) {
    return numbers::formatInteger(row);
}

// The whole of a working file, telling the user what to do when it is not
// there. No working file the program writes comes near the log's limit.
std::string readInput(const std::filesystem::path& path, std::string_view missingMessage) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        if (std::filesystem::exists(path, ec)) {
            throwCannotOpen(path.string(), "It is not a file.");
        }
        throw QuarvelError(formatMessage(missingMessage, {path.string()}), ErrorKind::NotFound);
    }
    return readTextFile(path, LogFileLimit);
}

std::string_view trimmedText(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// The log's rows straight into the engine's columns.
class LogColumns final : public FieldSink {
public:
    explicit LogColumns(MathFun::SyntheticLog& log) : log_(log) {}
    void reserve(std::size_t rows) override {
        log_.depth.reserve(rows);
        log_.velocity.reserve(rows);
        log_.density.reserve(rows);
    }
    void add(std::span<const double> row) override {
        log_.depth.push_back(row[0]);
        log_.velocity.push_back(row[1]);
        log_.density.push_back(row[2]);
    }

private:
    MathFun::SyntheticLog& log_;
};

} // namespace

MathFun::SyntheticLog readLog(const WorkDir& workDir) {
    const std::filesystem::path path = workDir.file(MathFun::LogFileName);
    const std::string text = readInput(
        path, "There is no log to compute from: \"%s\" is missing. Load a log in the data "
              "editor first.");
    return readLogText(text, path.string());
}

MathFun::SyntheticLog readLogText(std::string_view text, const std::string& fileName) {
    const std::string tooMany =
        formatMessage("\"%s\" holds more than %s rows.", {fileName, rowText(SeriesCapacity)});
    MathFun::SyntheticLog log;
    LogColumns columns(log);
    readLogRecords(text, {fileName, FieldRule::WholeNumbersPerLine, SeriesCapacity, tooMany},
                   columns);
    MathFun::checkSyntheticLog(log, fileName);
    // Depths are measured down from the core top; one above it would put the
    // log's first layer before the sea floor and its times below zero.
    if (log.depth.front() < 0) {
        throw QuarvelError(
            formatMessage(
                "The first depth in \"%s\" is %s m, above the core top: a log's depths start at 0 "
                "or below it.",
                {fileName, numbers::formatSignificant(log.depth.front(), 9)}),
            ErrorKind::InvalidData);
    }
    return log;
}

MathFun::SyntheticWavelet readWavelet(const WorkDir& workDir, double interval,
                                      std::string_view intervalText) {
    const std::filesystem::path path = workDir.file(MathFun::KlauderFileName);
    const std::string missing =
        "There is no Klauder wavelet: \"%s\" is missing or empty. Press GO in the chirp "
        "window to generate it first.";
    const std::string text = readInput(path, missing);
    // Twice the count, the wavelet and its closing 0, must fit a series.
    const int maxRows = SeriesCapacity / 2 - 1;
    const std::string fileName = path.string();
    const std::string tooMany = formatMessage("\"%s\" holds more than %s rows; the engine's "
                                              "series cannot hold the wavelet.",
                                              {fileName, rowText(maxRows)});
    WaveletFile rows = parseWaveletFile(text, {fileName, FieldRule::WholeNumbersPerLine,
                                               static_cast<std::size_t>(maxRows), tooMany});
    MathFun::SyntheticWavelet wavelet{std::move(rows.value)};
    if (wavelet.amplitudes.empty()) {
        throw QuarvelError(formatMessage(missing, {path.string()}), ErrorKind::NotFound);
    }
    // The lag times step by the interval the wavelet was made with; a wavelet
    // of one line is its peak line, labelled with one interval.
    const std::size_t count = rows.time.size();
    const double lastTime = rows.time.back();
    const double lagStep = count == 1 ? lastTime : lastTime - rows.time[count - 2];
    // The times are printed to 15 significant digits; one part in a million
    // is far above that and far below any stretch that shows.
    if (!(std::fabs(lagStep - interval) <= 1e-6 * interval)) {
        throw QuarvelError(formatMessage(
            "klauder.dat was made with a sampling interval of %s s, but the chirp window says "
            "%s s: press GO to make the wavelet again.",
            {numbers::formatSignificant(lagStep, 9), trimmedText(intervalText)}));
    }
    return wavelet;
}

void checkWaveletSweep(const WorkDir& workDir, double start, double end) {
    const std::vector<std::string> lines =
        splitLines(readTextPrefix(workDir.file(MathFun::WaveletSweepFileName), 4096));
    if (lines.size() < 3) {
        return;
    }
    const auto madeStart = numbers::tryParseNumber(lines[1]);
    const auto madeEnd = numbers::tryParseNumber(lines[2]);
    if (!madeStart || !madeEnd) {
        return;
    }
    const auto differs = [](double made, double asked) {
        return !(std::fabs(made - asked) <= 1e-9 * std::fabs(asked));
    };
    if (differs(*madeStart, start) || differs(*madeEnd, end)) {
        throw QuarvelError(formatMessage(
            "klauder.dat was made for a sweep from %s to %s Hz, but the chirp window says %s to "
            "%s Hz: press GO to make the wavelet again.",
            {numbers::formatSignificant(*madeStart, 9), numbers::formatSignificant(*madeEnd, 9),
             numbers::formatSignificant(start, 9), numbers::formatSignificant(end, 9)}));
    }
}

} // namespace quarvel::engine
