#include "formats/quarvel_error.h"
#include "support/temp_work_dir.h"
#include "survey/section_raster.h"
#include "survey/segy_section.h"
#include "survey/segy_test_file.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel::testing {
namespace {

// Traces of 10 samples at 1 ms (IEEE floats), trace t holding t + 1 in every
// sample but a sea floor of 100 * (t + 1) at sample `floor(t)`; positions
// 3 m apart along x.
SegyTestFile line(int traces, int channels = 1, int (*floor)(int) = nullptr) {
    SegyTestFile file;
    file.formatCode = 5;
    file.intervalUs = 1000;
    for (int t = 0; t < traces; ++t) {
        std::vector<double> samples(10, t + 1.0);
        samples[static_cast<std::size_t>(floor != nullptr ? floor(t) : 4)] = 100.0 * (t + 1);
        SegyTestTrace trace{samples, 1 + t / channels};
        trace.x = 3 * (t / channels);
        trace.y = 7;
        trace.coordinateUnits = 1;
        file.traces.push_back(trace);
    }
    return file;
}

class SegySectionTest : public ::testing::Test {
protected:
    SegyReader& open(const SegyTestFile& file) {
        work.write("line.sgy", segyBytes(file));
        reader = std::make_unique<SegyReader>(work.file("line.sgy"));
        return *reader;
    }

