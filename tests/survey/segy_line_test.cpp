#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "support/temp_work_dir.h"
#include "survey/segy_choice.h"
#include "survey/segy_line.h"
#include "survey/segy_load.h"
#include "survey/segy_test_file.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::testing {
namespace {

// A chirp envelope as sub-bottom profilers record it: the outgoing pulse in
// the first samples, a quiet water column, the sea floor rising at
// `seaFloor` and weaker reflectors below.
std::vector<double> envelope(int samples, int seaFloor, double strength = 1) {
    std::vector<double> trace(static_cast<std::size_t>(samples));
    const std::vector<double> pulse{21000, 16000, 9000, 3500, 900};
    for (std::size_t i = 0; i < trace.size(); ++i) {
        const auto at = static_cast<int>(i);
        double value = 80 + 40 * std::sin(0.7 * at);
        if (i < pulse.size()) {
            value = pulse[i];
        }
        const int below = at - seaFloor;
        if (below >= 0) {
            value += 16000 * std::exp(-below / 3.0) * (below == 0 ? 0.6 : 1);
            value += 5000 * std::exp(-std::abs(below - 25) / 2.0);
        }
        trace[i] = std::round(value * strength);
    }
    return trace;
}

// Field records 101..., positions every 10 m east of (5000, 8000) with a
// coordinate scalar of -10, int16 envelope samples.
SegyTestFile line(int traces, int channels = 1) {
    SegyTestFile file;
    file.formatCode = 3;
    file.intervalUs = 66;
    for (int i = 0; i < traces; ++i) {
        const int shot = i / channels;
        SegyTestTrace trace{envelope(120, 50, 1 + 0.01 * i), 101 + shot};
        trace.traceInRecord = i % channels + 1;
        trace.x = 50000 + 100 * shot;
        trace.y = 80000;
        trace.coordinateScalar = -10;
        trace.coordinateUnits = 1;
        file.traces.push_back(trace);
    }
    return file;
}

class SegyLineTest : public ::testing::Test {
protected:
    SegyReader& open(const SegyTestFile& file) {
        work.write("line.sgy", segyBytes(file));
        reader = std::make_unique<SegyReader>(work.file("line.sgy"));
        headers = reader->traceHeaders();
        return *reader;
    }

    std::string refusal(const SegyLoadRequest& request) {
        try {
            loadSegyTrace(*reader, headers, request);
        } catch (const QuarvelError& error) {
            return error.what();
        }
        return "no error";
    }

