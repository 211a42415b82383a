#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// One trace to be written as a SEG-Y file other programs read: revision 1,
// IEEE float samples (format 5) big-endian, an EBCDIC textual header.
struct SegyTraceExport {
    std::vector<double> amplitudes;
    double intervalSeconds = 0;
    // The time of the first sample from the trace's time zero, in ms: the
    // header's delay recording time.
    double firstTimeMs = 0;
    // Lines of the textual header after the two that name Quarvel and give
    // the sampling (at most 36 are kept, each cut to the card's 76
    // characters; non-ASCII characters become '?').
    std::vector<std::string> description;
};

// The trace of a series sampled evenly, times in seconds. Refuses
// (QuarvelError) fewer than two samples and times not evenly spaced to a
// nanosecond; `name` is how the messages call the series.
SegyTraceExport evenlySampledTrace(const std::vector<double>& times,
                                   const std::vector<double>& amplitudes, std::string_view name);

// The most samples a trace's 16-bit headers can count.
inline constexpr int SegyExportMaxSamples = 65535;

// The whole file. Refuses (QuarvelError) an empty trace, more than
// SegyExportMaxSamples samples, a sample no 4-byte float holds, an
// interval that is not a whole number of microseconds from 1 to 65535, and a
// first time beyond the ±32767 ms the header holds.
std::string segyTraceBytes(const SegyTraceExport& trace);

// Writes the file whole or not at all (the old file is kept on failure).
void writeSegyTraceFile(const std::filesystem::path& path, const SegyTraceExport& trace);

} // namespace quarvel
