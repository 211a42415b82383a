#include "engine/engine_inputs.h"

#include "engine/math_fun.h"
#include "formats/field_lines.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <span>
#include <string>

namespace quarvel::engine {
namespace {

std::string rowText(int row) {
    return numbers::formatInteger(row);
}

// Opens a working file, telling the user what to do when it is not there.
std::ifstream openInput(const std::filesystem::path& path, std::string_view missingMessage) {
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
        if (std::filesystem::exists(path, ec)) {
            throwCannotOpen(path.string(), "It is not a file.");
        }
        throw QuarvelError(formatMessage(missingMessage, {path.string()}));
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        throwCannotOpen(path.string(), systemReason());
    }
    return in;
}

// Reads the file's records, `width` numbers on each line, handing each to
// store(values); at most maxRows rows (tooMany is thrown beyond). A field must
// be a number as a whole: "1,873" is not read as 1, nor "nan" as 0.
void readRows(std::istream& in, const std::filesystem::path& path, int width,
              std::string_view fields, int maxRows, const std::string& tooMany,
              const std::function<void(const double*)>& store) {
    const std::string fileName = path.string();
    double values[3] = {};
    readFieldLines(
        in, {fileName, width, fields, maxRows, tooMany},
        [&](int line, std::span<const std::string> tokens) {
            for (int c = 0; c < width; ++c) {
                const std::string& token = tokens[static_cast<std::size_t>(c)];
                const std::optional<double> value = numbers::tryParseNumber(token);
                if (!value) {
                    throw QuarvelError(formatMessage("Line %s of \"%s\": \"%s\" is not a number.",
                                                     {rowText(line), fileName, shownField(token)}));
                }
                if (!std::isfinite(*value)) {
                    throw QuarvelError(
                        formatMessage("Line %s of \"%s\" holds a number out of range (\"%s\").",
                                      {rowText(line), fileName, shownField(token)}));
                }
                values[c] = *value;
            }
            store(values);
        });
    if (in.bad()) {
        throwCannotOpen(fileName, systemReason());
    }
}

std::string_view trimmedText(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

MathFun::SyntheticLog readLog(const WorkDir& workDir) {
    const std::filesystem::path path = workDir.file(MathFun::LogFileName);
    std::ifstream in = openInput(
        path, "There is no log to compute from: \"%s\" is missing. Load a log in the data "
              "editor first.");
    MathFun::SyntheticLog log;
    readRows(in, path, 3, "depth, P-wave velocity, density", Series::Capacity,
             formatMessage("\"%s\" holds more than %s rows.",
                           {path.string(), rowText(Series::Capacity)}),
             [&](const double* v) {
                 log.depth.push_back(v[0]);
                 log.velocity.push_back(v[1]);
                 log.density.push_back(v[2]);
             });
    MathFun::checkSyntheticLog(log, path.string());
    return log;
}

MathFun::SyntheticWavelet readWavelet(const WorkDir& workDir, double interval,
                                      std::string_view intervalText) {
    const std::filesystem::path path = workDir.file(MathFun::KlauderFileName);
    const std::string missing =
        "There is no Klauder wavelet: \"%s\" is missing or empty. Press GO in the chirp "
        "window to generate it first.";
    std::ifstream in = openInput(path, missing);
    // Twice the count, the wavelet and its closing 0, must fit a series.
    const int maxRows = Series::Capacity / 2 - 1;
    MathFun::SyntheticWavelet wavelet;
    double previousTime = 0.0;
    double lastTime = 0.0;
    readRows(in, path, 2, "lag time, amplitude", maxRows,
             formatMessage("\"%s\" holds more than %s rows; the engine's "
                           "series cannot hold the wavelet.",
                           {path.string(), rowText(maxRows)}),
             [&](const double* v) {
                 previousTime = lastTime;
                 lastTime = v[0];
                 wavelet.amplitudes.push_back(v[1]);
             });
    if (wavelet.amplitudes.empty()) {
        throw QuarvelError(formatMessage(missing, {path.string()}));
    }
    // The lag times step by the interval the wavelet was made with; a wavelet
    // of one line is its peak line, labelled with one interval.
    const double lagStep = wavelet.amplitudes.size() == 1 ? lastTime : lastTime - previousTime;
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

} // namespace quarvel::engine
