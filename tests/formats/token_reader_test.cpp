#include "formats/token_reader.h"

#include <gtest/gtest.h>
#include <sstream>
#include <vector>

using quarvel::TokenReader;

namespace {
// Records read by a loop that tests atEnd() before each record and does not
// skip the rest of the line.
std::vector<std::vector<double>> readRawLoop(const std::string& text, int perRecord) {
    std::istringstream in(text);
    TokenReader r(in);
    std::vector<std::vector<double>> out;
    while (!r.atEnd()) {
        std::vector<double> rec;
        for (int i = 0; i < perRecord; ++i) {
            rec.push_back(r.readNumber());
        }
        out.push_back(rec);
    }
    return out;
}
} // namespace

TEST(TokenReader, RawEndTestSeesAnExtraZeroRecordAfterTheLastLineBreak) {
    const auto recs = readRawLoop("1 2 3\r\n4 5 6\r\n", 3);
    ASSERT_EQ(recs.size(), 3u);
    EXPECT_EQ(recs[2], (std::vector<double>{0, 0, 0}));
    EXPECT_EQ(readRawLoop("1 2 3\r\n4 5 6", 3).size(), 2u);
}

TEST(TokenReader, LineLoopAndSeparatorEndTest) {
    std::istringstream in("1 2 rest of line\r\n\r\n3\t4\n  \r\n");
    TokenReader r(in);
    std::vector<std::pair<double, double>> pairs;
    while (!r.onlySeparatorsLeft()) {
        const double a = r.readNumber();
        const double b = r.readNumber();
        r.skipLine();
        pairs.emplace_back(a, b);
    }
    ASSERT_EQ(pairs.size(), 2u);
    EXPECT_EQ(pairs[0], std::make_pair(1.0, 2.0));
    EXPECT_EQ(pairs[1], std::make_pair(3.0, 4.0));
}

TEST(TokenReader, TokensEndAtControlCharactersAndBinaryIsHarmless) {
    std::string text = "12x\x01"
                       "7\x1f-3";
    text += '\0';
    text += "\xff\xfe 9";
    std::istringstream in(text);
    TokenReader r(in);
    EXPECT_EQ(r.readNumber(), 12.0);
    EXPECT_EQ(r.readNumber(), 7.0);
    EXPECT_EQ(r.readNumber(), -3.0);
    EXPECT_EQ(r.readNumber(), 0.0);
    EXPECT_EQ(r.readNumber(), 9.0);
    EXPECT_EQ(r.readNumber(), 0.0);
    EXPECT_TRUE(r.atEnd());
}

TEST(TokenReader, SkipsAByteOrderMarkOnlyAtTheStart) {
    const struct {
        const char* name;
        std::string text;
        std::vector<std::string> tokens;
    } cases[] = {
        {"mark before the first number",
         "\xEF\xBB\xBF"
         "0.01 1500 1.7\r\n",
         {"0.01", "1500", "1.7"}},
        {"mark alone", "\xEF\xBB\xBF", {}},
        {"mark in the middle is text",
         "1 \xEF\xBB\xBF"
         "2",
         {"1", "\xEF\xBB\xBF"
               "2"}},
        {"a mark cut short is text", "\xEF\xBB", {"\xEF\xBB"}},
        {"two bytes of a mark, then a number",
         "\xEF\xBB"
         "5 6",
         {"\xEF\xBB"
          "5",
          "6"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::istringstream in(c.text);
        TokenReader r(in);
        std::vector<std::string> tokens;
        while (!r.onlySeparatorsLeft())
            tokens.push_back(r.readToken());
        EXPECT_EQ(tokens, c.tokens);
    }
}
