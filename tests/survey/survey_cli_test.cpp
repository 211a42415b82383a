#include "editor/interpolation.h"
#include "editor/log_import.h"
#include "formats/numbers.h"
#include "plot/section_picture.h"
#include "support/command_runner.h"
#include "support/proposed_answers.h"
#include "support/temp_work_dir.h"

#include <QImage>
#include <algorithm>
#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <numbers>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::testing {
namespace {

const std::filesystem::path Examples = std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/examples";

// Words joined by blanks. Built by appending: GCC 12 misreads chains of
// string + at -O3.
std::string words(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) {
        if (!text.empty()) {
            text += ' ';
        }
        text += part;
    }
    return text;
}

CommandResult synth(const std::string& arguments) {
    return runProgram(QUARVEL_SYNTH_PATH, arguments);
}

TEST(SynthTrace, WritesTheListingOfTheNumberedTrace) {
    TempWorkDir dir;
    const std::filesystem::path out = dir.file("trace 2.txt");
    const std::string line = quoted(Examples / "demo_line.sgy");
    const CommandResult result =
        synth(words({"trace --segy", line, "--trace 2 --out", quoted(out)}));
    EXPECT_EQ(result.status, 0) << result.output;
    std::string wrote = words({"Wrote", out.string()});
    wrote += '\n';
    EXPECT_EQ(result.output.substr(0, 72),
              "Trace 2 of 15 from \"demo_line.sgy\": field record (shot) 1001, channel 2,");
    EXPECT_EQ(result.output.substr(result.output.size() - wrote.size()), wrote);
    const std::string listing = dir.read("trace 2.txt");
    EXPECT_EQ(listing.substr(0, 10), "83.500000 ");
    EXPECT_EQ(listing.substr(listing.size() - 37, 12), "\r\n87.300000 ");

    const CommandResult toWorkDir =
        synth(words({"trace --trace=1 --workdir", quoted(dir.path()), "--segy", line}));
    EXPECT_EQ(toWorkDir.status, 0) << toWorkDir.output;
    EXPECT_EQ(dir.read("trace.txt").substr(0, 35), "83.500000  9.44819921875000E+0003\r\n");
}

TEST(SynthTrace, InfoSummarisesTheHeaders) {
    const CommandResult result = synth(words({"info --segy", quoted(Examples / "chirp_line.sgy")}));
    EXPECT_EQ(result.status, 0) << result.output;
    for (const char* line :
         {"Traces: 240\n", "Samples per trace: 400\n", "Sample format: 3, 2-byte signed integer\n",
          "Field records (shots): 5001 to 5240; trace numbers in the record: 1\n",
          "(seconds of arc)\n",
          "Water depth in the first trace header: 24.75 (if metres, the sea floor at 33.000 ms "
          "two way at 1500 m/s)\n"}) {
        EXPECT_NE(result.output.find(line), std::string::npos) << line << result.output;
    }
}

// The int16 envelope line's sea floor lies 50 + round(2 sin(2 pi i / 240))
// samples into trace i + 1. Cut at the automatic pick, the listing starts at
// time 0 at the pick, and its first strong rise is within two samples of 0.
TEST(SynthTrace, SeaFloorCutStartsAtTheFirstStrongRise) {
    const std::string line = quoted(Examples / "chirp_line.sgy");
    for (const int trace : {1, 61, 121, 181}) {
        SCOPED_TRACE(trace);
        TempWorkDir dir;
        const CommandResult result =
            synth(words({"trace --segy", line, "--workdir", quoted(dir.path()), "--trace",
                         std::to_string(trace), "--sea-floor auto"}));
        ASSERT_EQ(result.status, 0) << result.output;
        const int seaFloor =
            50 +
            static_cast<int>(std::lround(2 * std::sin(2 * std::numbers::pi * (trace - 1) / 240)));
        const std::string pick = "Sea floor: " + numbers::formatFixed(seaFloor * 0.066, 3) + " ms";
        EXPECT_NE(result.output.find(pick), std::string::npos) << result.output;
        const std::string listing = dir.read("trace.txt");
        EXPECT_EQ(listing.substr(0, 10), "0.000000  ");
        std::vector<double> amplitudes;
        for (std::size_t at = 0; at < listing.size(); at = listing.find('\n', at) + 1) {
            amplitudes.push_back(numbers::parseNumber(listing.substr(at + 10, 23)));
        }
        const double largest = *std::max_element(amplitudes.begin(), amplitudes.end());
        const auto rise = std::find_if(amplitudes.begin(), amplitudes.end(),
                                       [&](double a) { return a >= largest / 2; });
        EXPECT_LE(rise - amplitudes.begin(), 2);
    }
}

