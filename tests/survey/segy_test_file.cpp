#include "survey/segy_test_file.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>

namespace quarvel::testing {
namespace {

char ebcdicOf(char c) {
    if (c >= '0' && c <= '9') {
        return static_cast<char>(0xF0 + (c - '0'));
    }
    if (c >= 'A' && c <= 'I') {
        return static_cast<char>(0xC1 + (c - 'A'));
    }
    if (c >= 'J' && c <= 'R') {
        return static_cast<char>(0xD1 + (c - 'J'));
    }
    if (c >= 'S' && c <= 'Z') {
        return static_cast<char>(0xE2 + (c - 'S'));
    }
    if (c >= 'a' && c <= 'i') {
        return static_cast<char>(0x81 + (c - 'a'));
    }
    if (c >= 'j' && c <= 'r') {
        return static_cast<char>(0x91 + (c - 'j'));
    }
    if (c >= 's' && c <= 'z') {
        return static_cast<char>(0xA2 + (c - 's'));
    }
    switch (c) {
    case '(':
        return static_cast<char>(0x4D);
    case ')':
        return static_cast<char>(0x5D);
    case ':':
        return static_cast<char>(0x7A);
    default:
        return static_cast<char>(0x40);
    }
}

std::string bytesOf(std::uint64_t value, int size, bool little) {
    std::string bytes(static_cast<std::size_t>(size), '\0');
    for (int i = 0; i < size; ++i) {
        const int shift = little ? 8 * i : 8 * (size - 1 - i);
        bytes[static_cast<std::size_t>(i)] = static_cast<char>((value >> shift) & 0xFF);
    }
    return bytes;
}

class ByteWriter {
public:
    ByteWriter(std::string& bytes, bool littleEndian) : bytes_(bytes), little_(littleEndian) {}

