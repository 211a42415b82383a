#include "editor/interpolation.h"
#include "formats/text_file.h"
#include "survey/log_import.h"
#include "survey/segy_reader.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

const std::filesystem::path Examples = std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/examples";

// The example line carries the demo trace as the envelope channel of its
// first shot, at the demo trace's own times.
TEST(ExampleFiles, SegyLineHoldsTheDemoTrace) {
    SegyReader reader(Examples / "demo_line.sgy");
    EXPECT_EQ(reader.layout().channels, 3);
    EXPECT_EQ(reader.layout().traceCount, 15);
    EXPECT_EQ(reader.layout().formatCode, 1);
    const SegyTrace trace = reader.readTrace(0);
    ASSERT_EQ(trace.amplitudes.size(), 96U);
    EXPECT_DOUBLE_EQ(trace.firstTimeMs, 83.5);
    EXPECT_DOUBLE_EQ(trace.intervalMs, 0.04);
    const std::string demo = readTextFile(Examples / "../demo/demo_trace.txt");
    EXPECT_EQ(demo.substr(0, demo.find('\r')), "83.500 9448.2");
    EXPECT_NEAR(trace.amplitudes[0], 9448.2, 1e-3);
}

TEST(ExampleFiles, LogsConvertWithTheProposedColumns) {
    struct Case {
        const char* file;
        LogFileKind kind;
        int records;
        int missing;
        int cleaned;
    };
    const Case cases[] = {
        {"demo_core.las", LogFileKind::Las, 56, 2, 0},
        // The spikes are 7 % of the readings: the proposed range keeps 95 %.
        {"demo_core_mscl.txt", LogFileKind::Mscl, 140, 4, 6},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        const std::string text = readTextFile(Examples / c.file);
        ASSERT_EQ(logFileKind(text), c.kind);
        const SurveyLog log = readSurveyLog(c.kind, text, c.file);
        const ColumnChoice choice = proposeColumns(log.table);
        const ConvertedLog converted = convertLog(
            log.table, choice, proposeCleaningRules(velocityReadings(log.table, choice)));
        EXPECT_EQ(converted.records, c.records);
        EXPECT_EQ(converted.missingValues, c.missing);
        EXPECT_EQ(converted.cleaned.byAmplitude + converted.cleaned.byRange, c.cleaned);
        EXPECT_TRUE(converted.notes.empty());
        // Every gap of the examples spans two readings or more, so Interpolate
        // Series leaves the engine a complete log.
        for (const LogRecord& record : readLogRecords(interpolateLogText(converted.text))) {
            EXPECT_NE(record.Velocity, 0) << record.Depth;
            EXPECT_NE(record.Density, 0) << record.Depth;
        }
    }
}

} // namespace
} // namespace quarvel