TEST(SynthTrace, ChoosesByShotOrPositionWithStackIntervalAndLength) {
    const std::string line = quoted(Examples / "chirp_line.sgy");
    TempWorkDir dir;
    const std::string common = words({"trace --segy", line, "--workdir", quoted(dir.path())});
    const CommandResult byShot = synth(
        words({common, "--shot 5062 --stack 2 --interval 0.00066 --sea-floor 33 --length 6.6"}));
    ASSERT_EQ(byShot.status, 0) << byShot.output;
    for (const char* said :
         {"Trace 62 of 240", "Stack: the mean of 5 traces (2 on each side).",
          "Sample interval: 0.6600 ms, given (the headers say 0.0660 ms).",
          "Sea floor: 33.000 ms as given", "Length: 6.600 ms kept, 11 samples."}) {
        EXPECT_NE(byShot.output.find(said), std::string::npos) << said << byShot.output;
    }
    const std::string listing = dir.read("trace.txt");
    EXPECT_EQ(listing.substr(listing.size() - 35, 10), "\n6.600000 ");

    const CommandResult near = synth(words({common, "--near 48601.4 156601.4"}));
    ASSERT_EQ(near.status, 0) << near.output;
    EXPECT_NE(near.output.find("Trace 62 of 240"), std::string::npos) << near.output;
}

// Nothing is written unless the whole command line fits the line.
TEST(SynthTrace, RefusesWhatItCannotDoAndLeavesTraceTxt) {
    const std::string line = quoted(Examples / "demo_line.sgy");
    const struct {
        std::string arguments;
        int status;
        std::string says;
    } cases[] = {
        {words({"--segy", line, "--trace 16"}), 1,
         "There is no trace 16; the line holds traces 1 to 15."},
        {words({"--segy", line, "--trace two"}), 2,
         "option '--trace' takes a whole number from 1 to 2147483647, not 'two'"},
        {words({"--segy", line, "--trace -2147483648"}), 2, "not '-2147483648'"},
        {words({"--segy", line, "--trace 1 --channel -2147483648"}), 2,
         "option '--channel' takes a whole number from 1 to 2147483647"},
        {words({"--segy", line, "--trace 1 --channel 2"}), 2,
         "'--channel' chooses among the traces of a shot, with --shot or --near"},
        {words({"--segy", quoted(Examples / "demo_core_mscl.txt"), "--trace 1"}), 1,
         "Its headers are not those of a SEG-Y file."},
        {words({"--segy", line, "--shot 999"}), 1, "No trace has the field record (shot) number"},
        {words({"--segy", line, "--trace 1 --stack -1"}), 2,
         "option '--stack' takes a whole number from 0 to 500, not '-1'"},
        {words({"--segy", line, "--shot 99999999999"}), 2,
         "option '--shot' takes a whole number from -2147483648 to 2147483647, not "
         "'99999999999'"},
        {words({"--segy", line, "--trace 1 --interval 0"}), 1, "--interval '0' is not a number"},
        {words({"--segy", line, "--trace 1 --sea-floor high"}), 1, "--sea-floor 'high'"},
        {words({"--segy", line, "--trace 1 --sea-floor 500"}), 1,
         "The sea-floor time 500.000 ms lies outside the trace"},
        {words({"--segy", line, "--trace 1 --length 0"}), 1, "--length '0' is not a number"},
        {words({"--segy", line, "--near 1 x"}), 1, "--near needs two numbers, X and Y"},
        {words({"--segy", line, "--near 1"}), 2, "option '--near' needs two values"},
        {"--trace 1", 2, "'trace' needs --segy FILE and one of --trace N, --shot N, --near X Y"},
        {words({"--segy", line, "--trace 1 --shot 1001"}), 2, "one of --trace N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        TempWorkDir dir;
        dir.write("trace.txt", "kept\r\n");
        const CommandResult result =
            synth(words({"trace --workdir", quoted(dir.path()), c.arguments}));
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.output.find(c.says), std::string::npos) << result.output;
        EXPECT_EQ(dir.read("trace.txt"), "kept\r\n");
    }
    const CommandResult info = synth("info");
    EXPECT_EQ(info.status, 2);
    EXPECT_NE(info.output.find("'info' needs --segy FILE"), std::string::npos);
}

