#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "probe/log_scale.h"

#include <climits>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {
namespace {

LogScaleResult scaleOf(const std::string& text, const LogScaleSettings& settings = {}) {
    return calcLogScale(text, settings);
}

struct ScaleCase {
    const char* name;
    std::string log;
    LogScaleSettings settings;
    int minVel, maxVel, minDens, maxDens;
    double meanVelocity;
    int count;
};

TEST(CalcLogScale, BoundsFollowTheLogWhereAutoIsOn) {
    LogScaleSettings manual;
    manual.autoVel = false;
    manual.autoDens = false;
    LogScaleSettings velocityOnly;
    velocityOnly.autoDens = false;
    velocityOnly.minDens = 7;
    velocityOnly.maxDens = 3;

    const ScaleCase cases[] = {
        {"velocities and densities",
         "0.1 1480 1.5\r\n0.5 1623.7 2.25\r\n1.0 1550 1.8\r\n",
         {},
         1480,
         1623,
         1500,
         2250,
         1551.5,
         3},
        {"empty log", "", {}, 10000, 0, 100000, 1, 5000, 0},
        {"only blanks", " \r\n\t\r\n", {}, 10000, 0, 100000, 1, 5000, 0},
        {"depth 0 widens nothing but is stored",
         "0 1200 0.9\r\n0.2 1500 1.6\r\n",
         {},
         1500,
         1500,
         1600,
         1600,
         1500,
         2},
        {"negative depth widens nothing",
         "-1 100 5\r\n1 1500.9 1.6\r\n",
         {},
         1500,
         1500,
         1600,
         1600,
         1500,
         2},
        {"products just below an integer truncate down",
         "1 1500 1.001\r\n2 1500 2.01\r\n",
         {},
         1500,
         1500,
         1000,
         2009,
         1500,
         2},
        {"auto off leaves the bounds alone", "1 1000 3.5\r\n", manual, 1400, 1600, 1400, 2300, 1500,
         1},
        {"each flag on its own", "1 1490 1.5\r\n2 1510 1.7\r\n", velocityOnly, 1490, 1510, 7, 3,
         1500, 2},
        {"negative values truncate toward zero", "1 -10.7 -0.0015\r\n", {}, -10, 0, -1, 1, -5, 1},
        {"values beyond the int range saturate",
         "1 1e300 1e300\r\n2 -1e300 -1e300\r\n",
         {},
         INT_MIN,
         INT_MAX,
         INT_MIN,
         INT_MAX,
         -0.5,
         2},
    };
    for (const ScaleCase& c : cases) {
        SCOPED_TRACE(c.name);
        const LogScaleResult r = scaleOf(c.log, c.settings);
        EXPECT_EQ(r.scales.minVel, c.minVel);
        EXPECT_EQ(r.scales.maxVel, c.maxVel);
        EXPECT_EQ(r.scales.minDens, c.minDens);
        EXPECT_EQ(r.scales.maxDens, c.maxDens);
        EXPECT_DOUBLE_EQ(r.meanVelocity, c.meanVelocity);
        EXPECT_EQ(static_cast<int>(r.records.size()), c.count);
        EXPECT_EQ(r.scales.autoVel, c.settings.autoVel);
        EXPECT_FALSE(r.truncated);
    }
}

struct ReadCase {
    const char* name;
    std::string log;
    std::vector<LogRecord> records;
};

TEST(CalcLogScale, ReadsThreeNumbersPerLineAndNoPhantomRecord) {
    const ReadCase cases[] = {
        {"final line break",
         "0.1 1500 1.6\r\n0.2 1510 1.7\r\n",
         {{0.1, 1500, 1.6}, {0.2, 1510, 1.7}}},
        {"no final line break", "0.1 1500 1.6\n0.2 1510 1.7", {{0.1, 1500, 1.6}, {0.2, 1510, 1.7}}},
        {"blank lines at the end", "0.1 1500 1.6\r\n\r\n\r\n  \t\r\n", {{0.1, 1500, 1.6}}},
        {"blank line between records",
         "0.1 1500 1.6\r\n\r\n0.2 1510 1.7\r\n",
         {{0.1, 1500, 1.6}, {0.2, 1510, 1.7}}},
        {"rest of the line skipped",
         "0.1 1500 1.6 99 junk\r\n0.2 1510 1.7\r\n",
         {{0.1, 1500, 1.6}, {0.2, 1510, 1.7}}},
        {"short line continues on the next",
         "0.1 1500\r\n1.6 7 8\r\n0.3 1520 1.8\r\n",
         {{0.1, 1500, 1.6}, {0.3, 1520, 1.8}}},
        {"short last line reads zeros", "0.1 1500 1.6\r\n0.2", {{0.1, 1500, 1.6}, {0.2, 0, 0}}},
        {"words read as zero", "abc 1500 x\r\n", {{0, 1500, 0}}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const LogScaleResult r = scaleOf(c.log);
        ASSERT_EQ(r.records.size(), c.records.size());
        for (std::size_t i = 0; i < c.records.size(); ++i) {
            EXPECT_DOUBLE_EQ(r.records[i].Depth, c.records[i].Depth);
            EXPECT_DOUBLE_EQ(r.records[i].Velocity, c.records[i].Velocity);
            EXPECT_DOUBLE_EQ(r.records[i].Density, c.records[i].Density);
        }
        EXPECT_DOUBLE_EQ(r.topDepth, c.records.front().Depth);
        EXPECT_DOUBLE_EQ(r.bottomDepth, c.records.back().Depth);
    }
}

std::string linesOfLog(int count) {
    std::string text;
    for (int i = 1; i <= count; ++i) {
        text += numbers::formatInteger(i) + " 1500 1.6\r\n";
    }
    return text;
}

TEST(CalcLogScale, StopsAtTheTableCapacityAndSaysSo) {
    const LogScaleResult full = scaleOf(linesOfLog(LogCapacity) + "\r\n");
    EXPECT_EQ(full.records.size(), static_cast<std::size_t>(LogCapacity));
    EXPECT_FALSE(full.truncated);

    const LogScaleResult over = scaleOf(linesOfLog(LogCapacity + 2));
    EXPECT_EQ(over.records.size(), static_cast<std::size_t>(LogCapacity));
    EXPECT_TRUE(over.truncated);
    EXPECT_DOUBLE_EQ(over.bottomDepth, LogCapacity);
}

// Bytes of every value except digits: no token is a number, so every record
// reads as zeros at depth 0 and nothing widens a bound.
TEST(CalcLogScale, BinaryGarbageReadsAsZerosAndWidensNothing) {
    std::string garbage;
    for (int i = 0; i < 20000; ++i) {
        const char c = static_cast<char>((i * 7919) % 256);
        garbage += (c >= '0' && c <= '9') ? '\0' : c;
    }
    const LogScaleResult r = scaleOf(garbage);
    EXPECT_FALSE(r.records.empty());
    EXPECT_FALSE(r.truncated);
    for (const LogRecord& record : r.records) {
        EXPECT_EQ(record.Depth, 0.0);
        EXPECT_EQ(record.Velocity, 0.0);
        EXPECT_EQ(record.Density, 0.0);
    }
    EXPECT_EQ(r.scales.minVel, 10000);
    EXPECT_EQ(r.scales.maxVel, 0);
    EXPECT_EQ(r.scales.minDens, 100000);
    EXPECT_EQ(r.scales.maxDens, 1);
}

TEST(CalcLogScale, MissingFileIsAnEmptyLogAndResultsGoToTheWorkspace) {
    const LogScaleResult r =
        calcLogScaleFile(std::filesystem::path("/nonexistent/quarvel/log.dat"), {});
    EXPECT_TRUE(r.records.empty());
    EXPECT_EQ(r.scales.minVel, 10000);

    WorkspaceState state;
    state.LogTable.assign(5, LogRecord{9, 9, 9});
    state.LogCount = 5;
    applyLogScale(scaleOf("0.5 1480 1.5\r\n2.5 1623.7 2.25\r\n"), state);
    EXPECT_EQ(state.LogCount, 2);
    ASSERT_EQ(state.LogTable.size(), 2u);
    EXPECT_DOUBLE_EQ(state.LogTable[1].Velocity, 1623.7);
    EXPECT_DOUBLE_EQ(state.LogTopDepth, 0.5);
    EXPECT_DOUBLE_EQ(state.LogBottomDepth, 2.5);
    EXPECT_DOUBLE_EQ(state.MeanVelocity, 1551.5);

    applyLogScale(r, state);
    EXPECT_EQ(state.LogCount, 0);
    EXPECT_TRUE(state.LogTable.empty());
    EXPECT_DOUBLE_EQ(state.LogTopDepth, 0);
    EXPECT_DOUBLE_EQ(state.LogBottomDepth, 0);
}

// Reading a FIFO would wait for a writer for ever: a log.dat that is not a
// file is refused with a message instead.
TEST(CalcLogScale, ALogDatThatIsNotAFileIsRefused) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() /
                                      ("quarvel-log-scale-" + std::to_string(::getpid()));
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    const std::filesystem::path fifo = dir / "log.dat";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_THROW(calcLogScaleFile(fifo, {}), QuarvelError);
    std::filesystem::remove_all(dir);
}

} // namespace
} // namespace quarvel
