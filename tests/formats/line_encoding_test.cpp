#include "formats/line_encoding.h"

#include <gtest/gtest.h>
#include <string>

using namespace quarvel;

TEST(LineEncoding, ValidUtf8StaysAndAnythingElseIsReadAsLatin1) {
    const struct {
        std::string bytes;
        bool valid;
    } cases[] = {
        {"0.00001", true},
        {"", true},
        {"\xC3\xA9t\xC3\xA9", true}, // "été" in UTF-8
        {"\xF0\x9F\x8C\x8A", true},  // U+1F30A
        {"\xE9t\xE9", false},        // "été" in Latin-1
        {"\xC0\xAF", false},         // overlong "/"
        {"\xED\xA0\x80", false},     // a surrogate
        {"\xF4\x90\x80\x80", false}, // above U+10FFFF
        {"\xC3", false},             // cut short
        {"\xE2\x82", false},         // cut short
        {"\x80", false},             // a lone continuation byte
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(isValidUtf8(c.bytes), c.valid);
        const DecodedLine line = decodeLine(c.bytes);
        EXPECT_EQ(line.latin1, !c.valid);
        EXPECT_TRUE(isValidUtf8(line.text));
        // Saved back unchanged, every line is the bytes it was read from.
        EXPECT_EQ(encodeLine(line.text, line.latin1), c.bytes);
    }
    EXPECT_EQ(decodeLine("\xE9").text, "\xC3\xA9");
    EXPECT_EQ(decodeLine("\xFF").text, "\xC3\xBF");
}

TEST(LineEncoding, ATextBeyondLatin1IsSavedAsUtf8) {
    EXPECT_EQ(encodeLine("\xC3\xA9", true), "\xE9");
    EXPECT_EQ(encodeLine("\xC3\xA9", false), "\xC3\xA9");
    EXPECT_EQ(encodeLine("\xE2\x82\xAC \xC3\xA9", true), "\xE2\x82\xAC \xC3\xA9"); // "€ é"
}
