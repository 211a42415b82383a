#include "formats/quarvel_error.h"
#include "probe/depth_twt.h"

#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace quarvel::depth_twt {
namespace {

const std::vector<LogRecord> threeRecords = {
    {0.0, 1500.0, 1.5}, {0.5, 1500.0, 1.7}, {1.0, 1600.0, 1.9}};

std::string errorOf(auto&& call) {
    try {
        call();
    } catch (const QuarvelError& e) {
        return e.what();
    }
    return "no error";
}

TEST(ProbeDepth, RowsMapLinearlyBetweenTopAndBottom) {
    struct Case {
        const char* top;
        const char* bottom;
        int ymin, ymax;
        long long dy;
        double previous, depth;
    };
    const std::vector<Case> cases = {
        {"0", "1000", 25, 1000, 512 - 25, 9.0, 0.49948717948717947},
        {"0", "1000", 25, 1000, 0, 9.0, 0.0},
        {"0", "1000", 25, 1000, 975, 9.0, 1.0},
        {"0", "1000", 25, 1000, -25, 9.0, -25.0 / 975.0},
        {"1000", "2000", 1, 501, 250, 9.0, 1.5},
        {" 2.5e2", "750", 0, 100, 50, 9.0, 0.5},
        {"junk", "1000", 0, 1000, 500, 9.0, 0.5},
        {"12mm", "112", 0, 100, 100, 9.0, 0.112},
        {"0", "1000 mm", 25, 1000, 487, 9.0, 9.0},
        {"0", "", 25, 25, 487, -3.0, -3.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.top) + " / " + c.bottom);
        EXPECT_DOUBLE_EQ(probeDepth(c.top, c.bottom, c.ymin, c.ymax, c.dy, c.previous), c.depth);
    }
}

TEST(ProbeDepth, EqualPixelRowsStopTheCommand) {
    EXPECT_EQ(errorOf([] { probeDepth("0", "1000", 25, 25, 3, 0.0); }),
              "Floating point division by zero");
    EXPECT_EQ(errorOf([] { probeDepth("500", "500", 25, 25, 3, 0.0); }),
              "Invalid floating point operation");
}

TEST(ProbeDepth, ExtremePixelFieldsDoNotOverflow) {
    const int lo = std::numeric_limits<int>::min();
    const int hi = std::numeric_limits<int>::max();
    EXPECT_NEAR(probeDepth("0", "1000", lo, hi, 0LL - lo, 0.0), 0.5, 1e-9);
}

