#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// The file layout SEG-Y files share: a 3200-byte textual header, a 400-byte
// binary header, then traces of a 240-byte header and their samples.
inline constexpr std::size_t SegyHeadSize = 3600;

// The most samples a trace may have: as many as the trace panel holds.
inline constexpr int SegyMaxSamples = 64000;

// Traces per shot are recognised up to this many channels (EdgeTech systems
// store envelope, real and imaginary parts as three traces of one shot).
inline constexpr int SegyMaxChannels = 8;

// What the headers say about a SEG-Y file.
struct SegyLayout {
    int traceCount = 0;
    int samplesPerTrace = 0;
    // 1 IBM float, 2 32-bit integer, 3 16-bit integer, 5 IEEE float, 8 byte.
    int formatCode = 0;
    bool littleEndian = false;
    // From the binary header; 0 when it leaves the interval to each trace.
    double intervalMs = 0;
    // Consecutive traces with the same field record number form one shot.
    int channels = 1;
};

// One trace in milliseconds: sample i lies at firstTimeMs + i * intervalMs.
struct SegyTrace {
    double firstTimeMs = 0;
    double intervalMs = 0;
    std::vector<double> amplitudes;
};

// True when the first bytes of a file are a SEG-Y file's headers: a textual
// header of EBCDIC or ASCII text and a binary header whose sample format code
// is a SEG-Y one in either byte order. A text file never passes, because its
// bytes cannot form a small format code.
bool looksLikeSegy(std::string_view head);

// Reads only the first bytes of the file; false when it cannot be read.
bool isSegyFile(const std::filesystem::path& path);

// A SEG-Y file opened without inline/crossline geometry: a plain sequence of
// traces of equal length. Only the headers and the traces asked for are read,
// so a file of hundreds of megabytes costs no more than a small one. Every
// fault of the file raises "Cannot read the SEG-Y file ..." with the reason.
class SegyReader {
public:
    explicit SegyReader(const std::filesystem::path& path);
    ~SegyReader();
    SegyReader(const SegyReader&) = delete;
    SegyReader& operator=(const SegyReader&) = delete;

    const SegyLayout& layout() const { return layout_; }

    // Trace `index` (from 0). The first sample lies at the delay recording
    // time of its header; the interval is the binary header's, or the trace
    // header's when the binary header gives none.
    SegyTrace readTrace(int index);

private:
    struct Handle;
    [[noreturn]] void fail(const std::string& reason) const;
    void readLayout();
    int readChannels();
    std::vector<char> traceHeader(int index);

    std::string name_;
    std::unique_ptr<Handle> handle_;
    SegyLayout layout_;
    long firstTraceOffset_ = 0;
    int traceBytes_ = 0;
};

// The trace as the trace listing: one "time amplitude" line per sample, time
// in milliseconds, every line ended with CR LF.
std::string traceListingText(const SegyTrace& trace);

} // namespace quarvel
