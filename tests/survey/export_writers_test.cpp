#include "formats/quarvel_error.h"
#include "support/temp_work_dir.h"
#include "survey/las_reader.h"
#include "survey/las_writer.h"
#include "survey/segy_reader.h"
#include "survey/segy_writer.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using testing::TempWorkDir;

std::vector<double> ramp(std::size_t count) {
    std::vector<double> values(count);
    for (std::size_t i = 0; i < count; ++i) {
        values[i] = std::sin(0.1 * static_cast<double>(i)) * 1e-3;
    }
    return values;
}

TEST(SegyWriter, ReadsBackWithItsIntervalDelayAndSamples) {
    struct Case {
        double intervalSeconds;
        double firstTimeMs;
        std::size_t count;
    };
    for (const Case& c : {Case{1e-5, 0, 5}, Case{5e-6, -1.234, 400}, Case{66e-6, 12.5, 3},
                          Case{65535e-6, 32767, 1}, Case{1e-6, 0.01234, 64000}}) {
        SCOPED_TRACE(c.intervalSeconds);
        const TempWorkDir work;
        SegyTraceExport trace{ramp(c.count), c.intervalSeconds, c.firstTimeMs, {"LOG log.dat"}};
        writeSegyTraceFile(work.file("synthetic.sgy"), trace);
        SegyReader reader(work.file("synthetic.sgy"));
        EXPECT_EQ(reader.layout().revision, 1);
        EXPECT_EQ(reader.layout().formatCode, 5);
        EXPECT_EQ(reader.layout().traceCount, 1);
        EXPECT_EQ(reader.layout().samplesPerTrace, static_cast<int>(c.count));
        EXPECT_DOUBLE_EQ(reader.layout().intervalMs, c.intervalSeconds * 1e3);
        const SegyTraceHeader header = reader.traceHeader(0);
        EXPECT_EQ(header.intervalUs, std::lround(c.intervalSeconds * 1e6));
        // The header holds delays to a ten-thousandth of a millisecond.
        EXPECT_NEAR(header.delayMs, c.firstTimeMs, 5e-5);
        const SegyTrace read = reader.readTrace(0);
        ASSERT_EQ(read.amplitudes.size(), c.count);
        for (std::size_t i = 0; i < c.count; ++i) {
            ASSERT_EQ(read.amplitudes[i], static_cast<float>(trace.amplitudes[i])) << i;
        }
        // Cards 1 to 3 in EBCDIC: "C 1 SYN", "C 2 SAM", "C 3 LOG".
        const std::string bytes = work.read("synthetic.sgy");
        EXPECT_EQ(bytes.substr(0, 7), "\xC3\x40\xF1\x40\xE2\xE8\xD5");
        EXPECT_EQ(bytes.substr(80, 7), "\xC3\x40\xF2\x40\xE2\xC1\xD4");
        EXPECT_EQ(bytes.substr(160, 7), "\xC3\x40\xF3\x40\xD3\xD6\xC7");
    }
}

TEST(SegyWriter, RefusesWhatItsHeadersCannotHoldAndKeepsTheOldFile) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    for (const SegyTraceExport& trace :
         {SegyTraceExport{{}, 1e-5, 0, {}}, SegyTraceExport{ramp(65536), 1e-5, 0, {}},
          SegyTraceExport{{0.0, nan}, 1e-5, 0, {}}, SegyTraceExport{{1e39}, 1e-5, 0, {}},
          SegyTraceExport{ramp(4), 10.5e-6, 0, {}}, SegyTraceExport{ramp(4), 0, 0, {}},
          SegyTraceExport{ramp(4), 65536e-6, 0, {}}, SegyTraceExport{ramp(4), 1e-5, 40000, {}},
          SegyTraceExport{ramp(4), 1e-5, nan, {}}}) {
        const TempWorkDir work;
        work.write("synthetic.sgy", "old");
        EXPECT_THROW(writeSegyTraceFile(work.file("synthetic.sgy"), trace), QuarvelError);
        EXPECT_EQ(work.read("synthetic.sgy"), "old");
    }
}

