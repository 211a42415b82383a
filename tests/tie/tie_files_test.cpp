#include "support/temp_work_dir.h"
#include "tie/tie_points.h"
#include "tie/tie_series.h"
#include "tie/time_depth.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel::tie {
namespace {

TEST(TimeDepth, TwoRowLogFollowsTheEnginesRule) {
    // The first span at the first row's velocity, the second at the lower
    // row's: 2 * 0.5 / 1600 = 0.625 ms, then + 2 * 0.5 / 1650 ms.
    const std::vector<TimeDepthPoint> table = timeDepthTable({0.5, 1.0}, {1600, 1650});
    ASSERT_EQ(table.size(), 3u);
    EXPECT_NEAR(table[2].twt, 1.2310606, 1e-6);
    EXPECT_EQ(timeDepthCsv(table),
              "depth_m,twt_ms\r\n0.0000,0.000\r\n0.5000,0.625\r\n1.0000,1.231\r\n");
}

TEST(TimeDepth, RefusesRowsWithoutATime) {
    EXPECT_THROW(timeDepthTable({0.5, 1.0}, {1600, 0}), std::exception);
    EXPECT_THROW(timeDepthTable({0.5, 0.5}, {1600, 1600}), std::exception);
    EXPECT_EQ(timeDepthTable({}, {}).size(), 1u);
}

TEST(TiePoints, TimeDepthTableByDepthFromThePointsWithATraceTime) {
    const std::string head = "# depth (m) to the trace's two-way time (ms) at 2 tie points below "
                             "the sea floor; straight lines between them\r\n"
                             "depth_m,twt_ms\r\n0.0000,0.000\r\n";
    // By depth; a point without a trace time left out; of two at one depth
    // the later one.
    EXPECT_EQ(tiePointTimeDepthCsv({{300, "1.5000", 1.9, 2.1},
                                    {94, "0.4700", 0.6, std::nullopt},
                                    {90, "0.4500", 0.6, 0.55},
                                    {90, "0.4500", 0.6, 0.58}}),
              head + "0.4500,0.580\r\n1.5000,2.100\r\n");
    // Times that go back up, or no trace time at all, make no table.
    EXPECT_THROW(tiePointTimeDepthCsv({{90, "0.4500", 0.6, 0.7}, {300, "1.5000", 1.9, 0.6}}),
                 std::exception);
    EXPECT_THROW(tiePointTimeDepthCsv({{90, "0.4500", 0.6, std::nullopt}}), std::exception);
}

TEST(TiePoints, CsvInTheOrderMadeWithAnEmptyTraceTimeWhereUnmarked) {
    const std::vector<TiePoint> points{{200, "0.4995", 0.66667, 0.66667},
                                       {12, "0.0100", 0.0134, std::nullopt}};
    EXPECT_EQ(tiePointsCsv(points), "row,depth_m,est_twt_ms,trace_twt_ms\r\n"
                                    "200,0.4995,0.667,0.667\r\n"
                                    "12,0.0100,0.013,\r\n");
    EXPECT_EQ(tiePointsCsv({}), "row,depth_m,est_twt_ms,trace_twt_ms\r\n");
}

TEST(TieSeries, ReadsTimeAndAmplitudeLinesAndRefusesAnythingElse) {
    const TimeSeries ok = parseSeries(" 0.5  1\r\n\r\n1.0\t-2e-1\n", "trace.txt", 0.001);
    EXPECT_EQ(ok.time, (std::vector<double>{0.0005, 0.001}));
    EXPECT_EQ(ok.value, (std::vector<double>{1, -0.2}));

    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"0 1\n1 abc\n", "Line 2 of \"trace.txt\" is not a time and an amplitude."},
        {"0 1\n1\n", "Line 2 of \"trace.txt\" is not a time and an amplitude."},
        {"0 1 2\n", "Line 1 of \"trace.txt\" is not a time and an amplitude."},
        {"0 1\n1e999 1\n", "Line 2 of \"trace.txt\" is not a time and an amplitude."},
        {"0 1\n0 2\n", "Line 2 of \"trace.txt\" has a time that is not later"},
        {"0 1\n", "\"trace.txt\" holds fewer than two samples"},
        {"", "\"trace.txt\" holds fewer than two samples"},
    };
    for (const Case& c : cases) {
        try {
            parseSeries(c.text, "trace.txt", 1.0);
            ADD_FAILURE() << c.text;
        } catch (const std::exception& e) {
            EXPECT_NE(std::string(e.what()).find(c.message), std::string::npos) << e.what();
        }
    }
}

TEST(TieSeries, MissingAndBinaryFilesAreRefused) {
    testing::TempWorkDir dir;
    EXPECT_THROW(readSeriesFile(dir.file("none.txt"), 1.0), std::exception);
    dir.write("binary.txt", std::string("0 1\n1 2\0\x01", 9));
    try {
        readSeriesFile(dir.file("binary.txt"), 1.0);
        ADD_FAILURE();
    } catch (const std::exception& e) {
        EXPECT_NE(std::string(e.what()).find("Cannot open file"), std::string::npos) << e.what();
    }
    dir.write("ok.txt", "0 1\r\n1 2\r\n");
    EXPECT_EQ(readSeriesFile(dir.file("ok.txt"), 1.0).value.size(), 2u);
}

} // namespace
} // namespace quarvel::tie
