#include "survey/segy_test_file.h"

#include <cmath>
#include <cstdint>
#include <cstring>

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
    return static_cast<char>(0x40);
}

class ByteWriter {
public:
    ByteWriter(std::string& bytes, bool littleEndian) : bytes_(bytes), little_(littleEndian) {}

    void put(std::size_t at, std::uint32_t value, int size) {
        for (int i = 0; i < size; ++i) {
            const int shift = little_ ? 8 * i : 8 * (size - 1 - i);
            bytes_[at + static_cast<std::size_t>(i)] = static_cast<char>((value >> shift) & 0xFF);
        }
    }

private:
    std::string& bytes_;
    bool little_;
};

int sampleSize(int formatCode) {
    switch (formatCode) {
    case 3:
        return 2;
    case 8:
        return 1;
    default:
        return 4;
    }
}

std::uint32_t sampleBits(int formatCode, double value) {
    switch (formatCode) {
    case 1:
        return ibmFloatBits(value);
    case 5: {
        const auto single = static_cast<float>(value);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &single, sizeof bits);
        return bits;
    }
    default:
        return static_cast<std::uint32_t>(static_cast<std::int32_t>(value));
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

std::string segyBytes(const SegyTestFile& file) {
    const int samples = file.samples >= 0 ? file.samples
                        : file.traces.empty()
                            ? 0
                            : static_cast<int>(file.traces.front().samples.size());
    const std::size_t traceSize =
        240 + static_cast<std::size_t>(sampleSize(file.formatCode)) *
                  (file.traces.empty() ? 0 : file.traces.front().samples.size());
    const std::size_t head =
        3600 + 3200 * static_cast<std::size_t>(std::max(0, file.extendedHeaders));
    std::string bytes(head + traceSize * file.traces.size(), '\0');
    const std::string title = "C 1 QUARVEL TEST LINE";
    for (std::size_t i = 0; i < 3200; ++i) {
        const char c = i < title.size() ? title[i] : ' ';
        bytes[i] = file.ebcdic ? ebcdicOf(c) : c;
    }
    ByteWriter out(bytes, file.littleEndian);
    out.put(3216, static_cast<std::uint32_t>(file.intervalUs), 2);
    out.put(3220, static_cast<std::uint32_t>(samples), 2);
    out.put(3224, static_cast<std::uint32_t>(file.formatCode), 2);
    out.put(3504, static_cast<std::uint32_t>(file.extendedHeaders), 2);
    std::size_t at = head;
    for (const SegyTestTrace& trace : file.traces) {
        out.put(at + 8, static_cast<std::uint32_t>(trace.fieldRecord), 4);
        out.put(at + 108, static_cast<std::uint32_t>(trace.delayMs), 2);
        const int count =
            trace.sampleCount >= 0 ? trace.sampleCount : static_cast<int>(trace.samples.size());
        out.put(at + 114, static_cast<std::uint32_t>(count), 2);
        out.put(at + 116, static_cast<std::uint32_t>(trace.intervalUs), 2);
        out.put(at + 214, static_cast<std::uint32_t>(trace.timeScalar), 2);
        const auto size = static_cast<std::size_t>(sampleSize(file.formatCode));
        for (std::size_t i = 0; i < trace.samples.size(); ++i) {
            out.put(at + 240 + i * size, sampleBits(file.formatCode, trace.samples[i]),
                    static_cast<int>(size));
        }
        at += traceSize;
    }
    return bytes;
}

} // namespace quarvel::testing
