#include "support/command_runner.h"
#include "support/temp_work_dir.h"
#include "survey/segy_reader.h"

#include <gtest/gtest.h>
#include <string>

namespace quarvel::testing {
namespace {

CommandResult run(const TempWorkDir& dir, const std::string& arguments) {
    return runProgram(QUARVEL_SYNTH_PATH,
                      "export " + arguments + " --workdir " + quoted(dir.path()));
}

TEST(QuarvelSynthExport, WritesBothFilesOrNeitherAndRefusesWrongOptions) {
    const TempWorkDir dir;
    dir.write("log.dat", "0.5 1000 1.7\r\n1.0 1100 1.8\r\n");
    dir.write("ampl.dat", "-0.00002 0.5\r\n-0.00001 1\r\n0 0.25\r\n");
    const std::string files =
        "--segy " + quoted(dir.file("s.sgy")) + " --las " + quoted(dir.file("l.las"));

    const CommandResult written = run(dir, files + " --factor 1.5 --factor-source 'tie, p = 0.01'");
    ASSERT_EQ(written.status, 0) << written.output;
    EXPECT_DOUBLE_EQ(SegyReader(dir.file("s.sgy")).traceHeader(0).delayMs, -0.02);
    const std::string las = dir.read("l.las");
    EXPECT_NE(las.find("1.5000          : VELOCITY FACTOR (tie, p = 0.01)"), std::string::npos);
    EXPECT_NE(las.find("     0.500     1500.000      1.700\r\n"), std::string::npos) << las;

    struct Case {
        std::string arguments;
        int status;
    };
    dir.write("ampl.dat", "0 1\r\n");
    for (const Case& c : {Case{"", 2}, Case{files + " --factor abc", 2},
                          Case{files + " --factor 0", 2}, Case{files, 1}}) {
        SCOPED_TRACE(c.arguments);
        EXPECT_EQ(run(dir, c.arguments).status, c.status);
        EXPECT_EQ(dir.read("l.las"), las);
    }
}

} // namespace
} // namespace quarvel::testing
