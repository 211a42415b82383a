#include "formats/png_file.h"

#include "formats/quarvel_error.h"

#include <algorithm>
#include <array>

namespace quarvel {
namespace {

// Blocks of a deflate stream stored as they are hold at most this many bytes.
constexpr std::size_t StoredBlock = 65535;

const std::array<std::uint32_t, 256>& crcTable() {
    static const std::array<std::uint32_t, 256> table = [] {
        std::array<std::uint32_t, 256> made{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) {
                c = (c & 1U) != 0 ? 0xEDB88320U ^ (c >> 1) : c >> 1;
            }
            made[n] = c;
        }
        return made;
    }();
    return table;
}

std::uint32_t crc32(const std::string& bytes, std::size_t from) {
    std::uint32_t c = 0xFFFFFFFFU;
    for (std::size_t i = from; i < bytes.size(); ++i) {
        c = crcTable()[(c ^ static_cast<unsigned char>(bytes[i])) & 0xFFU] ^ (c >> 8);
    }
    return c ^ 0xFFFFFFFFU;
}

void putBig(std::string& out, std::uint32_t value) {
    for (const int shift : {24, 16, 8, 0}) {
        out += static_cast<char>((value >> shift) & 0xFFU);
    }
}

void chunk(std::string& out, const char* type, const std::string& data) {
    putBig(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t start = out.size();
    out += type;
    out += data;
    putBig(out, crc32(out, start));
}

// The zlib stream of the bytes in stored deflate blocks.
std::string storedZlib(const std::string& raw) {
    std::string out("\x78\x01", 2);
    std::size_t at = 0;
    do {
        const std::size_t size = std::min(StoredBlock, raw.size() - at);
        const bool last = at + size == raw.size();
        out += static_cast<char>(last ? 1 : 0);
        out += static_cast<char>(size & 0xFFU);
        out += static_cast<char>(size >> 8);
        out += static_cast<char>(~size & 0xFFU);
        out += static_cast<char>((~size >> 8) & 0xFFU);
        out.append(raw, at, size);
        at += size;
    } while (at < raw.size());
    std::uint32_t a = 1;
    std::uint32_t b = 0;
    for (const char c : raw) {
        a = (a + static_cast<unsigned char>(c)) % 65521U;
        b = (b + a) % 65521U;
    }
    putBig(out, (b << 16) | a);
    return out;
}

} // namespace

std::string pngBytes(int width, int height, const std::vector<std::uint32_t>& pixels) {
    if (width < 1 || height < 1 ||
        pixels.size() != static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {
        throw QuarvelError("A picture needs at least one pixel, and as many as its size says.");
    }
    std::string header;
    putBig(header, static_cast<std::uint32_t>(width));
    putBig(header, static_cast<std::uint32_t>(height));
    header += std::string("\x08\x02\x00\x00\x00", 5); // 8-bit RGB, no interlace
    std::string raw;
    raw.reserve(static_cast<std::size_t>(height) * (1 + 3 * static_cast<std::size_t>(width)));
    for (int y = 0; y < height; ++y) {
        raw += '\0'; // no filter
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = pixels[static_cast<std::size_t>(y) * width + x];
            raw += static_cast<char>((p >> 16) & 0xFFU);
            raw += static_cast<char>((p >> 8) & 0xFFU);
            raw += static_cast<char>(p & 0xFFU);
        }
    }
    std::string png("\x89PNG\r\n\x1a\n", 8);
    chunk(png, "IHDR", header);
    chunk(png, "IDAT", storedZlib(raw));
    chunk(png, "IEND", {});
    return png;
}

} // namespace quarvel
