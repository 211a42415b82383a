#pragma once

#include "formats/capacity.h"
#include "formats/quarvel_error.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

struct SegySampleFormat;

// The file layout SEG-Y files share: a 3200-byte textual header, a 400-byte
// binary header, then traces of a 240-byte header and their samples.
inline constexpr std::size_t SegyHeadSize = 3600;

// The most samples a trace may have: as many as the trace panel holds.
inline constexpr int SegyMaxSamples = SeriesCapacity;

// The most traces whose headers are read for a review or a choice by shot or
// position (about 64 MB of headers): far more than any sub-bottom line has.
inline constexpr int SegyMaxReviewedTraces = 1000000;

// The largest amplitude read: that of a 4-byte float. Only a damaged file of
// 8-byte floats holds more, and the means of a stack and the listing's
// numbers stay finite below it.
inline constexpr double SegyMaxAmplitude = 3.4028234663852886e38;

// Traces per shot are recognised up to this many channels (EdgeTech systems
// store envelope, real and imaginary parts as three traces of one shot).
inline constexpr int SegyMaxChannels = 8;

// What the headers say about a SEG-Y file.
struct SegyLayout {
    int traceCount = 0;
    int samplesPerTrace = 0;
    int formatCode = 0;
    bool littleEndian = false;
    // Major revision of the binary header (0, 1 or 2).
    int revision = 0;
    // The binary header's interval; 0 when it leaves the interval to each
    // trace.
    double intervalMs = 0;
    int extendedTextHeaders = 0;
    // Additional 240-byte headers after each trace header (revision 2).
    int extraTraceHeaders = 0;
    // 3200-byte trailer records after the last trace (revision 2).
    int trailerRecords = 0;
    // Consecutive traces with the same field record number form one shot.
    int channels = 1;
    // Traces of variable length (revision 2): samplesPerTrace is the longest.
    bool variableLength = false;
    // How the reader settled what the headers leave in doubt, for the review.
    std::vector<std::string> notes;
};

// What one trace header says about where and when the trace was recorded.
struct SegyTraceHeader {
    int traceInLine = 0;   // bytes 1-4
    int fieldRecord = 0;   // bytes 9-12, the shot
    int traceInRecord = 0; // bytes 13-16
    int sourcePoint = 0;   // bytes 17-20
    // Source X/Y (bytes 73-80), or CDP X/Y (181-188) when the source's are
    // 0, with the coordinate scalar (bytes 71-72) applied.
    double x = 0;
    double y = 0;
    // 1 length, 2 seconds of arc, 3 decimal degrees, 4 DMS (bytes 89-90).
    int coordinateUnits = 0;
    double delayMs = 0;    // bytes 109-110 with the time scalar of 215-216
    int sampleCount = 0;   // bytes 115-116
    int intervalUs = 0;    // bytes 117-118
    double waterDepth = 0; // bytes 61-64 with the elevation scalar of 69-70
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
// traces of equal length, revisions 0 to 2, every sample format of revision 2
// in either byte order. Only the headers and the traces asked for are read,
// so a file of hundreds of megabytes costs no more than a small one. Every
// fault of the file raises "Cannot read the SEG-Y file ..." with the reason.
class SegyReader {
public:
    explicit SegyReader(const std::filesystem::path& path);
    ~SegyReader();
    SegyReader(const SegyReader&) = delete;
    SegyReader& operator=(const SegyReader&) = delete;

    const SegyLayout& layout() const { return layout_; }
    const std::string& fileName() const { return name_; }

    SegyTraceHeader traceHeader(int index);
    // Every trace's header, in file order; refused beyond
    // SegyMaxReviewedTraces.
    std::vector<SegyTraceHeader> traceHeaders();

    // Hands the headers of traces first to last (from 0) in file order to
    // the visitor until it returns false, holding a few megabytes at a time
    // whatever the file's size.
    using HeaderVisitor = std::function<bool(int index, const SegyTraceHeader& header)>;
    void scanHeaders(int first, int last, const HeaderVisitor& visit);

    // Trace `index` (from 0). The first sample lies at the delay recording
    // time of its header; the interval is `intervalMs` when it is above 0,
    // else the binary header's, else the trace header's.
    SegyTrace readTrace(int index, double intervalMs = 0);

private:
    struct Handle;
    [[noreturn]] void fail(const std::string& reason,
                           ErrorKind kind = ErrorKind::InvalidData) const;
    void readLayout(std::string_view head);
    long firstTraceOffset(std::string_view head, long long fileSize);
    int fixedTraceBytes(std::string_view head, long long dataBytes);
    void scanVariableTraces(std::string_view head, long long dataEnd);
    int readChannels();
    std::vector<unsigned char> rawHeader(int index);
    // `size` bytes at `offset` of a file of traces of variable length.
    std::vector<unsigned char> bytesAt(long long offset, std::size_t size, int index);

    std::string name_;
    std::unique_ptr<Handle> handle_;
    SegyLayout layout_;
    const SegySampleFormat* format_ = nullptr;
    long firstTraceOffset_ = 0;
    // Bytes after each 240-byte trace header: extra headers and samples.
    int traceBytes_ = 0;
    // Traces of variable length: where each starts, and the end of the last.
    std::vector<long long> traceOffsets_;
    std::ifstream variable_;
};

// The trace as the trace listing: one "time amplitude" line per sample, time
// in milliseconds, every line ended with CR LF.
std::string traceListingText(const SegyTrace& trace);

} // namespace quarvel
