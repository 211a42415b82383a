#include "formats/token_reader.h"

#include "formats/numbers.h"
#include "formats/text_file.h"

#include <iterator>

namespace quarvel {
namespace {
bool isSeparator(char c) {
    return static_cast<unsigned char>(c) <= 32;
}
} // namespace

TokenReader::TokenReader(std::istream& in) : in_(in) {
    if (in_.tellg() != std::streampos(0)) {
        return;
    }
    char head[Utf8Bom.size()] = {};
    in_.read(head, static_cast<std::streamsize>(sizeof head));
    if (!startsWithUtf8Bom(std::string_view(head, static_cast<std::size_t>(in_.gcount())))) {
        in_.clear();
        in_.seekg(0);
    }
}

bool TokenReader::atEnd() {
    return in_.peek() == std::char_traits<char>::eof();
}

bool TokenReader::onlySeparatorsLeft() {
    while (true) {
        const int c = in_.peek();
        if (c == std::char_traits<char>::eof()) {
            return true;
        }
        if (!isSeparator(static_cast<char>(c))) {
            return false;
        }
        in_.get();
    }
}

std::string TokenReader::readToken() {
    std::string token;
    int c = in_.peek();
    while (c != std::char_traits<char>::eof() && isSeparator(static_cast<char>(c))) {
        in_.get();
        c = in_.peek();
    }
    while (c != std::char_traits<char>::eof() && !isSeparator(static_cast<char>(c))) {
        token += static_cast<char>(in_.get());
        c = in_.peek();
    }
    return token;
}

double TokenReader::readNumber() {
    return numbers::parseNumber(readToken());
}

void TokenReader::skipLine() {
    while (true) {
        const int c = in_.get();
        if (c == std::char_traits<char>::eof() || c == '\n') {
            return;
        }
        if (c == '\r') {
            if (in_.peek() == '\n') {
                in_.get();
            }
            return;
        }
    }
}

std::string readWholeStream(std::istream& in) {
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace quarvel
