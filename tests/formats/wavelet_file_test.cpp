#include "formats/quarvel_error.h"
#include "formats/wavelet_file.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

TEST(WaveletFile, TheGraphsCountTheClosingZeroPairOfAFinalLineBreak) {
    struct Case {
        const char* text;
        std::vector<double> values;
    };
    const Case cases[] = {
        {"", {}},
        {"0.1 2\r\n", {2.0, 0.0}},
        {"0.1 2", {2.0}},
        {"0.1 2\r\n0.2 -3.5\r\n", {2.0, -3.5, 0.0}},
        {"  0.1\t2\n0.2 x\n", {2.0, 0.0, 0.0}}, // a non-number reads as 0
        {"0.1", {0.0}},                         // a lone time: its value reads as 0
    };
    for (const Case& c : cases) {
        EXPECT_EQ(
            parseWaveletFile(c.text, {"", FieldRule::TokensWhileAnyCharacter, NoRecordLimit, {}})
                .value,
            c.values)
            << c.text;
    }
}

TEST(WaveletFile, TheEngineReadsWholeNumbersPerLineUpToItsRows) {
    const RecordReading Engine{"k.dat", FieldRule::WholeNumbersPerLine, NoRecordLimit, {}};
    const WaveletFile file = parseWaveletFile("-1E-5 0.5\r\n0 1\r\n\r\n", Engine);
    EXPECT_EQ(file.time, (std::vector<double>{-1e-5, 0}));
    EXPECT_EQ(file.value, (std::vector<double>{0.5, 1}));
    EXPECT_THROW(parseWaveletFile("0 1\r\n1 x\r\n", Engine), QuarvelError);
    EXPECT_THROW(parseWaveletFile("0 1\r\n1 2\r\n",
                                  {"k.dat", FieldRule::WholeNumbersPerLine, 1, "too many"}),
                 QuarvelError);
}

} // namespace
} // namespace quarvel
