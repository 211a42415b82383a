#include "formats/numbers.h"
#include "support/command_runner.h"
#include "support/temp_work_dir.h"
#include "tie/tie_series.h"

#include <cmath>
#include <gtest/gtest.h>
#include <map>
#include <numbers>
#include <random>
#include <sstream>
#include <string>

namespace quarvel::testing {
namespace {

CommandResult run(const std::string& arguments) {
    return runProgram(QUARVEL_SYNTH_PATH, arguments);
}

// A core with a soft layer and two harder beds, every 5 mm, its velocities
// scaled by the factor.
std::string coreLog(int rows = 200, double factor = 1.0) {
    std::string text;
    for (int i = 1; i <= rows; ++i) {
        const double depth = i * 0.005;
        const double cycle = std::fmod(depth, 1.0);
        const double density = (cycle > 0.3 && cycle < 0.35) || (cycle > 0.7 && cycle < 0.72)
                                   ? 1.95 - 0.1 * depth
                                   : (cycle > 0.5 && cycle < 0.6 ? 1.45 : 1.6 + 0.02 * depth);
        text += numbers::formatFixed(depth, 6) + " " +
                numbers::formatFixed(factor * (1500 + 40 * std::sin(depth * 9)), 6) + " " +
                numbers::formatFixed(density, 6) + "\r\n";
    }
    return text;
}

// A trace listing (ms) of the series, delayed by the given time and led by
// that much of the series' first value, with Gaussian noise of the given
// standard deviation (the same noise on every machine).
std::string traceListing(const tie::TimeSeries& series, double delay, double noise = 0) {
    const double dt = series.time[1] - series.time[0];
    std::string text;
    std::mt19937 random(16);
    const auto uniform = [&] { return (static_cast<double>(random()) + 0.5) / 4294967296.0; };
    const int lead = static_cast<int>(std::lround(delay / dt));
    for (int i = 0; i < lead + static_cast<int>(series.value.size()); ++i) {
        const double gaussian =
            std::sqrt(-2 * std::log(uniform())) * std::cos(2 * std::numbers::pi * uniform());
        const double value = series.value[i < lead ? 0 : i - lead] + noise * gaussian;
        text +=
            numbers::formatFixed(1000 * i * dt, 6) + " " + numbers::formatFixed(value, 6) + "\r\n";
    }
    return text;
}

TEST(QuarvelSynthTie, TimeDepthTableOfLogDat) {
    TempWorkDir dir;
    dir.write("log.dat", "0.5 1600 1.7\r\n1.0 1650 1.8\r\n");
    const std::string table = "depth_m,twt_ms\r\n0.0000,0.000\r\n0.5000,0.625\r\n1.0000,1.231\r\n";
    const CommandResult printed = run("tdr --workdir " + quoted(dir.path()));
    EXPECT_EQ(printed.status, 0) << printed.output;
    EXPECT_EQ(printed.output, table);
    const CommandResult written =
        run("tdr --out " + quoted(dir.file("tdr.csv")) + " --workdir " + quoted(dir.path()));
    EXPECT_EQ(written.status, 0) << written.output;
    EXPECT_EQ(dir.read("tdr.csv"), table);

    dir.write("log.dat", "0.5 1600 1.7\r\n");
    const CommandResult refused = run("tdr --workdir " + quoted(dir.path()));
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.output.find("at least two rows"), std::string::npos) << refused.output;
}

TEST(QuarvelSynthTie, PrintsEveryKeyWritesItsFilesAndAppliesTheFactor) {
    // The trace: the log's own anti-aliased synthetic from the sea floor,
    // 0.3 ms late. How well the tie measures is tested without the
    // program; here, what the command line gives and writes.
    TempWorkDir dir;
    const std::string workDir = " --workdir " + quoted(dir.path());
    dir.write("log.dat", coreLog(600));
    ASSERT_EQ(run("chirp" + workDir).status, 0);
    ASSERT_EQ(run("synthetic --anti-alias --time-zero sea-floor" + workDir).status, 0);
    dir.write("trace.txt", traceListing(tie::readSeriesFile(dir.file("ampl.dat"), 1.0), 0.3e-3));
    const std::string log = dir.read("log.dat");

    const CommandResult tied = run("tie --surrogates 50 --report " + quoted(dir.file("tie.txt")) +
                                   " --scan-out " + quoted(dir.file("scan.csv")) + workDir);
    ASSERT_EQ(tied.status, 0) << tied.output;
    std::map<std::string, std::string> values = keyValues(tied.output);
    for (const char* key :
         {"window_ms", "window_samples", "zero_shift_coefficient", "best_velocity_factor",
          "factor_low", "factor_high", "best_shift_ms", "shift_low_ms", "shift_high_ms",
          "best_coefficient", "null_p_value", "significant", "at_search_edge", "trace_envelope",
          "bulk_shift_ms", "bulk_shift_coefficient"}) {
        EXPECT_EQ(values.count(key), 1U) << key;
    }
    EXPECT_NEAR(numbers::parseNumber(values["best_velocity_factor"]), 1.0, 0.005);
    EXPECT_NEAR(numbers::parseNumber(values["best_shift_ms"]), 0.3, 0.03);
    EXPECT_EQ(values["significant"], "yes");
    EXPECT_EQ(values["at_search_edge"], "no");
    EXPECT_EQ(dir.read("log.dat"), log);
    const std::string written = dir.read("tie.txt");
    EXPECT_NE(written.find("# Settings\r\nlog_file "), std::string::npos) << written;
    EXPECT_NE(written.find("\r\nbest_velocity_factor " + values["best_velocity_factor"] + "\r\n"),
              std::string::npos);
    EXPECT_EQ(dir.read("scan.csv").rfind("factor,best_shift_ms,coefficient\r\n", 0), 0U);

    // --apply scales every velocity of log.dat, depths and densities kept.
    const CommandResult applied =
        run("tie --surrogates 0 --factor-range 1.1 1.1 --apply" + workDir);
    ASSERT_EQ(applied.status, 0) << applied.output;
    EXPECT_NE(applied.output.find("applied_factor 1.1000"), std::string::npos) << applied.output;
    const std::string after = dir.read("log.dat");
    std::istringstream firstRow(after.substr(0, after.find('\r')));
    std::string depth, velocity, density;
    firstRow >> depth >> velocity >> density;
    EXPECT_EQ(numbers::parseNumber(depth), 0.005);
    EXPECT_NEAR(numbers::parseNumber(velocity), 1.1 * (1500 + 40 * std::sin(0.045)), 1e-3);
    EXPECT_NEAR(numbers::parseNumber(density), 1.6001, 1e-6);

    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"tie --trace " + quoted(dir.file("none.txt")) + workDir, "none.txt"},
        {"tie --max-shift abc" + workDir, "--max-shift must be a number of ms from 0 to 100"},
        {"tie --factor-range 1.2 0.9" + workDir, "--factor-range must be two numbers"},
        {"tie --surrogates 2.5" + workDir, "--surrogates must be a whole number"},
        {"tie --level 1" + workDir, "--level must be a probability"},
    };
    for (const Case& c : cases) {
        const CommandResult result = run(c.arguments);
        EXPECT_EQ(result.status, 1) << c.arguments;
        EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
    }
    EXPECT_EQ(run("tie --factor-range 0.9" + workDir).status, 2);
}