TEST(EstimateTwt, SumsWholeIntervalsDownToTheTarget) {
    struct Case {
        const char* name;
        double depth;
        double twt;
        int record;
        const char* velocityText;
        const char* densityText;
    };
    const std::vector<Case> cases = {
        {"inside the first interval", 0.4995, 0.5 / 1500 * 2000, 2, "1500.00", "1.700"},
        {"exactly on a record", 0.5, 0.5 / 1500 * 2000, 2, "1500.00", "1.700"},
        {"second interval counted whole", 0.51, (0.5 / 1500 + 0.5 / 1550) * 2000, 3, "1600.00",
         "1.900"},
        {"at 0 m", 0.0, 0.0, 1, "1500.00", "1.500"},
        {"above the surface", -2.0, 0.0, 1, "1500.00", "1.500"},
        {"below the last record at its velocity", 1.8,
         (0.5 / 1500 + 0.5 / 1550 + 0.8 / 1600) * 2000, 3, "1600.00", "1.900"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TwtEstimate e = estimateTwt(threeRecords, 3, c.depth);
        EXPECT_DOUBLE_EQ(e.estTwt, c.twt);
        EXPECT_EQ(e.record, c.record);
        EXPECT_EQ(e.velocityText, c.velocityText);
        EXPECT_EQ(e.densityText, c.densityText);
        EXPECT_EQ(e.belowLog, c.depth > 1.0);
    }
    EXPECT_EQ(estimateTwt(threeRecords, 3, 0.4995).instVelocity, 1500.0);
    EXPECT_EQ(estimateTwt(threeRecords, 3, 0.4995).instDensity, 1.7);
}

TEST(EstimateTwt, NonPositiveMeanVelocityAddsNothingButAdvances) {
    const std::vector<LogRecord> log = {
        {0.0, 0.0, 1.0}, {0.2, 0.0, 1.1}, {0.4, -100.0, 1.2}, {0.6, 1500.0, 1.3}};
    const TwtEstimate e = estimateTwt(log, 4, 0.5);
    EXPECT_DOUBLE_EQ(e.estTwt, 0.2 / 700 * 2000);
    EXPECT_EQ(e.record, 4);
    EXPECT_EQ(e.velocityText, "1500.00");
}

TEST(EstimateTwt, ReadsOnlyTheLoadedRecords) {
    // Records past LogCount are left from an earlier, longer log.
    std::vector<LogRecord> table = threeRecords;
    table.push_back({1.5, 100.0, 9.0});
    const TwtEstimate twoLoaded = estimateTwt(table, 2, 1.2);
    EXPECT_DOUBLE_EQ(twoLoaded.estTwt, (0.5 / 1500 + 0.7 / 1500) * 2000);
    EXPECT_EQ(twoLoaded.record, 2);
    EXPECT_TRUE(twoLoaded.belowLog);
    const TwtEstimate countTooLarge = estimateTwt(threeRecords, 64000, 5.0);
    EXPECT_EQ(countTooLarge.record, 3);
}

TEST(EstimateTwt, EmptyOrSingleRecordLogs) {
    for (int count : {0, -5}) {
        const TwtEstimate e = estimateTwt(threeRecords, count, 0.7);
        EXPECT_EQ(e.estTwt, 0.0);
        EXPECT_EQ(e.record, 0);
        EXPECT_EQ(e.velocityText, "");
        EXPECT_EQ(e.densityText, "");
    }
    const std::vector<LogRecord> one = {{0.3, 1500.0, 1.6}};
    EXPECT_EQ(estimateTwt(one, 1, 0.2).estTwt, 0.0) << "above the only record";
    EXPECT_DOUBLE_EQ(estimateTwt(one, 1, 0.6).estTwt, 0.3 / 1500 * 2000);
    const std::vector<LogRecord> stalled = {{0.3, 0.0, 1.6}};
    EXPECT_EQ(estimateTwt(stalled, 1, 0.6).estTwt, 0.0) << "no velocity to continue with";
}

TEST(PointTexts, StatusTextsExactly) {
    const PointTexts t = pointTexts(40, 512, 200, 100, 7, 0.49948717948717947, 0.66666666);
    EXPECT_EQ(t.depthText, "0.4995");
    EXPECT_EQ(t.twtText, "0.667");
    EXPECT_EQ(t.status0, "Image: (40, 512)  R:200  G:100  B:7");
    EXPECT_EQ(t.status1, "Depth :0.4995 m    Est. TWT:0.667 msec");
    const PointTexts negative = pointTexts(3, 0, 0, 0, 0, -25.0 / 975.0, 0.0);
    EXPECT_EQ(negative.status1, "Depth :-0.0256 m    Est. TWT:0.000 msec");
}

TEST(PanelReadouts, NothingDrawnShowsZeros) {
    const SeriesExtents none{};
    for (int size : {151, 0}) {
        EXPECT_EQ(synthReadout(10, 20, size, size, none).status1,
                  "TWT :0.0000 msec.    AMP :0.0000");
        EXPECT_EQ(traceReadout(10, 20, size, size, none, 0.0).status1,
                  "TWT :0.0000 (0.0000)  msec.    AMP :0.0000");
    }
}

TEST(TraceMark, RowByTimeFromTheTopRow) {
    EXPECT_EQ(traceMarkRow(0.6667, 0.0, 60.0, 600), 6);
    EXPECT_EQ(traceMarkRow(30.0, 12.0, 72.0, 600), 300)
        << "the first sample's time is not subtracted";
    EXPECT_EQ(traceMarkRow(-0.15, 0.0, 60.0, 600), -1) << "truncated toward zero";
    EXPECT_EQ(traceMarkLabel(0.6667, "0.4995"), "0.667 (0.4995)");
}

TEST(TraceMark, NoTimeSpanStopsTheCommand) {
    // A click with "Trace" checked before any trace is drawn.
    const std::string noTrace(NoTraceToMark);
    EXPECT_EQ(errorOf([] { traceMarkRow(0.6667, 5.0, 5.0, 600); }), noTrace);
    EXPECT_EQ(errorOf([] { traceMarkRow(0.0, 0.0, 0.0, 600); }), noTrace);
    EXPECT_EQ(errorOf([] { traceMarkRow(1e300, 0.0, 1e-300, 600); }),
              "Invalid floating point operation");
}

} // namespace
} // namespace quarvel::depth_twt
