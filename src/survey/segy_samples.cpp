#include "survey/segy_samples.h"

#include <array>
#include <bit>
#include <cmath>

namespace quarvel {
namespace {

constexpr std::array<SegySampleFormat, 14> Formats{{
    {1, 4, "4-byte IBM floating point"},
    {2, 4, "4-byte signed integer"},
    {3, 2, "2-byte signed integer"},
    {4, 4, "4-byte fixed point with gain (obsolete)", false},
    {5, 4, "4-byte IEEE floating point"},
    {6, 8, "8-byte IEEE floating point"},
    {7, 3, "3-byte signed integer"},
    {8, 1, "1-byte signed integer"},
    {9, 8, "8-byte signed integer"},
    {10, 4, "4-byte unsigned integer"},
    {11, 2, "2-byte unsigned integer"},
    {12, 8, "8-byte unsigned integer"},
    {15, 3, "3-byte unsigned integer"},
    {16, 1, "1-byte unsigned integer"},
}};

double sampleValue(int code, const unsigned char* bytes, int size, bool littleEndian) {
    switch (code) {
    case 1:
        return ibmFloatValue(static_cast<std::uint32_t>(segyUnsigned(bytes, 4, littleEndian)));
    case 5:
        return std::bit_cast<float>(
            static_cast<std::uint32_t>(segyUnsigned(bytes, 4, littleEndian)));
    case 6:
        return std::bit_cast<double>(segyUnsigned(bytes, 8, littleEndian));
    case 10:
    case 11:
    case 12:
    case 15:
    case 16:
        return static_cast<double>(segyUnsigned(bytes, size, littleEndian));
    default:
        return static_cast<double>(segySigned(bytes, size, littleEndian));
    }
}

} // namespace

const SegySampleFormat* segySampleFormat(int code) {
    for (const SegySampleFormat& format : Formats) {
        if (format.code == code) {
            return &format;
        }
    }
    return nullptr;
}

std::uint64_t segyUnsigned(const unsigned char* bytes, int size, bool littleEndian) {
    std::uint64_t value = 0;
    for (int i = 0; i < size; ++i) {
        const int at = littleEndian ? size - 1 - i : i;
        value = (value << 8) | bytes[at];
    }
    return value;
}

std::int64_t segySigned(const unsigned char* bytes, int size, bool littleEndian) {
    const std::uint64_t value = segyUnsigned(bytes, size, littleEndian);
    if (size >= 8) {
        return std::bit_cast<std::int64_t>(value);
    }
    const std::uint64_t signBit = std::uint64_t{1} << (8 * size - 1);
    return static_cast<std::int64_t>(value ^ signBit) - static_cast<std::int64_t>(signBit);
}

// Sign bit, a 7-bit exponent of 16 biased by 64 and a 24-bit fraction; every
// such number is exact in a double.
double ibmFloatValue(std::uint32_t bits) {
    const double fraction = static_cast<double>(bits & 0x00FFFFFFU) / 16777216.0;
    const int exponent = static_cast<int>((bits >> 24) & 0x7FU) - 64;
    const double magnitude = std::ldexp(fraction, 4 * exponent);
    return (bits & 0x80000000U) != 0 ? -magnitude : magnitude;
}

void decodeSegySamples(const SegySampleFormat& format, bool littleEndian, const unsigned char* raw,
                       std::size_t count, double* out) {
    const auto size = static_cast<std::size_t>(format.bytes);
    for (std::size_t i = 0; i < count; ++i) {
        out[i] = sampleValue(format.code, raw + i * size, format.bytes, littleEndian);
    }
}

} // namespace quarvel
