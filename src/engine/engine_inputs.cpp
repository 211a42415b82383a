#include "engine/engine_inputs.h"

#include "engine/math_fun.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/token_reader.h"

#include <cerrno>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <functional>
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

// Reads rows of `width` numbers until only separators are left, handing each
// to store(row, values); at most maxRows rows (tooMany is thrown beyond).
int readRows(std::istream& in, const std::filesystem::path& path, int width, int maxRows,
             const std::string& tooMany, const std::function<void(int, const double*)>& store) {
    TokenReader reader(in);
    int rows = 0;
    double values[3] = {};
    while (!reader.onlySeparatorsLeft()) {
        if (rows == maxRows) {
            throw QuarvelError(tooMany);
        }
        ++rows;
        for (int c = 0; c < width; ++c) {
            const std::string token = reader.readToken();
            if (token.empty()) {
                throw QuarvelError(formatMessage("Row %s of \"%s\" holds fewer than %s numbers.",
                                                 {rowText(rows), path.string(), rowText(width)}));
            }
            values[c] = numbers::parseNumber(token);
            if (!std::isfinite(values[c])) {
                throw QuarvelError(
                    formatMessage("Row %s of \"%s\" holds a number out of range (\"%s\").",
                                  {rowText(rows), path.string(), token}));
            }
        }
        store(rows, values);
    }
    if (in.bad()) {
        throwCannotOpen(path.string(), systemReason());
    }
    return rows;
}

} // namespace

MathFun::SyntheticLog readLog(const WorkDir& workDir) {
    const std::filesystem::path path = workDir.file(MathFun::LogFileName);
    std::ifstream in = openInput(
        path, "There is no log to compute from: \"%s\" is missing. Load a log in the data "
              "editor first.");
    MathFun::SyntheticLog log;
    readRows(in, path, 3, Series::Capacity,
             formatMessage("\"%s\" holds more than %s rows.",
                           {path.string(), rowText(Series::Capacity)}),
             [&](int, const double* v) {
                 log.depth.push_back(v[0]);
                 log.velocity.push_back(v[1]);
                 log.density.push_back(v[2]);
             });
    MathFun::checkSyntheticLog(log, path.string());
    return log;
}

MathFun::SyntheticWavelet readWavelet(const WorkDir& workDir) {
    const std::filesystem::path path = workDir.file(MathFun::KlauderFileName);
    const std::string missing =
        "There is no Klauder wavelet: \"%s\" is missing or empty. Press GO in the chirp "
        "window to generate it first.";
    std::ifstream in = openInput(path, missing);
    // Twice the count, the wavelet and its closing 0, must fit a series.
    const int maxRows = Series::Capacity / 2 - 1;
    MathFun::SyntheticWavelet wavelet;
    readRows(in, path, 2, maxRows,
             formatMessage("\"%s\" holds more than %s rows; the engine's "
                           "series cannot hold the wavelet.",
                           {path.string(), rowText(maxRows)}),
             [&](int, const double* v) { wavelet.amplitudes.push_back(v[1]); });
    if (wavelet.amplitudes.empty()) {
        throw QuarvelError(formatMessage(missing, {path.string()}));
    }
    return wavelet;
}

} // namespace quarvel::engine
