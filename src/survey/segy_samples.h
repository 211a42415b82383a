#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

namespace quarvel {

// One sample format of SEG-Y revision 2 (data sample format code of the
// binary header, bytes 3225-3226).
struct SegySampleFormat {
    int code = 0;
    int bytes = 0;
    std::string_view name;
    // Code 4 (fixed point with gain) has no agreed bit layout among writers,
    // so it is recognised but not read.
    bool readable = true;
};

// The format of a code, or nullptr for a code SEG-Y does not define.
const SegySampleFormat* segySampleFormat(int code);

// The unsigned number of `size` bytes (1 to 8) at `bytes`, in the byte order.
std::uint64_t segyUnsigned(const unsigned char* bytes, int size, bool littleEndian);

// The same bytes as a two's-complement signed number.
std::int64_t segySigned(const unsigned char* bytes, int size, bool littleEndian);

// An IBM System/360 single-precision number from its 32 bits.
double ibmFloatValue(std::uint32_t bits);

// Decodes `count` samples of a readable format from raw file bytes (at least
// count * format.bytes of them) into `out`.
void decodeSegySamples(const SegySampleFormat& format, bool littleEndian, const unsigned char* raw,
                       std::size_t count, double* out);

} // namespace quarvel