// The command's own work is the section's, tested below the tool; here what
// the command line adds: options, the file written, the refusals.
TEST(SynthSection, DrawsThePngOrRefusesWithoutWriting) {
    const std::string line = quoted(Examples / "chirp_line.sgy");
    TempWorkDir dir;
    const std::string png = quoted(dir.file("line.png"));
    const CommandResult drawn =
        synth(words({"section --segy", line, "--out", png,
                     "--traces 11-110 --width 50 --height 80 --clip 95 --colours diverging"}));
    ASSERT_EQ(drawn.status, 0) << drawn.output;
    EXPECT_NE(drawn.output.find("Section of traces 12 to 110 of 240, 50 columns by 80 rows, "
                                "0.000 to 26.400 ms; full strength at"),
              std::string::npos)
        << drawn.output;
    // The section window's picture: the section framed, time ticks every
    // 20 ms (0.33 ms a row) down the left with their labels, the axes'
    // names below.
    QImage picture;
    ASSERT_TRUE(picture.load(QString::fromStdString(dir.file("line.png").string()), "PNG"));
    ASSERT_EQ(picture.size(),
              QSize(SectionLeft + 50 + SectionRight, SectionTop + 80 + SectionBottom));
    const auto black = [&picture](int x, int y) { return picture.pixel(x, y) == 0xff000000U; };
    EXPECT_TRUE(black(SectionLeft - 1, SectionTop + 40) &&
                black(SectionLeft + 50, SectionTop + 40));
    EXPECT_TRUE(black(SectionLeft - 3, SectionTop) && black(SectionLeft - 3, SectionTop + 61));
    EXPECT_FALSE(black(SectionLeft - 3, SectionTop + 30));
    const auto inked = [&picture](const QRect& area) {
        for (int y = area.top(); y <= area.bottom(); ++y) {
            for (int x = area.left(); x <= area.right(); ++x) {
                if (picture.pixel(x, y) != 0xffffffffU) {
                    return true;
                }
            }
        }
        return false;
    };
    EXPECT_TRUE(inked(QRect(0, 0, SectionLeft - 8, SectionTop + 12)));
    EXPECT_TRUE(inked(QRect(0, SectionTop + 81, picture.width(), SectionBottom - 1)));
    const struct {
        std::string arguments;
        int status;
        std::string says;
    } refused[] = {
        {words({"--segy", line}), 2, "'section' needs --segy FILE and --out FILE.png"},
        {words({"--segy", line, "--out", png, "--traces 200-300"}), 1,
         "The traces '200-300' are not a range A-B within the line's 1 to 240."},
        {words({"--segy", line, "--out", png, "--colours rainbow"}), 2,
         "option '--colours' takes grey or diverging"},
        {words({"--segy", line, "--out", png, "--width 0"}), 2, "option '--width' takes"},
        {words({"--segy", line, "--out", png, "--across up"}), 2, "option '--across' takes"},
        {words({"--segy", line, "--out", png, "--clip 0"}), 1, "--clip '0' is not a number"},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.arguments);
        dir.write("line.png", "kept");
        const CommandResult result = synth(words({"section", c.arguments}));
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.output.find(c.says), std::string::npos) << result.output;
        EXPECT_EQ(dir.read("line.png"), "kept");
    }
}

