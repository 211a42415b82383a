#include "formats/line_encoding.h"

namespace quarvel {
namespace {

unsigned char byteAt(std::string_view bytes, std::size_t i) {
    return static_cast<unsigned char>(bytes[i]);
}

bool isContinuation(unsigned char c) {
    return (c & 0xC0) == 0x80;
}

} // namespace

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        const unsigned char lead = byteAt(bytes, i);
        std::size_t length = 0;
        // The allowed range of the second byte excludes overlong forms,
        // surrogates and code points above U+10FFFF.
        unsigned char low = 0x80;
        unsigned char high = 0xBF;
        if (lead < 0x80) {
            length = 1;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (i + length > bytes.size()) {
            return false;
        }
        if (length > 1) {
            const unsigned char second = byteAt(bytes, i + 1);
            if (second < low || second > high) {
                return false;
            }
            for (std::size_t k = 2; k < length; ++k) {
                if (!isContinuation(byteAt(bytes, i + k))) {
                    return false;
                }
            }
        }
        i += length;
    }
    return true;
}

DecodedLine decodeLine(std::string_view bytes) {
    if (isValidUtf8(bytes)) {
        return {std::string(bytes), false};
    }
    DecodedLine line{{}, true};
    line.text.reserve(bytes.size() * 2);
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const unsigned char c = byteAt(bytes, i);
        if (c < 0x80) {
            line.text += static_cast<char>(c);
        } else {
            line.text += static_cast<char>(0xC0 | (c >> 6));
            line.text += static_cast<char>(0x80 | (c & 0x3F));
        }
    }
    return line;
}

std::string encodeLine(std::string_view text, bool latin1) {
    if (!latin1) {
        return std::string(text);
    }
    std::string bytes;
    bytes.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = byteAt(text, i);
        if (c < 0x80) {
            bytes += static_cast<char>(c);
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < text.size()) {
            bytes += static_cast<char>(((c & 0x03) << 6) | (byteAt(text, i + 1) & 0x3F));
            ++i;
        } else {
            // A character beyond Latin-1: the line can only be saved as UTF-8.
            return std::string(text);
        }
    }
    return bytes;
}

} // namespace quarvel
