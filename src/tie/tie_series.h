#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

// The two series a tie compares, as read from their text files: one sample
// per line, time then amplitude.
namespace quarvel::tie {

// Samples with strictly increasing times, in seconds.
struct TimeSeries {
    std::vector<double> time;
    std::vector<double> value;
};

// A trace listing's times are in ms.
inline constexpr double SecondsPerTraceUnit = 0.001;

// The most samples a series file may hold for a tie.
inline constexpr std::size_t MaxTieSamples = 1'000'000;

// Reads a listing strictly (ListingRule::Strict): lines of exactly two
// numbers ("." decimals), blank lines skipped, times multiplied by
// secondsPerUnit (1 for the engine's files, 0.001 for a trace listing in ms).
// Throws QuarvelError naming the file and the line for anything else, for
// times that do not increase, for fewer than two samples and for more than
// MaxTieSamples.
TimeSeries parseSeries(std::string_view text, std::string_view fileName, double secondsPerUnit);

// Samples already read (the trace the main window drew): the same checks as
// parseSeries, naming the source.
TimeSeries checkedSeries(const std::vector<double>& times, const std::vector<double>& values,
                         std::string_view source, double secondsPerUnit);

// The same from a file; a missing, unreadable, binary or oversized file is
// refused with "Cannot open file ...".
TimeSeries readSeriesFile(const std::filesystem::path& path, double secondsPerUnit);

// A full waveform rather than an envelope: a third or more of its samples
// are negative (noise turns a few samples of an envelope record negative).
bool isFullWaveform(const std::vector<double>& values);

// The trace as the tie compares it: times counted from its first sample (the
// sea floor, where the trace is cut), the envelope in place of a full
// waveform.
struct PreparedTrace {
    TimeSeries series;
    bool enveloped = false;
};
PreparedTrace prepareTrace(const TimeSeries& trace);

} // namespace quarvel::tie