TEST(SynthLog, ImportsMsclAndLasWithProposedOrNamedColumns) {
    const struct {
        std::string arguments;
        std::string firstLine;
    } cases[] = {
        {words({"--log", quoted(Examples / "demo_core_mscl.txt")}), "0.020 1484.600 1.473\r\n"},
        {words({"--log", quoted(Examples / "demo_core.las"),
                "--depth-column dept --velocity-column VP --density-column rhob"}),
         "0.050 1485.870 1.470\r\n"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        TempWorkDir dir;
        EXPECT_EQ(synth(words({"chirp --workdir", quoted(dir.path())})).status, 0);
        const CommandResult result =
            synth(words({"synthetic --workdir", quoted(dir.path()), c.arguments}));
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_EQ(dir.read("log.dat").substr(0, c.firstLine.size()), c.firstLine);
        EXPECT_TRUE(dir.exists("ampl.dat"));
    }
    TempWorkDir dir;
    const CommandResult wrong =
        synth(words({"synthetic --workdir", quoted(dir.path()), "--log",
                     quoted(Examples / "demo_core.las"), "--velocity-column PWVel"}));
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.output.find("The log has no column \"PWVel\"; its columns are \"DEPT\", "
                                "\"VP\", \"RHOB\"."),
              std::string::npos)
        << wrong.output;
    EXPECT_FALSE(dir.exists("log.dat"));
    dir.write("core.txt", "SB_DEPTH_cm\tVP\tDEN\r\nft\tm/s\tg/cc\r\n2\t1500\t1.6\r\n");
    const CommandResult units = synth(
        words({"synthetic --workdir", quoted(dir.path()), "--log", quoted(dir.file("core.txt"))}));
    EXPECT_EQ(units.status, 1);
    EXPECT_NE(units.output.find("\"SB_DEPTH_cm\" says cm in its name but ft in its unit field: "
                                "give --depth-unit cm or --depth-unit ft."),
              std::string::npos);
}

std::vector<LogRecord> recordsOf(const std::string& logDat) {
    return readLogRecords(logDat);
}

// A real core's export with default options: every row kept, in metres, no
// velocity zeroed, no density of 0, and the log.dat the data editor writes.
TEST(SynthLog, RealCoreExportsGoThroughWithDefaultOptions) {
    for (const char* file : {"piston_core_mscl.csv", "piston_core_mscl_semicolon.csv"}) {
        SCOPED_TRACE(file);
        TempWorkDir dir;
        EXPECT_EQ(synth(words({"chirp --workdir", quoted(dir.path())})).status, 0);
        const CommandResult result = synth(
            words({"synthetic --workdir", quoted(dir.path()), "--log", quoted(Examples / file)}));
        EXPECT_EQ(result.status, 0) << result.output;
        EXPECT_NE(result.output.find("The import filled 3 missing values at the ends"),
                  std::string::npos)
            << result.output;
        EXPECT_NE(result.output.find("uncalibrated?"), std::string::npos);
        const std::string logDat = dir.read("log.dat");
        const std::vector<LogRecord> records = recordsOf(logDat);
        ASSERT_EQ(records.size(), 439U);
        EXPECT_DOUBLE_EQ(records.back().Depth, 4.39);
        for (const LogRecord& record : records) {
            EXPECT_GT(record.Velocity, 1000) << record.Depth;
            EXPECT_GT(record.Density, 1) << record.Depth;
        }
        ProposedAnswers proposals;
        EXPECT_EQ(logDat, importLogFile(Examples / "piston_core_mscl.csv", proposals)->logDat);
        EXPECT_TRUE(dir.exists("ampl.dat"));
    }
}

