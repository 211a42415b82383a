#pragma once

#include <filesystem>
#include <string>
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
    // Lines of the textual header after the first (at most 37 are kept, each
    // cut to the card's 76 characters; non-ASCII characters become '?').
    std::vector<std::string> description;
};

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
