#include "editor/interpolation.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// "depth velocity density" lines for depths 1, 2, 3, ...
std::string logText(const std::vector<double>& velocities, const std::vector<double>& densities) {
    std::vector<quarvel::LogRecord> records;
    for (std::size_t i = 0; i < velocities.size(); ++i) {
        records.push_back({static_cast<double>(i + 1), velocities[i], densities[i]});
    }
    return quarvel::formatLogRecords(records);
}

} // namespace

TEST(InterpolateSeries, FillsRunsOfTwoOrMoreZerosBetweenAnchors) {
    struct Case {
        const char* name;
        std::vector<double> velocities;
        std::vector<double> densities;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"two zeros filled",
         {1500, 0, 0, 1600},
         {1.8, 1.8, 1.8, 1.8},
         "1.000 1500.000 1.800\r\n2.000 1533.333 1.800\r\n3.000 1566.667 1.800\r\n"
         "4.000 1600.000 1.800\r\n"},
        {"a single zero stays",
         {1500, 0, 1600},
         {1.8, 1.8, 1.8},
         "1.000 1500.000 1.800\r\n2.000 0.000 1.800\r\n3.000 1600.000 1.800\r\n"},
        {"leading zeros ramp up from 0",
         {0, 0, 0, 1600},
         {1.8, 1.8, 1.8, 1.8},
         "1.000 0.000 1.800\r\n2.000 533.333 1.800\r\n3.000 1066.667 1.800\r\n"
         "4.000 1600.000 1.800\r\n"},
        {"trailing zeros stay",
         {1500, 0, 0},
         {1.8, 1.8, 1.8},
         "1.000 1500.000 1.800\r\n2.000 0.000 1.800\r\n3.000 0.000 1.800\r\n"},
        {"velocity and density independent",
         {1500, 0, 0, 1530, 1530, 1530},
         {1.5, 1.5, 1.5, 0, 0, 1.8},
         "1.000 1500.000 1.500\r\n2.000 1510.000 1.500\r\n3.000 1520.000 1.500\r\n"
         "4.000 1530.000 1.600\r\n5.000 1530.000 1.700\r\n6.000 1530.000 1.800\r\n"},
        {"empty log", {}, {}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string once = quarvel::interpolateLogText(logText(c.velocities, c.densities));
        EXPECT_EQ(once, c.expected);
        EXPECT_EQ(quarvel::interpolateLogText(once), once) << "a second run changes nothing";
    }
}

TEST(InterpolateSeries, RunsBetweenAnchorsWhoseDepthsDoNotIncreaseStayAsTheyAre) {
    // Depths edited by hand: the closing anchors lie at or above the openers.
    const std::string text = "5 1500 1.5\r\n6 0 0\r\n7 0 0\r\n5 1600 1.9\r\n"
                             "8 1600 1.9\r\n9 0 0\r\n9.5 0 0\r\n8 1700 2.1\r\n";
    EXPECT_EQ(quarvel::interpolateLogText(text),
              "5.000 1500.000 1.500\r\n6.000 0.000 0.000\r\n7.000 0.000 0.000\r\n"
              "5.000 1600.000 1.900\r\n8.000 1600.000 1.900\r\n9.000 0.000 0.000\r\n"
              "9.500 0.000 0.000\r\n8.000 1700.000 2.100\r\n");
}

TEST(InterpolateSeries, ReadsOneRecordPerLineIgnoringTheRestAndTrailingBlanks) {
    const auto records =
        quarvel::readLogRecords("1 1500 1.8 extra words\r\n2 1510 1.9\r\n\r\n  \r\n");
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(records[1].Depth, 2.0);
    EXPECT_EQ(records[1].Velocity, 1510.0);
    EXPECT_EQ(records[1].Density, 1.9);
}

// Three decimals would merge a scanner log's tenth-of-a-millimetre depths and
// drop typed digits; each column keeps what its values need, at most six.
TEST(InterpolateSeries, ColumnsKeepTheDecimalsTheirValuesNeed) {
    const struct {
        const char* name;
        std::string text;
        std::string expected;
    } cases[] = {
        {"0.1-mm depths", "0.1000 1500 1.8\r\n0.1001 0 1.8\r\n0.1002 0 1.8\r\n0.1003 1530 1.8\r\n",
         "0.1000 1500.000 1.800\r\n0.1001 1510.000 1.800\r\n0.1002 1520.000 1.800\r\n"
         "0.1003 1530.000 1.800\r\n"},
        {"typed digits of one column",
         "1.000000 1500.000000 1.234567\r\n2.000000 1520.500000 1.250000\r\n",
         "1.000 1500.000 1.234567\r\n2.000 1520.500 1.250000\r\n"},
        {"beyond six decimals, as the grid keeps them", "1.00000001 1500 1.8\r\n2 1500 1.8\r\n",
         "1.000 1500.000 1.800\r\n2.000 1500.000 1.800\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string once = quarvel::interpolateLogText(c.text);
        EXPECT_EQ(once, c.expected);
        EXPECT_EQ(quarvel::interpolateLogText(once), once);
    }
    const auto records = quarvel::readLogRecords(quarvel::interpolateLogText(
        "1.00000 1500 1.8\r\n1.00005 1500 1.8\r\n1.00010 1500 1.8\r\n1.000101 1500 1.8\r\n"));
    ASSERT_EQ(records.size(), 4u);
    for (std::size_t i = 1; i < records.size(); ++i)
        EXPECT_LT(records[i - 1].Depth, records[i].Depth) << "row " << i + 1;
}