    TempWorkDir work;
    std::unique_ptr<SegyReader> reader;
    std::vector<SegyTraceHeader> headers;
};

TEST_F(SegyLineTest, SummaryTellsWhatTheHeadersSay) {
    SegyTestFile file = line(6, 3);
    file.littleEndian = true;
    file.intervalUs = 0;
    for (SegyTestTrace& trace : file.traces) {
        trace.intervalUs = 66;
        trace.delayMs = 125;
        trace.timeScalar = -100;
        trace.waterDepth = 24;
    }
    const std::vector<std::string> lines = segySummaryLines(summarizeSegy(open(file), headers));
    const std::vector<std::string> expected{
        "File: " + work.file("line.sgy").string(),
        "Traces: 6 (2 shots of 3 channels)",
        "Samples per trace: 120",
        "Sample interval: binary header none, first trace header 66 µs; used 0.0660 ms from the "
        "trace header",
        "Delay of the first sample: 1.250 ms",
        "Sample format: 3, 2-byte signed integer",
        "Byte order: little-endian, revision 0",
        "Field records (shots): 101 to 102; trace numbers in the record: 1 to 3",
        "X: 5000 to 5010; Y: 8000 (length units)",
        "Water depth in the first trace header: 24.00 (if metres, the sea floor at 32.000 ms "
        "two way at 1500 m/s)",
    };
    EXPECT_EQ(lines, expected);
}

TEST_F(SegyLineTest, TraceChosenByIndexShotOrNearestPosition) {
    open(line(12, 3));
    struct Case {
        const char* name;
        TraceChoice choice;
        int index;
    };
    const std::vector<Case> cases = {
        {"index in file order", {TraceChoiceKind::Index, 5}, 4},
        {"shot, first channel", {TraceChoiceKind::Shot, 103}, 6},
        {"shot, third channel", {TraceChoiceKind::Shot, 103, 2}, 8},
        {"nearest position, second channel", {TraceChoiceKind::Near, 0, 1, 5021, 8003}, 7},
        {"beyond the line's end", {TraceChoiceKind::Near, 0, 0, 9000, 8000}, 9},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(chooseTrace(headers, 3, c.choice), c.index);
    }
    const std::vector<std::pair<TraceChoice, std::string>> refused = {
        {{TraceChoiceKind::Index, 13}, "There is no trace 13; the line holds traces 1 to 12."},
        {{TraceChoiceKind::Index, 0}, "There is no trace 0"},
        {{TraceChoiceKind::Shot, 99},
         "No trace has the field record (shot) number 99; the line's run from 101 to 104."},
        {{TraceChoiceKind::Shot, 103, 3},
         "There is no channel 4: the line's shots have 3 channels."},
        {{TraceChoiceKind::Near, 0, 98, 5021, 8003}, "There is no channel 99"},
    };
    for (const auto& [choice, message] : refused) {
        try {
            chooseTrace(headers, 3, choice);
            ADD_FAILURE() << message;
        } catch (const QuarvelError& error) {
            EXPECT_NE(std::string(error.what()).find(message), std::string::npos) << error.what();
        }
    }
    try {
        chooseTrace(headers, 1, {TraceChoiceKind::Shot, 103, 1});
        ADD_FAILURE() << "a second channel was chosen on a one-channel line";
    } catch (const QuarvelError& error) {
        EXPECT_STREQ(error.what(), "There is no channel 2: the line's shots have one channel.");
    }
    std::vector<SegyTraceHeader> nowhere(3);
    EXPECT_THROW(chooseTrace(nowhere, 1, {TraceChoiceKind::Near, 0, 0, 1, 1}), QuarvelError);
}

// Pings recorded at one position fix share their position: the choice says
// how many and which.
TEST(SegyPosition, TracesSharingTheNearestPositionAreCounted) {
    struct Case {
        const char* name;
        std::vector<std::pair<double, double>> positions; // one channel
        int channels;
        int channel;
        NearestTraces nearest;
        std::string said;
        std::string core;
    };
    const std::vector<Case> cases = {
        {"one trace nearest",
         {{0, 0}, {5, 1}, {9, 1}},
         1,
         0,
         {1, 1, 1, 1},
         "",
         "Core: 1.00 from trace 2."},
        {"a run at the nearest fix",
         {{1, 1}, {1, 1}, {4, 0}, {4, 0}, {4, 0}, {8, 0}},
         1,
         0,
         {2, 4, 3, 1},
         "3 traces share the nearest position (traces 3 to 5), 1.00 away; the first is taken.",
         "Core: 1.00 from traces 3 to 5 (3 share the position)."},
        {"the same distance elsewhere is not the same position",
         {{3, 1}, {5, 1}, {5, 1}},
         1,
         0,
         {0, 0, 1, 1},
         "",
         "Core: 1.00 from trace 1."},
        {"second channel of two-channel shots",
         {{4, 0}, {4, 0}, {4, 0}, {4, 0}, {9, 0}, {9, 0}},
         2,
         1,
         {1, 3, 2, 1},
         "2 traces share the nearest position (traces 2 to 4), 1.00 away; the first is taken.",
         "Core: 1.00 from traces 2 to 4 (2 share the position)."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TraceChooser chooser(c.channels, {TraceChoiceKind::Near, 0, c.channel, 4, 1});
        for (std::size_t i = 0; i < c.positions.size(); ++i) {
            chooser.add(
                static_cast<int>(i),
                {.x = c.positions[i].first, .y = c.positions[i].second, .coordinateUnits = 1});
        }
        EXPECT_EQ(chooser.chosen(static_cast<long long>(c.positions.size())), c.nearest.first);
        EXPECT_EQ(chooser.nearest().last, c.nearest.last);
        EXPECT_EQ(chooser.nearest().count, c.nearest.count);
        EXPECT_DOUBLE_EQ(chooser.nearest().distance, c.nearest.distance);
        EXPECT_EQ(sharedPositionText(chooser.nearest()), c.said);
        EXPECT_EQ(corePositionText(chooser.nearest()), c.core);
    }
}

// Longitude and latitude in seconds of arc: at 60° north a second of
// longitude is half a second of latitude long.
TEST(SegyPosition, ArcSecondsShrinkLongitudeByTheLatitude) {
    const double latitude = 60 * 3600;
    EXPECT_NEAR(headerDistance(0, latitude, 10, latitude, 2), 5, 1e-9);
    EXPECT_NEAR(headerDistance(0, 60, 10, 60, 3), 5, 1e-9);
    EXPECT_NEAR(headerDistance(0, latitude, 10, latitude, 1), 10, 1e-9);
    std::vector<SegyTraceHeader> headers(2);
    headers[0] = {.x = 12, .y = latitude, .coordinateUnits = 2};
    headers[1] = {.x = 0, .y = latitude + 8, .coordinateUnits = 2};
    // 12 s of longitude east is 6 s of arc away, nearer than 8 s north.
    EXPECT_EQ(chooseTrace(headers, 1, {TraceChoiceKind::Near, 0, 0, 0, latitude}), 0);
}

TEST_F(SegyLineTest, StackIsTheMeanOfTheNeighboursOfTheSameChannel) {
    SegyTestFile file;
    file.formatCode = 5;
    for (int i = 0; i < 8; ++i) {
        file.traces.push_back({{static_cast<double>(i), 10.0 * i}, 1 + i / 2});
    }
    file.traces[7].delayMs = 3; // recorded later: not aligned with the others
    SegyReader& segy = open(file);
    ASSERT_EQ(segy.layout().channels, 2);
    struct Case {
        int index;
        int stack;
        std::vector<double> mean;
        int used;
    };
    const std::vector<Case> cases = {
        {2, 0, {2, 20}, 1}, {2, 1, {2, 20}, 3}, // traces 0, 2, 4
        {0, 2, {2, 20}, 3},                     // traces 0, 2, 4: the line starts at 0
        {5, 1, {4, 40}, 2},                     // traces 3, 5: trace 7 has another delay
        {3, 5, {3, 30}, 3},                     // traces 1, 3, 5
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("trace " + std::to_string(c.index) + " stack " + std::to_string(c.stack));
        int used = 0;
        EXPECT_EQ(stackedTrace(segy, c.index, c.stack, 0, used).amplitudes, c.mean);
        EXPECT_EQ(used, c.used);
    }
}

TEST(SeaFloorPick, FirstSampleReachingHalfTheLargestAfterTheOutgoingPulse) {
    struct Case {
        const char* name;
        std::vector<double> trace;
        std::optional<std::size_t> pick;
    };
    std::vector<double> signedTrace(100, 0);
    for (std::size_t i = 0; i < signedTrace.size(); ++i) {
        const double pulse = i < 6 ? 1000 : 0;
        const double floor = i >= 40 ? 800 * std::exp(-(static_cast<double>(i) - 40) / 6) : 0;
        signedTrace[i] = (pulse + floor + 5) * (i % 2 == 0 ? 1 : -1);
    }
    const std::vector<Case> cases = {
        {"envelope with its pulse, sea floor at 50", envelope(400, 50), 50},
        {"sea floor at 10", envelope(100, 10), 10},
        {"no outgoing pulse", {1, 2, 1, 2, 40, 100, 60, 30}, 5},
        {"signed samples alternating", signedTrace, 40},
        {"flat", std::vector<double>(50, 0), std::nullopt},
        {"only the pulse", {900, 500, 0, 0, 0, 0}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(pickSeaFloor(c.trace), c.pick);
    }
}

// The line of the closing note: int16 envelope samples, the sea floor about
// 50 samples in. Cut at the automatic pick, the listing starts at 0 ms at the
// pick and its first strong rise lies within two samples of 0.
TEST_F(SegyLineTest, AutomaticSeaFloorCutStartsTheListingAtTheRise) {
    open(line(5));
    SegyLoadRequest request;
    request.choice = {TraceChoiceKind::Index, 3};
    request.seaFloor = SeaFloorMode::Auto;
    const SegyLoad load = loadSegyTrace(*reader, headers, request);
    ASSERT_TRUE(load.seaFloorMs);
    EXPECT_NEAR(*load.seaFloorMs, 50 * 0.066, 1e-9);
    EXPECT_EQ(load.listing.substr(0, 10), "0.000000  ");
    std::vector<double> amplitudes;
    std::size_t at = 0;
    while (at < load.listing.size()) {
        const std::size_t end = load.listing.find("\r\n", at);
        amplitudes.push_back(numbers::parseNumber(load.listing.substr(at + 9, end - at - 9)));
        at = end + 2;
    }
    EXPECT_EQ(amplitudes.size(), 70U);
    std::size_t rise = 0;
    while (amplitudes[rise] < 0.5 * 16000) {
        ++rise;
    }
    EXPECT_LE(rise, 2U);
    EXPECT_NE(load.notice.find("Sea floor: 3.300 ms by automatic pick (the first sample after "
                               "the outgoing pulse"),
              std::string::npos)
        << load.notice;
}

TEST_F(SegyLineTest, IntervalSeaFloorTimeAndLengthShapeTheListing) {
    open(line(5));
    SegyLoadRequest request;
    request.choice = {TraceChoiceKind::Shot, 102};
    request.stack = 1;
    request.intervalMs = 0.66;
    request.seaFloor = SeaFloorMode::AtTime;
    request.seaFloorMs = 33.1;
    request.lengthMs = 1.98;
    const SegyLoad load = loadSegyTrace(*reader, headers, request);
    EXPECT_EQ(load.index, 1);
    EXPECT_EQ(load.stacked, 3);
    EXPECT_NEAR(*load.seaFloorMs, 33.0, 1e-9);
    EXPECT_EQ(load.samples, 4U);
    EXPECT_EQ(load.listing.substr(0, 10), "0.000000  ");
    EXPECT_EQ(load.listing.substr(load.listing.size() - 35, 10), "\n1.980000 ");
    const std::string expected =
        "Trace 2 of 5 from \"line.sgy\": field record (shot) 102, X 5010.00, Y 8000.00 (length "
        "units).\n"
        "Stack: the mean of 3 traces (1 on each side).\n"
        "Sample interval: 0.6600 ms, given (the headers say 0.0660 ms).\n"
        "Sea floor: 33.000 ms as given; the listing starts there at 0 ms.\n"
        "Length: 1.980 ms kept, 4 samples.";
    EXPECT_EQ(load.notice, expected);

    SegyLoadRequest whole;
    whole.choice = {TraceChoiceKind::Index, 5};
    whole.stack = 2;
    const SegyLoad all = loadSegyTrace(*reader, headers, whole);
    EXPECT_EQ(all.samples, 120U);
    EXPECT_NE(all.notice.find("Stack: the mean of 3 traces (of 5 asked for"), std::string::npos);
    EXPECT_NE(all.notice.find("Not cut at the sea floor: the listing starts at the first "
                              "sample, 0.000 ms.\nLength: the whole trace, 7.854 ms, 120 "
                              "samples."),
              std::string::npos)
        << all.notice;
}

TEST_F(SegyLineTest, ChoicesThatDoNotFitAreRefused) {
    open(line(2));
    const auto with = [](auto change) {
        SegyLoadRequest request;
        change(request);
        return request;
    };
    const std::vector<std::pair<SegyLoadRequest, std::string>> cases = {
        {with([](SegyLoadRequest& r) { r.stack = -1; }), "cannot be negative"},
        {with([](SegyLoadRequest& r) { r.intervalMs = -0.1; }), "must be above 0"},
        {with([](SegyLoadRequest& r) { r.lengthMs = -1; }), "cannot be negative"},
        {with([](SegyLoadRequest& r) {
             r.seaFloor = SeaFloorMode::AtTime;
             r.seaFloorMs = 9;
         }),
         "The sea-floor time 9.000 ms lies outside the trace, which runs from 0.000 ms to "
         "7.854 ms."},
        {with([](SegyLoadRequest& r) {
             r.seaFloor = SeaFloorMode::AtTime;
             r.seaFloorMs = 7.854;
         }),
         "The listing would hold 1 sample from 7.854 ms; a trace listing needs at least two."},
        {with([](SegyLoadRequest& r) { r.lengthMs = 0.05; }), "would hold 1 sample from 0.000"},
    };
    for (const auto& [request, message] : cases) {
        const std::string said = refusal(request);
        EXPECT_NE(said.find(message), std::string::npos) << said;
    }
    SegyTestFile flat = line(1);
    flat.traces[0].samples.assign(120, 0);
    open(flat);
    EXPECT_NE(refusal(with([](SegyLoadRequest& r) {
                  r.seaFloor = SeaFloorMode::Auto;
              })).find("No sea floor can be picked"),
              std::string::npos);
}

// The trace window's fields become the request; the interval replaces the
// headers' only when the user changed its text.
TEST(SegyChoiceFields, FieldsMakeTheRequestOrNameTheWrongField) {
    const LengthSpans spans{8.2, 7.5};
    const std::string header = "0.066000";
    struct Case {
        const char* name;
        SegyChoiceFields fields;
        double intervalMs;
        double lengthMs;
    };
    const auto with = [&](auto change) {
        SegyChoiceFields fields;
        fields.intervalMs = header;
        change(fields);
        return fields;
    };
    const std::vector<Case> cases = {
        {"as proposed", with([](SegyChoiceFields&) {}), 0, 0},
        {"interval changed", with([](SegyChoiceFields& f) { f.intervalMs = "0.66"; }), 0.66, 0},
        {"synthetic span", with([](SegyChoiceFields& f) { f.length = LengthMode::Synthetic; }), 0,
         8.2},
        {"log two-way time", with([](SegyChoiceFields& f) { f.length = LengthMode::LogTwt; }), 0,
         7.5},
        {"given length", with([](SegyChoiceFields& f) {
             f.length = LengthMode::Given;
             f.lengthMs = " 3.3 ";
         }),
         0, 3.3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const SegyLoadRequest request = requestFromFields(c.fields, spans, header);
        EXPECT_DOUBLE_EQ(request.intervalMs, c.intervalMs);
        EXPECT_DOUBLE_EQ(request.lengthMs, c.lengthMs);
    }
    const std::vector<std::pair<SegyChoiceFields, std::string>> wrong = {
        {with([](SegyChoiceFields& f) { f.number = "2x"; }), "'2x' is not a valid integer value"},
        {with([](SegyChoiceFields& f) {
             f.kind = TraceChoiceKind::Near;
             f.x = "1";
             f.y = "north";
         }),
         "Y: 'north' is not a number."},
        {with([](SegyChoiceFields& f) { f.intervalMs = "0"; }),
         "Sample interval (ms): '0' must be above 0."},
        {with([](SegyChoiceFields& f) {
             f.seaFloor = SeaFloorMode::AtTime;
             f.seaFloorMs = "";
         }),
         "Sea floor (ms): '' is not a number."},
        {with([](SegyChoiceFields& f) {
             f.length = LengthMode::Given;
             f.lengthMs = "-2";
         }),
         "Length (ms): '-2' must be above 0."},
    };
    for (const auto& [fields, message] : wrong) {
        try {
            requestFromFields(fields, spans, header);
            ADD_FAILURE() << message;
        } catch (const QuarvelError& error) {
            EXPECT_EQ(std::string(error.what()), message);
        }
    }
}

TEST_F(SegyLineTest, ChosenTraceTextFollowsTheFields) {
    open(line(4, 2));
    SegyChoiceFields fields;
    fields.kind = TraceChoiceKind::Near;
    fields.x = "5010";
    fields.y = "8000";
    fields.channel = 1;
    ChosenTrace chosen = chosenTrace(*reader, fields);
    EXPECT_EQ(chosen.index, 3);
    EXPECT_EQ(chosen.text,
              "Trace 4: field record (shot) 102, channel 2, X 5010.00, Y 8000.00 (length units)");
    fields.kind = TraceChoiceKind::Shot;
    fields.number = "105";
    chosen = chosenTrace(*reader, fields);
    EXPECT_EQ(chosen.index, -1);
    EXPECT_EQ(chosen.text,
              "No trace has the field record (shot) number 105; the line's run from 101 to 102.");
}

} // namespace
} // namespace quarvel::testing
