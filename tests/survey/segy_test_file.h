#pragma once

#include <string>
#include <vector>

namespace quarvel::testing {

// A SEG-Y file written byte by byte, independently of segyio, so the reader
// is checked against the standard's layout rather than against itself.
struct SegyTestTrace {
    std::vector<double> samples;
    int fieldRecord = 0;
    int delayMs = 0;
    int timeScalar = 0;
    int intervalUs = 0;
    int sampleCount = -1; // -1: the number of samples
    int traceInRecord = 0;
    int x = 0;
    int y = 0;
    int coordinateScalar = 0;
    int coordinateUnits = 0;
    int waterDepth = 0;
};

struct SegyTestFile {
    bool ebcdic = true;
    bool littleEndian = false;
    int formatCode = 1;
    int intervalUs = 20;
    int samples = -1; // -1: the first trace's number of samples
    // The count in the binary header; -1 announces a variable number ended
    // by a ((SEG: EndText)) stanza in the last of `extendedRecords`.
    int extendedHeaders = 0;
    int extendedRecords = -1; // -1: as many as extendedHeaders says
    // Revision 2 fields (written only when revision is 2): the byte-order
    // word, additional trace headers, extended sample count, trailer records.
    int revision = 1;
    int extraTraceHeaders = 0;
    int extendedSamples = 0;
    int trailerRecords = 0;
    double extendedIntervalUs = 0;
    // Some writers store the additional trace header count in two bytes.
    bool extraCountInTwoBytes = false;
    int fixedLengthFlag = 0; // 1: every trace as long as the binary header says
    std::string endStanza = "((SEG: EndText))";
    std::vector<SegyTestTrace> traces;
};

std::string segyBytes(const SegyTestFile& file);

// The bytes of one sample of a format in the byte order.
std::string segySampleBytes(int formatCode, double value, bool littleEndian);

// IBM System/360 single precision, big-endian bit pattern.
unsigned ibmFloatBits(double value);

} // namespace quarvel::testing
