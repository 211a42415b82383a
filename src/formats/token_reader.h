#pragma once

#include <istream>
#include <string>

namespace quarvel {

// Reads numbers from a text stream the way every data file of the program is
// read: characters of code 32 or less (blank, tab, CR, LF) separate tokens,
// a token runs to the next such character, and a number asked for when only
// separators remain reads as 0.
//
// Two end tests exist because the file formats were defined with two kinds of
// loops. atEnd() is true only when no character at all is left, so a loop that
// tests it before each record sees one extra all-zero record after a final
// line break. onlySeparatorsLeft() is true when nothing but separators
// remains, so such a loop stops cleanly after the last real record.
//
// A UTF-8 byte-order mark at the very start of the stream is skipped.
class TokenReader {
public:
    explicit TokenReader(std::istream& in);

    bool atEnd();
    bool onlySeparatorsLeft();

    // The next token as text ("" at the end of the stream).
    std::string readToken();
    // The next token converted with numbers::parseNumber (0 at the end).
    double readNumber();
    // Consumes the rest of the current line, its line break included.
    void skipLine();

private:
    std::istream& in_;
};

// The whole remaining text of a stream.
std::string readWholeStream(std::istream& in);

} // namespace quarvel