    TempWorkDir work;
    std::unique_ptr<SegyReader> reader;
};

TEST_F(SegySectionTest, ColumnsTakeTheMiddleTraceAndRowsTheStrongestSample) {
    struct Case {
        const char* name;
        int traces;
        int channels;
        SectionRequest request;
        std::vector<int> columnTraces;
        std::vector<double> distances;
    };
    const std::vector<Case> cases = {
        {"two columns a trace",
         3,
         1,
         {.width = 6, .height = 10},
         {0, 0, 1, 1, 2, 2},
         {0, 0, 3, 3, 6, 6}},
        {"decimated to the width",
         12,
         1,
         {.width = 4, .height = 10},
         {1, 4, 7, 10},
         {0, 9, 18, 27}},
        {"a range of traces",
         12,
         1,
         {.firstTrace = 5, .lastTrace = 8, .width = 2, .height = 10},
         {6, 8},
         {0, 6}},
        {"second channel", 6, 2, {.channel = 1, .width = 3, .height = 10}, {1, 3, 5}, {0, 3, 6}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SegySection section = buildSegySection(open(line(c.traces, c.channels)), c.request);
        ASSERT_EQ(section.columns.size(), c.columnTraces.size());
        EXPECT_DOUBLE_EQ(section.firstTimeMs, 0);
        EXPECT_DOUBLE_EQ(section.lastTimeMs, 10);
        for (std::size_t i = 0; i < c.columnTraces.size(); ++i) {
            const SectionColumn& column = section.columns[i];
            const int trace = c.columnTraces[i];
            EXPECT_EQ(column.trace, trace);
            EXPECT_DOUBLE_EQ(column.distance, c.distances[i]);
            EXPECT_EQ(column.seaFloorRow, 4);
            EXPECT_EQ(section.value(static_cast<int>(i), 4), 100.0F * (trace + 1));
            EXPECT_EQ(section.value(static_cast<int>(i), 9), trace + 1.0F);
        }
    }
    // Five rows of two samples each: a row shows the stronger of its two.
    const SegySection halved = buildSegySection(open(line(1)), {.width = 1, .height = 5});
    EXPECT_EQ(halved.value(0, 2), 100.0F);
    EXPECT_EQ(halved.value(0, 3), 1.0F);
    EXPECT_DOUBLE_EQ(halved.rowTimeMs(2), 5);
    // A typed interval replaces the headers': ten samples at 2 ms.
    const SegySection typed =
        buildSegySection(open(line(1)), {.width = 1, .height = 10, .intervalMs = 2});
    EXPECT_DOUBLE_EQ(typed.lastTimeMs, 20);
    EXPECT_EQ(typed.columns[0].seaFloorRow, 4);
}

TEST_F(SegySectionTest, DelaysAndFlatteningPlaceEachTraceInTime) {
    SegyTestFile file = line(2, 1, [](int t) { return 2 + 3 * t; });
    file.traces[1].delayMs = 4;
    SegyReader& segy = open(file);
    // Trace 2 starts 4 ms later: 14 ms in all, no data above it.
    const SegySection plain = buildSegySection(segy, {.width = 2, .height = 14});
    EXPECT_DOUBLE_EQ(plain.lastTimeMs, 14);
    EXPECT_TRUE(std::isnan(plain.value(1, 3)));
    EXPECT_TRUE(std::isnan(plain.value(0, 12)));
    EXPECT_EQ(plain.columns[0].seaFloorRow, 2);
    EXPECT_EQ(plain.columns[1].seaFloorRow, 9);
    // Flattened, both sea floors lie at 0 ms.
    const SegySection flat = buildSegySection(segy, {.width = 2, .height = 15, .flatten = true});
    EXPECT_TRUE(flat.flattened);
    EXPECT_DOUBLE_EQ(flat.firstTimeMs, -5);
    EXPECT_EQ(flat.columns[0].seaFloorRow, flat.columns[1].seaFloorRow);
    EXPECT_EQ(flat.value(0, 5), 100.0F);
    EXPECT_EQ(flat.value(1, 5), 200.0F);
}

TEST_F(SegySectionTest, RequestsThatDoNotFitAreRefusedAndProgressCanStop) {
    SegyReader& segy = open(line(4, 2));
    const std::vector<std::pair<SectionRequest, std::string>> refused = {
        {{.width = 0}, "A section is 1 to 8192 pixels wide and high"},
        {{.width = 8192, .height = 8192}, "at most 16777216 pixels in all"},
        {{.channel = 2}, "There is no channel 3: the line's shots have 2."},
        {{.firstTrace = 2, .lastTrace = 9}, "Traces 3 to 10 are not a part of the line"},
        {{.timesMs = std::pair(2.0, 1.0)}, "A section's times must run from an earlier to a later"},
    };
    for (const auto& [request, message] : refused) {
        try {
            buildSegySection(segy, request);
            ADD_FAILURE() << message;
        } catch (const QuarvelError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
    std::vector<int> seen;
    const SegySection stopped = buildSegySection(segy, {.width = 2}, [&](int done, int total) {
        seen.push_back(done);
        EXPECT_EQ(total, 4);
        return done < 3;
    });
    EXPECT_EQ(stopped.width, 0);
    EXPECT_EQ(seen, (std::vector<int>{1, 2, 3}));

    const std::vector<std::pair<std::string, std::pair<int, int>>> ranges = {
        {"2-3", {1, 2}}, {"4", {3, 3}}, {"1-4", {0, 3}}};
    for (const auto& [text, expected] : ranges) {
        SectionRequest request;
        parseTraceRange(text, 4, request);
        EXPECT_EQ(request.firstTrace, expected.first) << text;
        EXPECT_EQ(request.lastTrace, expected.second) << text;
    }
    for (const std::string text : {"0-2", "3-2", "1-5", "a-b", "1.5-2", "", "-3"}) {
        SectionRequest request;
        EXPECT_THROW(parseTraceRange(text, 4, request), QuarvelError) << text;
    }
}

TEST(SectionView, ZoomKeepsThePointedTraceAndPanStaysOnTheLine) {
    struct Case {
        const char* name;
        TraceSpan shown;
        int about;
        double factor;
        long long pan;
        TraceSpan expected;
    };
    // A line of 1000 traces, at least 10 in view.
    const std::vector<Case> cases = {
        {"zoom in about the middle", {0, 999}, 500, 0.5, 0, {250, 749}},
        {"zoom in about the first trace", {0, 999}, 0, 0.1, 0, {0, 99}},
        {"zoom in about a trace a quarter along", {100, 500}, 200, 0.5, 0, {150, 350}},
        {"no fewer than ten traces", {100, 119}, 110, 0.01, 0, {105, 114}},
        {"zoom out stops at the whole line", {400, 599}, 500, 100, 0, {0, 999}},
        {"zoom out near the end keeps to the line", {900, 999}, 950, 4, 0, {600, 999}},
        {"pan forward", {100, 199}, 0, 1, 50, {150, 249}},
        {"pan beyond the start", {100, 199}, 0, 1, -500, {0, 99}},
        {"pan beyond the end", {100, 199}, 0, 1, 5000000000LL, {900, 999}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TraceSpan span = c.pan != 0 ? pannedSpan(c.shown, c.pan, 1000)
                                          : zoomedSpan(c.shown, c.about, c.factor, 1000, 10);
        EXPECT_EQ(span.first, c.expected.first);
        EXPECT_EQ(span.last, c.expected.last);
    }
}

TEST(SectionColours, AmplitudesMapToGreyOrBlueWhiteRed) {
    struct Case {
        double scaled;
        SectionColours colours;
        bool signedData;
        std::uint32_t colour;
    };
    const std::vector<Case> cases = {
        {0, SectionColours::Grey, true, 0xFF808080},
        {1, SectionColours::Grey, true, 0xFF000000},
        {-3, SectionColours::Grey, true, 0xFFFFFFFF},
        {0, SectionColours::Grey, false, 0xFFFFFFFF},
        {0.5, SectionColours::Grey, false, 0xFF808080},
        {0, SectionColours::Diverging, true, 0xFFFFFFFF},
        {-1, SectionColours::Diverging, true, 0xFF0000FF},
        {2, SectionColours::Diverging, false, 0xFFFF0000},
        {0.5, SectionColours::Diverging, false, 0xFFFF8080},
        {NAN, SectionColours::Grey, true, SectionNoData},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(sectionColour(c.scaled, c.colours, c.signedData), c.colour) << c.scaled;
    }
}

TEST(SectionPixels, ClipSeaFloorAndChosenTraceAreDrawn) {
    // Six columns, one row each of 0 to 5, the sea floor stepping down.
    SegySection section;
    section.width = 6;
    section.height = 8;
    section.values.assign(48, 0);
    for (int c = 0; c < 6; ++c) {
        section.columns.push_back({.trace = 10 + 2 * c, .seaFloorRow = c < 3 ? 1 : 7});
        section.values[static_cast<std::size_t>(c)] = static_cast<float>(c);
    }
    section.columns[5].seaFloorRow = -1;
    EXPECT_DOUBLE_EQ(sectionClip(section, 100), 5);
    // Most samples are 0: a clip of 0 would draw nothing, the largest is taken.
    EXPECT_DOUBLE_EQ(sectionClip(section, 50), 5);
    section.values[10] = 3;
    section.values[11] = 4;
    EXPECT_DOUBLE_EQ(sectionClip(section, 90), 3);
    SectionStyle style;
    style.clipPercent = 100;
    style.chosenTrace = 15; // nearest column 2 (trace 14), stack 2 reaches 13 to 17
    style.stackTraces = 2;
    const std::vector<std::uint32_t> pixels = sectionPixels(section, style);
    const auto at = [&](int c, int r) { return pixels[static_cast<std::size_t>(r) * 6 + c]; };
    EXPECT_EQ(at(0, 0), 0xFFFFFFFFU);
    EXPECT_EQ(at(0, 3), 0xFFFFFFFFU);
    EXPECT_EQ(at(4, 4), 0xFFFFFFFFU);
    // Chosen column 2 edged; columns of traces 14 and 16 tinted under the edges.
    for (const int r : {0, 2, 3}) {
        EXPECT_EQ(at(1, r), SectionChosen);
        EXPECT_EQ(at(3, r), SectionChosen);
    }
    EXPECT_EQ(at(2, 5), 0xFFCFFFFFU);
    // The pick at row 1, then a step to row 7 drawn half in each column.
    EXPECT_EQ(at(0, 1), SectionSeaFloor);
    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(at(2, r), SectionSeaFloor) << r;
    }
    EXPECT_NE(at(2, 5), SectionSeaFloor);
    EXPECT_EQ(at(4, 7), SectionSeaFloor);
    EXPECT_NE(at(5, 7), SectionSeaFloor);
}

} // namespace
} // namespace quarvel::testing
