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

int readLog(const WorkDir& workDir, Series& depth, Series& velocity, Series& density) {
    const std::filesystem::path path = workDir.file(MathFun::LogFileName);
    std::ifstream in = openInput(
        path, "There is no log to compute from: \"%s\" is missing. Load a log in the data "
              "editor first.");
    const int rows = readRows(in, path, 3, Series::Capacity,
                              formatMessage("\"%s\" holds more than %s rows.",
                                            {path.string(), rowText(Series::Capacity)}),
                              [&](int row, const double* v) {
                                  depth[row] = v[0];
                                  velocity[row] = v[1];
                                  density[row] = v[2];
                              });
    if (rows < 2) {
        throw QuarvelError(
            formatMessage("\"%s\" holds %s %s; the synthetic needs a log of at least two rows.",
                          {path.string(), rowText(rows), rows == 1 ? "row" : "rows"}));
    }
    for (int i = 1; i <= rows; ++i) {
        if (i > 1 && !(depth[i] > depth[i - 1])) {
            throw QuarvelError(formatMessage(
                "The depths in \"%s\" must increase from row to row: row %s is not deeper "
                "than row %s.",
                {path.string(), rowText(i), rowText(i - 1)}));
        }
        if (!(velocity[i] > 0.0)) {
            throw QuarvelError(formatMessage(
                "Row %s of \"%s\" has a P-wave velocity that is not above 0 (a missing value? "
                "\"Interpolate Series\" in the data editor fills gaps in a log).",
                {rowText(i), path.string()}));
        }
    }
    return rows;
}

int readWavelet(const WorkDir& workDir, Series& wavelet) {
    const std::filesystem::path path = workDir.file(MathFun::KlauderFileName);
    const std::string missing =
        "There is no Klauder wavelet: \"%s\" is missing or empty. Press GO in the chirp "
        "window to generate it first.";
    std::ifstream in = openInput(path, missing);
    // Twice the count, the wavelet and its closing 0, must fit a series.
    const int maxRows = Series::Capacity / 2 - 1;
    const int rows = readRows(in, path, 2, maxRows,
                              formatMessage("\"%s\" holds more than %s rows; the engine's "
                                            "series cannot hold the wavelet.",
                                            {path.string(), rowText(maxRows)}),
                              [&](int row, const double* v) { wavelet[row] = v[1]; });
    if (rows == 0) {
        throw QuarvelError(formatMessage(missing, {path.string()}));
    }
    wavelet[rows + 1] = 0.0;
    return rows + 1;
}

} // namespace quarvel::engine