    void put(std::size_t at, long long value, int size) {
        bytes_.replace(at, static_cast<std::size_t>(size),
                       bytesOf(static_cast<std::uint64_t>(value), size, little_));
    }

private:
    std::string& bytes_;
    bool little_;
};

int sampleSize(int formatCode) {
    switch (formatCode) {
    case 3:
    case 11:
        return 2;
    case 6:
    case 9:
    case 12:
        return 8;
    case 7:
    case 15:
        return 3;
    case 8:
    case 16:
        return 1;
    default:
        return 4;
    }
}

void putText(std::string& bytes, std::size_t at, const std::string& text, bool ebcdic) {
    for (std::size_t i = 0; i < 3200; ++i) {
        const char c = i < text.size() ? text[i] : ' ';
        bytes[at + i] = ebcdic ? ebcdicOf(c) : c;
    }
}

} // namespace

unsigned ibmFloatBits(double value) {
    if (value == 0) {
        return 0;
    }
    const unsigned sign = value < 0 ? 0x80000000U : 0;
    double magnitude = std::fabs(value);
    int exponent = 64;
    while (magnitude >= 1) {
        magnitude /= 16;
        ++exponent;
    }
    while (magnitude < 1.0 / 16) {
        magnitude *= 16;
        --exponent;
    }
    const auto fraction = static_cast<unsigned>(std::lround(magnitude * 16777216.0));
    return sign | (static_cast<unsigned>(exponent) << 24) | fraction;
}

std::string segySampleBytes(int formatCode, double value, bool littleEndian) {
    const int size = sampleSize(formatCode);
    switch (formatCode) {
    case 1:
        return bytesOf(ibmFloatBits(value), 4, littleEndian);
    case 5:
        return bytesOf(std::bit_cast<std::uint32_t>(static_cast<float>(value)), 4, littleEndian);
    case 6:
        return bytesOf(std::bit_cast<std::uint64_t>(value), 8, littleEndian);
    case 10:
    case 11:
    case 12:
    case 15:
    case 16:
        return bytesOf(static_cast<std::uint64_t>(value), size, littleEndian);
    default:
        return bytesOf(static_cast<std::uint64_t>(static_cast<std::int64_t>(value)), size,
                       littleEndian);
    }
}

std::string segyBytes(const SegyTestFile& file) {
    const std::size_t traceSamples = file.traces.empty() ? 0 : file.traces.front().samples.size();
    const int samples = file.samples >= 0 ? file.samples : static_cast<int>(traceSamples);
    const bool revision2 = file.revision >= 2;
    const int extra = revision2 ? file.extraTraceHeaders : 0;
    // Each trace as long as its samples: equal lengths but for a test of
    // variable ones.
    const auto traceSize = [&](const SegyTestTrace& trace) {
        return 240 * static_cast<std::size_t>(1 + extra) +
               static_cast<std::size_t>(sampleSize(file.formatCode)) * trace.samples.size();
    };
    std::size_t tracesSize = 0;
    for (const SegyTestTrace& trace : file.traces) {
        tracesSize += traceSize(trace);
    }
    const int records =
        file.extendedRecords >= 0 ? file.extendedRecords : std::max(0, file.extendedHeaders);
    const std::size_t head = 3600 + 3200 * static_cast<std::size_t>(records);
    const int trailers = revision2 ? file.trailerRecords : 0;
    std::string bytes(head + tracesSize + 3200 * trailers, '\0');
    putText(bytes, 0, "C 1 QUARVEL TEST LINE", file.ebcdic);
    for (int r = 0; r < records; ++r) {
        const bool last = r + 1 == records && file.extendedHeaders < 0;
        putText(bytes, 3600 + 3200 * static_cast<std::size_t>(r),
                last ? file.endStanza : "C EXTENDED TEXT", file.ebcdic);
    }
    ByteWriter out(bytes, file.littleEndian);
    out.put(3216, file.intervalUs, 2);
    out.put(3220, samples, 2);
    out.put(3224, file.formatCode, 2);
    out.put(3504, file.extendedHeaders, 2);
    if (revision2) {
        out.put(3268, file.extendedSamples, 4);
        out.put(3296, 0x01020304, 4);
        bytes[3500] = 2;
        out.put(3506, file.extraTraceHeaders, file.extraCountInTwoBytes ? 2 : 4);
        out.put(3272, static_cast<long long>(std::bit_cast<std::uint64_t>(file.extendedIntervalUs)),
                8);
        out.put(3528, trailers, 4);
        out.put(3502, file.fixedLengthFlag, 2);
    } else {
        out.put(3500, file.revision == 1 ? 0x0100 : 0, 2);
    }
    std::size_t at = head;
    for (const SegyTestTrace& trace : file.traces) {
        out.put(at + 8, trace.fieldRecord, 4);
        out.put(at + 12, trace.traceInRecord, 4);
        out.put(at + 60, trace.waterDepth, 4);
        out.put(at + 70, trace.coordinateScalar, 2);
        out.put(at + 72, trace.x, 4);
        out.put(at + 76, trace.y, 4);
        out.put(at + 88, trace.coordinateUnits, 2);
        out.put(at + 108, trace.delayMs, 2);
        const int count =
            trace.sampleCount >= 0 ? trace.sampleCount : static_cast<int>(trace.samples.size());
        out.put(at + 114, count, 2);
        out.put(at + 116, trace.intervalUs, 2);
        out.put(at + 214, trace.timeScalar, 2);
        for (int e = 1; e <= extra; ++e) {
            // An additional header names itself in its last eight bytes.
            bytes.replace(at + 240 * static_cast<std::size_t>(e) + 232, 8, "SEG00001");
        }
        std::size_t sampleAt = at + 240 * static_cast<std::size_t>(1 + extra);
        for (const double value : trace.samples) {
            const std::string sample = segySampleBytes(file.formatCode, value, file.littleEndian);
            bytes.replace(sampleAt, sample.size(), sample);
            sampleAt += sample.size();
        }
        at += traceSize(trace);
    }
    return bytes;
}

} // namespace quarvel::testing
