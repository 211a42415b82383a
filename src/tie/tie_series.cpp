#include "tie/tie_series.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/series_file.h"
#include "formats/text_file.h"
#include "tie/analytic_signal.h"

#include <cmath>
#include <string>

namespace quarvel::tie {

TimeSeries parseSeries(std::string_view text, std::string_view fileName, double secondsPerUnit) {
    Listing listing =
        readListing(text, {fileName, ListingRule::Strict, MaxTieSamples, secondsPerUnit});
    if (listing.series.time.size() < 2) {
        throw QuarvelError(
            formatMessage("\"%s\" holds fewer than two samples; there is nothing to compare.",
                          {fileName}),
            ErrorKind::InvalidData);
    }
    return {std::move(listing.series.time), std::move(listing.series.amplitude)};
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
                              {numbers::formatInteger(static_cast<long long>(i + 1)), source}),
                ErrorKind::InvalidData);
        }
        series.time.push_back(seconds);
        series.value.push_back(values[i]);
    }
    if (series.time.size() < 2) {
        throw QuarvelError(
            formatMessage("%s holds fewer than two samples; there is nothing to compare.",
                          {source}),
            ErrorKind::InvalidData);
    }
    return series;
}

TimeSeries readSeriesFile(const std::filesystem::path& path, double secondsPerUnit) {
    const std::string text = readTextFile(path, 64ULL * 1024 * 1024);
    if (text.find('\0') != std::string::npos) {
        throwCannotOpen(path.string(), "It is not a text file.", ErrorKind::InvalidData);
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
