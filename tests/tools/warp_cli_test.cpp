#include "formats/numbers.h"
#include "support/command_runner.h"
#include "support/temp_work_dir.h"
#include "tie/held_out.h"

#include <gtest/gtest.h>
#include <map>
#include <sstream>
#include <string>

namespace quarvel::testing {
namespace {

CommandResult run(const std::string& arguments) {
    return runProgram(QUARVEL_SYNTH_PATH, arguments);
}

// The demo core's log, its gaps filled, against a held-out trace (another
// forward model) whose velocities are 10 % faster above 1.6 m and 5 %
// slower below.
TEST(QuarvelSynthDepthVarying, PrintsItsKeysWritesTheRelationAndRefusesBadLimits) {
    TempWorkDir dir;
    const MathFun::SyntheticLog log = tie::heldout::demoCore(1.0);
    std::string logText;
    for (std::size_t i = 0; i < log.depth.size(); ++i) {
        logText += numbers::formatFixed(log.depth[i], 4) + " " +
                   numbers::formatFixed(log.velocity[i], 3) + " " +
                   numbers::formatFixed(log.density[i], 4) + "\r\n";
    }
    dir.write("log.dat", logText);
    tie::heldout::TraceModel model;
    model.velocityFactor = [](double depth) { return depth <= 1.6 ? 1.10 : 0.95; };
    model.delay = 0.05e-3;
    const tie::TimeSeries made = tie::heldout::forwardTrace(log, model);
    std::string trace;
    for (std::size_t k = 0; k < made.time.size(); ++k) {
        trace += numbers::formatFixed(made.time[k] * 1000, 4) + " " +
                 numbers::formatFixed(made.value[k], 6) + "\r\n";
    }
    dir.write("trace.txt", trace);
    const std::string chirp = " --start 2000 --end 12000 --interval 0.00001";
    const std::string workDir = " --workdir " + quoted(dir.path());
    ASSERT_EQ(run("chirp --width 0.02" + chirp + workDir).status, 0);

    const CommandResult tied =
        run("tie --depth-varying --apply --td-out " + quoted(dir.file("tdr.csv")) + " --log-out " +
            quoted(dir.file("core.las")) + chirp + workDir);
    ASSERT_EQ(tied.status, 0) << tied.output;
    std::map<std::string, std::string> values = keyValues(tied.output);
    EXPECT_EQ(values["depth_varying_significant"], "yes") << tied.output;
    EXPECT_GT(numbers::parseNumber(values["depth_varying_coefficient"]),
              numbers::parseNumber(values["best_coefficient"]))
        << tied.output;
    const std::string csv = dir.read("tdr.csv");
    EXPECT_EQ(csv.rfind("# Quarvel depth-varying tie", 0), 0U) << csv;
    EXPECT_NE(csv.find("\r\ndepth_m,twt_ms\r\n0.0000,"), std::string::npos) << csv;
    EXPECT_NE(dir.read("core.las").find("depth-varying tie, p = "), std::string::npos);
    // Applied: log.dat retimed, and the log ties better than it did.
    EXPECT_NE(dir.read("log.dat"), logText);
    EXPECT_GT(numbers::parseNumber(values["log_coefficient_after"]),
              numbers::parseNumber(values["log_coefficient_before"]))
        << tied.output;

    struct Case {
        std::string arguments;
        std::string message;
    };
    const Case cases[] = {
        {"--depth-varying --velocity-limit 60",
         "--velocity-limit must be a percentage above 0 and at most 50"},
        {"--depth-varying --max-stretch 0",
         "--velocity-limit must be a percentage above 0 and at most 50"},
        {"--depth-varying --velocity-limit ten",
         "--velocity-limit must be a percentage above 0 and at most 50"},
        {"--log-out x.las", "add --depth-varying"},
    };
    for (const Case& c : cases) {
        const CommandResult refused = run("tie --surrogates 0 " + c.arguments + chirp + workDir);
        EXPECT_EQ(refused.status, 1) << c.arguments << refused.output;
        EXPECT_NE(refused.output.find(c.message), std::string::npos) << refused.output;
    }
}

} // namespace
} // namespace quarvel::testing