TEST(QuarvelSynthTie, SyntheticWarnsWhenTimeZeroIsFarBelowTheSeaFloor) {
    // Sediment almost like water down to a dense bed at 0.6 m: the bed, not
    // the sea floor, gives the strongest arrival, about 0.8 ms down.
    TempWorkDir dir;
    const std::string workDir = " --workdir " + quoted(dir.path());
    std::string log;
    for (int i = 1; i <= 100; ++i) {
        const bool bed = std::abs(i - 60) < 3;
        log += numbers::formatFixed(i * 0.01, 6) + (bed ? " 1750 2.1\r\n" : " 1500 1.05\r\n");
    }
    dir.write("log.dat", log);
    ASSERT_EQ(run("chirp" + workDir).status, 0);
    const CommandResult strongest = run("synthetic" + workDir);
    EXPECT_EQ(strongest.status, 0);
    EXPECT_NE(strongest.output.find("quarvel-synth: warning: Rows are 11 µs apart in two-way "
                                    "time; 10 µs sampling aliases thin beds: use 5 µs or "
                                    "Anti-aliased impedance."),
              std::string::npos)
        << strongest.output;
    EXPECT_NE(strongest.output.find(
                  "quarvel-synth: warning: Time 0 of the synthetic is an arrival 0.790 ms "
                  "below the sea floor; events are drawn too shallow."),
              std::string::npos)
        << strongest.output;
    const std::string ampl = dir.read("ampl.dat");
    const CommandResult seaFloor = run("synthetic --time-zero sea-floor --anti-alias" + workDir);
    EXPECT_EQ(seaFloor.status, 0);
    EXPECT_EQ(seaFloor.output.find("warning"), std::string::npos) << seaFloor.output;
    EXPECT_NE(dir.read("ampl.dat"), ampl);
    const CommandResult wrong = run("synthetic --time-zero top" + workDir);
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.output.find("--time-zero must be sea-floor or strongest"), std::string::npos);
}

} // namespace
} // namespace quarvel::testing
