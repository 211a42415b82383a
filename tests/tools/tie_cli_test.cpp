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

// The "key value" lines of a tie report.
std::map<std::string, std::string> report(const std::string& output) {
    std::map<std::string, std::string> values;
    std::istringstream in(output);
    std::string key, value;
    while (in >> key >> value) {
        values[key] = value;
    }
    return values;
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

TEST(QuarvelSynthTie, BulkShiftOfADelayedTraceAndRefusals) {
    TempWorkDir dir;
    const std::string workDir = " --workdir " + quoted(dir.path());
    dir.write("log.dat", coreLog());
    ASSERT_EQ(run("chirp" + workDir).status, 0);
    ASSERT_EQ(run("synthetic" + workDir).status, 0);
    const tie::TimeSeries synthetic = tie::readSeriesFile(dir.file("ampl.dat"), 1.0);
    dir.write("delayed.txt", traceListing(synthetic, 0.3e-3));
    const std::string ampl = dir.read("ampl.dat");

    const CommandResult tied = run("tie --trace " + quoted(dir.file("delayed.txt")) + workDir);
    ASSERT_EQ(tied.status, 0) << tied.output;
    std::map<std::string, std::string> values = report(tied.output);
    EXPECT_EQ(values["trace_envelope"], "no");
    EXPECT_EQ(values["bulk_shift_ms"], "0.3000") << tied.output;
    EXPECT_EQ(values["bulk_shift_coefficient"], "1.0000") << tied.output;
    EXPECT_LT(numbers::parseNumber(values["zero_shift_coefficient"]), 0.9) << tied.output;
    EXPECT_EQ(dir.read("ampl.dat"), ampl);

    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"tie" + workDir, "trace.txt"},
        {"tie --max-shift abc" + workDir, "--max-shift must be a number of ms from 0 to 100"},
        {"tie --max-shift -1" + workDir, "--max-shift must be a number of ms from 0 to 100"},
    };
    for (const Case& c : cases) {
        const CommandResult result = run(c.arguments);
        EXPECT_EQ(result.status, 1) << c.arguments;
        EXPECT_NE(result.output.find(c.message), std::string::npos) << result.output;
    }
}

TEST(QuarvelSynthTie, FindsTheVelocityFactorAndDelayOfANoisyTrace) {
    // The trace: the synthetic of the same 3 m core with every velocity
    // multiplied by 0.95, 0.3 ms late, with noise of a tenth of its peak.
    TempWorkDir scaled;
    const std::string scaledDir = " --workdir " + quoted(scaled.path());
    scaled.write("log.dat", coreLog(600, 0.95));
    ASSERT_EQ(run("chirp" + scaledDir).status, 0);
    ASSERT_EQ(run("synthetic" + scaledDir).status, 0);
    const tie::TimeSeries recorded = tie::readSeriesFile(scaled.file("ampl.dat"), 1.0);

    TempWorkDir dir;
    const std::string workDir = " --workdir " + quoted(dir.path());
    dir.write("log.dat", coreLog(600));
    ASSERT_EQ(run("chirp" + workDir).status, 0);
    ASSERT_EQ(run("synthetic" + workDir).status, 0);
    dir.write("trace.txt", traceListing(recorded, 0.3e-3, 0.1));
    const CommandResult tied = run("tie" + workDir);
    ASSERT_EQ(tied.status, 0) << tied.output;
    std::map<std::string, std::string> values = report(tied.output);
    EXPECT_NEAR(numbers::parseNumber(values["best_velocity_factor"]), 0.95, 0.01) << tied.output;
    EXPECT_NEAR(numbers::parseNumber(values["best_shift_ms"]), 0.3, 0.02) << tied.output;
    EXPECT_GT(numbers::parseNumber(values["best_coefficient"]), 0.9) << tied.output;
    EXPECT_LT(numbers::parseNumber(values["zero_shift_coefficient"]),
              numbers::parseNumber(values["best_coefficient"]));

    const CommandResult narrow = run("tie --factor-range 1 1" + workDir);
    EXPECT_EQ(report(narrow.output)["best_velocity_factor"], "1.0000") << narrow.output;
    const CommandResult wrong = run("tie --factor-range 1.2 0.9" + workDir);
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.output.find("--factor-range must be two numbers"), std::string::npos);
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
    EXPECT_NE(strongest.output.find(
                  "quarvel-synth: warning: Time 0 of the synthetic is an arrival 0.790 ms "
                  "below the sea floor; events are drawn too shallow."),
              std::string::npos)
        << strongest.output;
    const std::string ampl = dir.read("ampl.dat");
    const CommandResult seaFloor = run("synthetic --time-zero sea-floor" + workDir);
    EXPECT_EQ(seaFloor.status, 0);
    EXPECT_EQ(seaFloor.output.find("warning"), std::string::npos) << seaFloor.output;
    EXPECT_NE(dir.read("ampl.dat"), ampl);
    const CommandResult wrong = run("synthetic --time-zero top" + workDir);
    EXPECT_EQ(wrong.status, 1);
    EXPECT_NE(wrong.output.find("--time-zero must be sea-floor or strongest"), std::string::npos);
}

} // namespace
} // namespace quarvel::testing
