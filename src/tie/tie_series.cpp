#include "tie/tie_series.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "tie/analytic_signal.h"

#include <cmath>
#include <string>

namespace quarvel::tie {
namespace {

std::vector<std::string_view> tokens(std::string_view line) {
    std::vector<std::string_view> result;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && static_cast<unsigned char>(line[i]) <= 32) {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && static_cast<unsigned char>(line[i]) > 32) {
            ++i;
        }
        if (i > start) {
            result.push_back(line.substr(start, i - start));
        }
    }
    return result;
}

[[noreturn]] void refuseLine(std::size_t line, std::string_view fileName, std::string_view why) {
    throw QuarvelError(
        formatMessage("Line %s of \"%s\" %s",
                      {numbers::formatInteger(static_cast<long long>(line)), fileName, why}));
}

} // namespace

TimeSeries parseSeries(std::string_view text, std::string_view fileName, double secondsPerUnit) {
    TimeSeries series;
    std::size_t lineNumber = 0;
    for (const std::string& line : splitLines(text)) {
        ++lineNumber;
        const std::vector<std::string_view> words = tokens(line);
        if (words.empty()) {
            continue;
        }
        if (words.size() != 2) {
            refuseLine(lineNumber, fileName, "is not a time and an amplitude.");
        }
        const std::optional<double> time = numbers::tryParseNumber(words[0]);
        const std::optional<double> value = numbers::tryParseNumber(words[1]);
        if (!time || !value || !std::isfinite(*time) || !std::isfinite(*value)) {
            refuseLine(lineNumber, fileName, "is not a time and an amplitude.");
        }
        const double seconds = *time * secondsPerUnit;
        if (!series.time.empty() && !(seconds > series.time.back())) {
            refuseLine(lineNumber, fileName, "has a time that is not later than the line before.");
        }
        if (series.time.size() == MaxTieSamples) {
            throw QuarvelError(formatMessage(
                "\"%s\" holds more than %s samples.",
                {fileName, numbers::formatInteger(static_cast<long long>(MaxTieSamples))}));
        }
        series.time.push_back(seconds);
        series.value.push_back(*value);
    }
    if (series.time.size() < 2) {
        throw QuarvelError(formatMessage(
            "\"%s\" holds fewer than two samples; there is nothing to compare.", {fileName}));
    }
    return series;
}

TimeSeries checkedSeries(const std::vector<double>& times, const std::vector<double>& values,
                         std::string_view source, double secondsPerUnit) {
    TimeSeries series;
    for (std::size_t i = 0; i < times.size() && i < values.size(); ++i) {
        const double seconds = times[i] * secondsPerUnit;
        if (!std::isfinite(seconds) || !std::isfinite(values[i]) ||
            (i > 0 && !(seconds > series.time.back()))) {
            throw QuarvelError(
                formatMessage("Sample %s of %s is out of range or no later than the sample before.",
                              {numbers::formatInteger(static_cast<long long>(i + 1)), source}));
        }
        series.time.push_back(seconds);
        series.value.push_back(values[i]);
    }
    if (series.time.size() < 2) {
        throw QuarvelError(formatMessage(
            "%s holds fewer than two samples; there is nothing to compare.", {source}));
    }
    return series;
}

TimeSeries readSeriesFile(const std::filesystem::path& path, double secondsPerUnit) {
    const std::string text = readTextFile(path, 64ULL * 1024 * 1024);
    if (text.find('\0') != std::string::npos) {
        throwCannotOpen(path.string(), "It is not a text file.");
    }
    return parseSeries(text, path.string(), secondsPerUnit);
}

bool isFullWaveform(const std::vector<double>& values) {
    std::size_t negative = 0;
    for (const double v : values) {
        if (v < 0) {
            ++negative;
        }
    }
    return !values.empty() && 3 * negative >= values.size();
}

PreparedTrace prepareTrace(const TimeSeries& trace) {
    PreparedTrace prepared;
    prepared.series.time.reserve(trace.time.size());
    for (const double t : trace.time) {
        prepared.series.time.push_back(t - trace.time.front());
    }
    prepared.enveloped = isFullWaveform(trace.value);
    prepared.series.value = prepared.enveloped ? envelope(trace.value) : trace.value;
    return prepared;
}

} // namespace quarvel::tie
