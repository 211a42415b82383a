#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/series_file.h"
#include "support/temp_work_dir.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

SeriesData seriesOf(const std::string& text) {
    return readListing(text, {}).series;
}

struct ReadCase {
    const char* name;
    std::string text;
    std::vector<double> time;
    std::vector<double> amplitude;
};

TEST(ReadSeries, PairsPerLineWithTheRestOfTheLineSkipped) {
    const ReadCase cases[] = {
        {"blank line at the end adds no sample", "0.1 5\r\n0.2 -3\r\n\r\n", {0.1, 0.2}, {5, -3}},
        {"blanks after the last line", "0.1 5\r\n0.2 -3\r\n \t \r\n\r\n", {0.1, 0.2}, {5, -3}},
        {"no final line break", "0.1 5\r\n0.2 -3", {0.1, 0.2}, {5, -3}},
        {"blank line between samples", "0.1 5\r\n\r\n0.2 -3\r\n", {0.1, 0.2}, {5, -3}},
        {"rest of the line skipped", "0.1 5 9 9\r\n0.2 -3 x\r\n", {0.1, 0.2}, {5, -3}},
        {"single number pairs with the next line",
         "0.1 5\r\n0.2\r\n7 8 9\r\n0.4 1\r\n",
         {0.1, 0.2, 0.4},
         {5, 7, 1}},
        {"single number at the very end", "0.1 5\r\n0.3\r\n", {0.1, 0.3}, {5, 0}},
        {"tabs and exponents", "1.5E-3\t-2.5e+1\n", {0.0015}, {-25}},
        {"words read as zero", "t a\r\n", {0}, {0}},
        {"empty file", "", {}, {}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const SeriesData s = seriesOf(c.text);
        ASSERT_EQ(s.time.size(), c.time.size());
        for (std::size_t i = 0; i < c.time.size(); ++i) {
            EXPECT_DOUBLE_EQ(s.time[i], c.time[i]);
            EXPECT_DOUBLE_EQ(s.amplitude[i], c.amplitude[i]);
        }
        EXPECT_FALSE(s.truncated);
    }
}

TEST(ReadSeries, RunningTimeBoundsStartFromZeroAndOneHundredThousand) {
    const struct {
        std::string text;
        double max, min;
    } cases[] = {
        {"5 1\r\n2 1\r\n9 1\r\n", 9, 2},
        {"-5 1\r\n-2 1\r\n", 0, -5},
        {"200000 1\r\n300000 1\r\n", 300000, 100000},
        {"", 0, 100000},
    };
    for (const auto& c : cases) {
        const SeriesData s = seriesOf(c.text);
        EXPECT_DOUBLE_EQ(s.runningTimeMax, c.max) << c.text;
        EXPECT_DOUBLE_EQ(s.runningTimeMin, c.min) << c.text;
    }
}

TEST(ReadSeries, StopsAtCapacityAndSaysSoAndSurvivesGarbage) {
    std::string text;
    for (int i = 1; i <= SeriesCapacity + 1; ++i) {
        text += numbers::formatInteger(i) + " 1\r\n";
    }
    const SeriesData full = seriesOf(text);
    EXPECT_EQ(full.count(), SeriesCapacity);
    EXPECT_TRUE(full.truncated);
    EXPECT_DOUBLE_EQ(full.time.back(), SeriesCapacity);

    std::string garbage;
    for (int i = 0; i < 4096; ++i) {
        const char c = static_cast<char>((i * 131) % 256);
        garbage += (c >= '0' && c <= '9') ? '\xff' : c;
    }
    const SeriesData junk = seriesOf(garbage);
    EXPECT_FALSE(junk.truncated);
    EXPECT_GT(junk.count(), 0);
    const SeriesExtents e = seriesExtents(junk);
    EXPECT_EQ(e.ampMin, 0.0);
    EXPECT_EQ(e.ampMax, 0.0);
}

TEST(SeriesExtents, FirstAndLastInFileOrderAmplitudeRange) {
    const SeriesExtents e = seriesExtents(seriesOf("0.3 2\r\n0.1 -4\r\n0.2 7\r\n0.05 1\r\n"));
    EXPECT_DOUBLE_EQ(e.timeFirst, 0.3);
    EXPECT_DOUBLE_EQ(e.timeLast, 0.05);
    EXPECT_DOUBLE_EQ(e.ampMin, -4);
    EXPECT_DOUBLE_EQ(e.ampMax, 7);
    const SeriesExtents empty = seriesExtents(seriesOf("\r\n"));
    EXPECT_EQ(empty.timeFirst, 0.0);
    EXPECT_EQ(empty.timeLast, 0.0);
    EXPECT_EQ(empty.ampMin, 0.0);
    EXPECT_EQ(empty.ampMax, 0.0);
}

// One table of listing texts under each rule: the samples read, the first
// field a panel cannot place (Drawn), or the refusal (Strict).
TEST(ReadListing, EachRuleReadsOrRefusesAsItSays) {
    using enum ListingRule;
    const struct {
        ListingRule rule;
        std::string text;
        std::vector<double> time; // Drawn: the samples; Strict: when accepted
        int unplaceableLine;
        std::string unplaceableOrRefusal;
    } cases[] = {
        {Drawn, "1 2\r\n2 nan\r\n3 -INF\r\n", {1, 2, 3}, 2, "nan"},
        {Drawn, "1 2\r\n\r\n2\r\n1e999 4 nan\r\n", {1, 2}, 4, "1e999"},
        {Drawn,
         "\xEF\xBB\xBF"
         "1 2 inf\n2 3\n",
         {1, 2},
         0,
         ""},
        {Drawn, "1 2\rInfinity 3\r", {1, 0}, 2, "Infinity"},
        {Strict, "\xEF\xBB\xBF 1  2\r\n\r\n3\t4\r\n\r\n", {1, 3}, 0, ""},
        {Strict, "1 2\r\n\r\n2\r\n", {}, 0, "Line 3 of \"t.txt\" is not a time and an amplitude."},
        {Strict, "1 2\n2 nan\n", {}, 0, "Line 2 of \"t.txt\" is not a time and an amplitude."},
        {Strict, "1,5 2\n", {}, 0, "Line 1 of \"t.txt\" is not a time and an amplitude."},
        {Strict,
         "1 2\n\n1 3\n",
         {},
         0,
         "Line 3 of \"t.txt\" has a time that is not later than the line before."},
        {Strict, "1 2\n2 3\n3 4\n4 5\n", {}, 0, "\"t.txt\" holds more than 3 samples."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ListingReading reading{"t.txt", c.rule, 3, 1.0};
        if (c.rule == Strict && !c.unplaceableOrRefusal.empty()) {
            try {
                readListing(c.text, reading);
                ADD_FAILURE() << "not refused";
            } catch (const QuarvelError& e) {
                EXPECT_EQ(e.what(), c.unplaceableOrRefusal);
            }
            continue;
        }
        const Listing listing = readListing(c.text, reading);
        EXPECT_EQ(listing.series.time, c.time);
        EXPECT_EQ(listing.unplaceableLine, c.unplaceableLine);
        EXPECT_EQ(listing.unplaceableField, c.unplaceableOrRefusal);
    }
}

TEST(ReadListing, TimesAreScaledBeforeTheyAreCompared) {
    const Listing ms = readListing("0.5 1\n1.0 -0.2\n", {"t", ListingRule::Strict, 10, 0.001});
    EXPECT_EQ(ms.series.time, (std::vector<double>{0.5 * 0.001, 1.0 * 0.001}));
    EXPECT_EQ(ms.series.amplitude, (std::vector<double>{1, -0.2}));
}

TEST(ReadSeriesFile, WhatCannotBeReadIsAnEmptySeries) {
    testing::TempWorkDir dir;
    EXPECT_EQ(readSeriesFile(dir.file("missing.dat")).count(), 0);
    EXPECT_EQ(readSeriesFile(dir.path()).count(), 0); // a folder
    dir.write("ampl.dat", "\xEF\xBB\xBF"
                          "0.1 2\r\n0.2 3\r\n");
    EXPECT_EQ(readSeriesFile(dir.file("ampl.dat")).amplitude, (std::vector<double>{2, 3}));
}

TEST(AppendSeriesLine, TimeInE23OrWithSixDecimals) {
    std::string text;
    appendSeriesLine(text, 0.00002, -0.5);
    appendSeriesLine(text, 12.5, 1.0, SeriesTimeForm::Fixed6);
    EXPECT_EQ(text, " 2.00000000000000E-0005 -5.00000000000000E-0001\r\n"
                    "12.500000  1.00000000000000E+0000\r\n");
}

} // namespace
} // namespace quarvel