TEST(SegyWriter, AnEvenlySampledSeriesGivesItsIntervalAndFirstTime) {
    const SegyTraceExport trace = evenlySampledTrace({-0.00002, -0.00001, 0.0}, {1, 2, 3}, "s");
    EXPECT_DOUBLE_EQ(trace.intervalSeconds, 1e-5);
    EXPECT_DOUBLE_EQ(trace.firstTimeMs, -0.02);
    EXPECT_EQ(trace.amplitudes, (std::vector<double>{1, 2, 3}));
    for (const std::vector<double>& times : {std::vector<double>{0}, {0, 1e-5, 2.1e-5, 3e-5}}) {
        EXPECT_THROW(evenlySampledTrace(times, std::vector<double>(times.size()), "s"),
                     QuarvelError);
    }
}

TEST(LasWriter, ReadsBackWithCorrectedVelocitiesAndTheFactorInItsHeader) {
    struct Case {
        std::vector<LogRecord> records;
        double factor;
        std::string source;
        std::string step;
        std::string factorLine;
    };
    const std::vector<LogRecord> even{{0.0, 1070.5, 1.61}, {0.01, 1071, 1.62}, {0.02, 1069, 1.6}};
    const std::vector<LogRecord> uneven{{0.1, 1500, 1.7}, {0.15, 1510, 1.75}, {0.3, 1490, 1.8}};
    for (const Case& c :
         {Case{even, 1.38, "tie, p = 0.01", " STEP.M       0.010           : STEP\r\n",
               " VFAC.        1.3800          : VELOCITY FACTOR (tie, p = 0.01)\r\n"},
          Case{uneven, 1, "", " STEP.M       0.000           : STEP\r\n",
               " VFAC.        1.0000          : VELOCITY FACTOR\r\n"},
          Case{{{2.5, 1600, 1.9}},
               0.9,
               "typed: by hand\n",
               " STEP.M       0.000           : STEP\r\n",
               " VFAC.        0.9000          : VELOCITY FACTOR (typed; by hand?)\r\n"}}) {
        SCOPED_TRACE(c.factor);
        const std::string text = lasText({c.records, c.factor, c.source, "core 7", "2026-12-08"});
        EXPECT_NE(text.find(c.step), std::string::npos);
        EXPECT_NE(text.find(c.factorLine), std::string::npos);
        const ColumnTable table = readLas(text, "log.las");
        ASSERT_EQ(table.columns.size(), 3U);
        EXPECT_EQ(table.columns[0].name + table.columns[0].unit, "DEPTM");
        EXPECT_EQ(table.columns[1].name + table.columns[1].unit, "VPM/S");
        EXPECT_EQ(table.columns[2].name + table.columns[2].unit, "RHOBG/CM3");
        ASSERT_EQ(table.rows.size(), c.records.size());
        for (std::size_t i = 0; i < c.records.size(); ++i) {
            EXPECT_DOUBLE_EQ(table.rows[i][0], c.records[i].Depth);
            EXPECT_NEAR(table.rows[i][1], c.records[i].Velocity * c.factor, 5e-4);
            EXPECT_DOUBLE_EQ(table.rows[i][2], c.records[i].Density);
        }
    }
}

TEST(LasWriter, RefusesAnEmptyLogABadFactorAndValuesThatAreNotNumbers) {
    const double inf = std::numeric_limits<double>::infinity();
    const std::vector<LogRecord> log{{0, 1500, 1.7}};
    for (const LasExport& bad :
         {LasExport{{}, 1, "", "", ""}, LasExport{log, 0, "", "", ""},
          LasExport{log, std::nan(""), "", "", ""}, LasExport{log, 1e308 * 10, "", "", ""},
          LasExport{{{0, inf, 1.7}}, 1, "", "", ""}, LasExport{{{0, 1500, inf}}, 1, "", "", ""}}) {
        EXPECT_THROW(lasText(bad), QuarvelError);
    }
}

} // namespace
} // namespace quarvel
