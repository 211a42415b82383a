#pragma once

#include "formats/text_file.h"

#include <cstddef>
#include <span>
#include <string_view>

// The walk through the text of a file of numeric fields that field_lines and
// series_file share: fields are separated by blanks (every character of code
// 32 or less), and CR LF, a lone CR and a lone LF each end a line. What makes
// a record, and what is refused, is up to the reader.
namespace quarvel {

class FieldCursor {
public:
    // The cursor starts after a UTF-8 byte-order mark, if the text has one.
    explicit FieldCursor(std::string_view text)
        : text_(startsWithUtf8Bom(text) ? text.substr(Utf8Bom.size()) : text) {}

    bool atEnd() const { return pos_ >= text_.size(); }

    // The characters from here up to the next blank (none when a blank or the
    // end is here).
    std::string_view field() {
        const std::size_t start = pos_;
        while (pos_ < text_.size() && !isBlank(text_[pos_])) {
            ++pos_;
        }
        return text_.substr(start, pos_ - start);
    }

    // Steps over blanks and line ends; returns how many lines they ended.
    int skipBlanks() {
        int lines = 0;
        while (pos_ < text_.size() && isBlank(text_[pos_])) {
            if (isLineEnd(text_[pos_])) {
                skipLineEnd();
                ++lines;
            } else {
                ++pos_;
            }
        }
        return lines;
    }

    // Steps to the end of this line, stopping before its line end.
    void skipToLineEnd() {
        while (pos_ < text_.size() && !isLineEnd(text_[pos_])) {
            ++pos_;
        }
    }

    // Steps over the line end here (CR LF, CR or LF); returns whether there
    // was one, false at the end of the text.
    bool skipLineEnd() {
        if (pos_ >= text_.size()) {
            return false;
        }
        pos_ += text_.substr(pos_, 2) == "\r\n" ? 2 : 1;
        return true;
    }

    // The fields of the rest of this line: the first ones go into `fields`,
    // as many as it holds; returns how many the line has. Stops before the
    // line end.
    int lineFields(std::span<std::string_view> fields) {
        int count = 0;
        while (pos_ < text_.size() && !isLineEnd(text_[pos_])) {
            if (isBlank(text_[pos_])) {
                ++pos_;
                continue;
            }
            const std::string_view found = field();
            if (static_cast<std::size_t>(count) < fields.size()) {
                fields[static_cast<std::size_t>(count)] = found;
            }
            ++count;
        }
        return count;
    }

private:
    static bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }
    static bool isLineEnd(char c) { return c == '\r' || c == '\n'; }

    std::string_view text_;
    std::size_t pos_ = 0;
};

} // namespace quarvel
