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
};

struct SegyTestFile {
    bool ebcdic = true;
    bool littleEndian = false;
    int formatCode = 1;
    int intervalUs = 20;
    int samples = -1; // -1: the first trace's number of samples
    int extendedHeaders = 0;
    std::vector<SegyTestTrace> traces;
};

std::string segyBytes(const SegyTestFile& file);

// IBM System/360 single precision, big-endian bit pattern.
unsigned ibmFloatBits(double value);

} // namespace quarvel::testing
