#include "chirp/signal_file.h"
#include "formats/quarvel_error.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

TEST(SignalFile, EachLineIsAFieldAndGoesBackAsItCame) {
    const struct {
        std::string bytes;
        ChirpTexts texts;
        std::array<bool, 4> latin1;
        std::string saved; // what saving the texts read writes
    } cases[] = {
        {"0.01\r\n2000\r\n7000\r\n0.00001\r\n",
         {"0.01", "2000", "7000", "0.00001"},
         {},
         "0.01\r\n2000\r\n7000\r\n0.00001\r\n"},
        {" 0.02 \n3000\r8000\n0.00002\nextra\n",
         {" 0.02 ", "3000", "8000", "0.00002"},
         {},
         " 0.02 \r\n3000\r\n8000\r\n0.00002\r\n"},
        {"0.02\r\n\r\n", {"0.02", "", "", ""}, {}, "0.02\r\n\r\n\r\n\r\n"},
        {"0.01 d\xE9"
         "faut\r\n2000\r\n7000 \xC3\xA9t\xC3\xA9\r\n\xB5s",
         {"0.01 d\xC3\xA9"
          "faut",
          "2000", "7000 \xC3\xA9t\xC3\xA9", "\xC2\xB5s"},
         {true, false, false, true},
         "0.01 d\xE9"
         "faut\r\n2000\r\n7000 \xC3\xA9t\xC3\xA9\r\n\xB5s\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.bytes);
        const SignalFile file = parseSignalFile(c.bytes, "x.SIG");
        EXPECT_EQ(file.texts.width, c.texts.width);
        EXPECT_EQ(file.texts.start, c.texts.start);
        EXPECT_EQ(file.texts.end, c.texts.end);
        EXPECT_EQ(file.texts.interval, c.texts.interval);
        EXPECT_EQ(file.latin1, c.latin1);
        EXPECT_EQ(formatSignalFile(file), c.saved);
    }
}

TEST(SignalFile, TextWithNulIsNoSignalFile) {
    try {
        parseSignalFile(std::string("0.01\r\n\0\x01\r\n", 9), "b.SIG");
        ADD_FAILURE();
    } catch (const QuarvelError& e) {
        EXPECT_STREQ(e.what(), "Cannot open file \"b.SIG\". It is not a chirp signal file.");
    }
}

} // namespace
} // namespace quarvel