// A sonic log in feet, recorded upwards, and a wrapped one in metres.
TEST(SynthLog, SonicLogsBecomeVelocitiesInMetres) {
    TempWorkDir dir;
    EXPECT_EQ(synth(words({"chirp --workdir", quoted(dir.path())})).status, 0);
    const CommandResult wrapped = synth(words({"synthetic --workdir", quoted(dir.path()), "--log",
                                               quoted(Examples / "well_sonic_wrapped.las")}));
    EXPECT_EQ(wrapped.status, 0) << wrapped.output;
    const std::vector<LogRecord> records = recordsOf(dir.read("log.dat"));
    ASSERT_EQ(records.size(), 24U);
    EXPECT_NEAR(records.front().Velocity, 1593.6, 0.1);
    EXPECT_DOUBLE_EQ(records.front().Density, 1.702);

    // The feet log has no density: refused, and log.dat stays as it was.
    const std::string before = dir.read("log.dat");
    const CommandResult feet = synth(words({"synthetic --workdir", quoted(dir.path()), "--log",
                                            quoted(Examples / "well_sonic_feet.las")}));
    EXPECT_EQ(feet.status, 1);
    EXPECT_NE(feet.output.find("decrease down the file"), std::string::npos) << feet.output;
    EXPECT_NE(feet.output.find("no record has a depth, a velocity and a density"),
              std::string::npos);
    EXPECT_EQ(dir.read("log.dat"), before);
}

// Records the engine cannot take are counted against the file's records.
TEST(SynthLog, RecordsLeftOutAreCountedOnce) {
    TempWorkDir dir;
    dir.write("core.txt", "0.1 1500 1.6\n0.2 1510 1.7\n0.2 1515 1.7\n0.3 0 1.8\n");
    EXPECT_EQ(synth(words({"chirp --workdir", quoted(dir.path())})).status, 0);
    const CommandResult result = synth(
        words({"synthetic --workdir", quoted(dir.path()), "--log", quoted(dir.file("core.txt"))}));
    EXPECT_EQ(result.status, 0) << result.output;
    EXPECT_NE(result.output.find("2 of its 4 records were left out: 1 not deeper than the record "
                                 "above, 1 still missing a value after interpolation."),
              std::string::npos)
        << result.output;
    EXPECT_EQ(recordsOf(dir.read("log.dat")).size(), 2U);
}

TEST(SynthLog, CleaningAndUnitOptions) {
    const std::string core = quoted(Examples / "piston_core_mscl.csv");
    const struct {
        std::string options;
        int status;
        std::string says;
        double lastDepth = 4.39;
    } cases[] = {
        {"--velocity-range 1300 3000", 1,
         "Warning: the velocity range removed 435 of the 435 velocities, more than half"},
        {"--velocity-range 1080 3000 --amplitude-threshold 80", 0,
         "velocities failed the cleaning rules"},
        {"--no-cleaning --depth-unit mm", 0, "The import filled", 0.439},
        {"--velocity-range 3000 1300", 1, "the minimum 3000 is not below the maximum 1300"},
        {"--velocity-range 1300", 2, "option '--velocity-range' needs two values"},
        {"--amplitude-threshold loud", 1, "\"loud\" is not a number"},
        {"--depth-unit furlong", 1,
         "\"furlong\" is not a unit Quarvel converts; give one of m, "
         "cm, mm, ft."},
        {"--no-cleaning=yes", 2, "takes no value"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.options);
        TempWorkDir dir;
        dir.write("log.dat", "1 1500 1.5\r\n");
        EXPECT_EQ(synth(words({"chirp --workdir", quoted(dir.path())})).status, 0);
        const CommandResult result =
            synth(words({"synthetic --workdir", quoted(dir.path()), "--log", core, c.options}));
        EXPECT_EQ(result.status, c.status) << result.output;
        EXPECT_NE(result.output.find(c.says), std::string::npos) << result.output;
        if (c.status != 0) {
            EXPECT_EQ(dir.read("log.dat"), "1 1500 1.5\r\n");
        } else {
            EXPECT_DOUBLE_EQ(recordsOf(dir.read("log.dat")).back().Depth, c.lastDepth);
        }
    }
}

} // namespace
} // namespace quarvel::testing
