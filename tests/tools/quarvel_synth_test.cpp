#include "platform/work_dir.h"
#include "quarvel/version.h"
#include "support/command_runner.h"
#include "support/temp_work_dir.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <string>

namespace quarvel::testing {
namespace {

CommandResult run(const std::string& arguments) {
    return runProgram(QUARVEL_SYNTH_PATH, arguments);
}

TEST(QuarvelSynth, ChirpThenSyntheticWriteTheSevenFiles) {
    TempWorkDir dir;
    const std::filesystem::path work = dir.path() / "new folder";
    const CommandResult chirp = run("chirp --workdir " + quoted(work));
    EXPECT_EQ(chirp.status, 0) << chirp.output;
    EXPECT_NE(chirp.output.find("Wrote " + (work / "klauder.dat").string()), std::string::npos)
        << chirp.output;

    std::ofstream(work / "log.dat", std::ios::binary) << "0.5 1600 1.7\r\n1.0 1650 1.8\r\n";
    // The working directory from the environment this time.
    setenv("QUARVEL_WORKDIR", work.c_str(), 1);
    const CommandResult synthetic = run("synthetic --start=2000 --end 7000");
    EXPECT_EQ(synthetic.status, 0) << synthetic.output;
    for (const char* name : {"chirp.dat", "klauder.dat", "refl.dat", "corr.dat", "deconv.dat",
                             "amplnofilt.dat", "ampl.dat"}) {
        EXPECT_TRUE(std::filesystem::file_size(work / name) > 0) << name;
    }
    EXPECT_NE(synthetic.output.find("Wrote " + (work / "ampl.dat").string()), std::string::npos);
}

TEST(QuarvelSynth, RefusalsAndWrongCommandLines) {
    TempWorkDir dir;
    struct Case {
        std::string arguments;
        int status;
        std::string message;
    };
    const Case cases[] = {
        {"chirp --interval 0 --workdir " + quoted(dir.path()), 1,
         "quarvel-synth: Sampling Interval must be above 0"},
        {"synthetic --workdir " + quoted(dir.path()), 1, "log.dat\" is missing"},
        {"synthetic --width 0.01", 2, "unknown option '--width' for 'synthetic'"},
        {"chirp --start", 2, "option '--start' needs a value"},
        {"transform", 2, "unknown command 'transform'"},
        {"", 2, "no command given"},
        {"--help", 0, "quarvel-synth synthetic [--start VALUE]"},
        {"--version", 0, "quarvel-synth " + std::string(Version) + "\n"},
        {"trace --segy none.sgy --trace -2147483648", 2,
         "option '--trace' takes a whole number from 1 to 2147483647, not '-2147483648'"},
        {"trace --segy none.sgy --trace 0", 2, "from 1 to 2147483647, not '0'"},
        {"trace --segy none.sgy --trace 99999999999", 2, "not '99999999999'"},
        {"trace --segy none.sgy --trace 1.5", 2, "not '1.5'"},
        {"chirp --end 70000 --workdir " + quoted(dir.path()), 1,
         "quarvel-synth: End Frequency must not be above the Nyquist frequency"},
        {"tdr --out " + quoted(dir.file("LOG.DAT")) + " --workdir " + quoted(dir.path()), 1,
         "quarvel-synth: --out \"" + dir.file("LOG.DAT").string() +
             "\" is one of the working directory's own files; choose another name."},
        {"plot --out " + quoted(dir.file("plot.bmp")), 2,
         "plot needs --session FILE and --out FILE"},
        {"plot --session " + quoted(dir.file("none.qvs")) + " --out " +
             quoted(dir.file("plot.bmp")),
         1, "quarvel-synth: Cannot open file \"" + dir.file("none.qvs").string()},
        {"synthetic --interval 0.01 --workdir " + quoted(dir.path()), 1,
         "quarvel-synth: Start Frequency must not be above the Nyquist frequency of the "
         "Sampling Interval, 1 / (2 x 0.01 s) = 50 Hz; it is \"2000\"."},
    };
    for (const Case& c : cases) {
        const CommandResult result = run(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.arguments << "\n" << result.output;
        EXPECT_NE(result.output.find(c.message), std::string::npos) << c.arguments << "\n"
                                                                    << result.output;
    }
    EXPECT_FALSE(dir.exists("chirp.dat"));
    EXPECT_FALSE(dir.exists("plot.bmp"));
    // While another command holds the working directory, --no-wait refuses.
    const WorkDirLock held(dir.workDir(), WhenBusy::Refuse);
    const CommandResult busy = run("chirp --no-wait --workdir " + quoted(dir.path()));
    EXPECT_EQ(busy.status, 1);
    EXPECT_NE(busy.output.find("Another Quarvel command is working in"), std::string::npos)
        << busy.output;
    EXPECT_FALSE(dir.exists("chirp.dat"));
}

TEST(QuarvelSynth, SyntheticImportsALogFileAsTheDataEditorDoes) {
    TempWorkDir dir;
    ASSERT_EQ(run("chirp --workdir " + quoted(dir.path())).status, 0);
    // A heading line, a record at the surface and a final line break: the
    // same three records reach log.dat as from the data editor's Load.
    dir.write("core.txt", "Depth Vp Rho\r\n0 1480 1.5\r\n0.5 1600 1.7\r\n1.0 1650 1.8\r\n");
    const CommandResult imported =
        run("synthetic --log " + quoted(dir.file("core.txt")) + " --workdir " + quoted(dir.path()));
    EXPECT_EQ(imported.status, 0) << imported.output;
    EXPECT_EQ(dir.read("log.dat"), "0.500000 1600.000000 1.700000\r\n"
                                   "1.000000 1650.000000 1.800000\r\n");
    EXPECT_NE(imported.output.find("3 entries of the log file"), std::string::npos)
        << imported.output;
    EXPECT_TRUE(dir.exists("ampl.dat"));

    const CommandResult missing =
        run("synthetic --log " + quoted(dir.file("none.txt")) + " --workdir " + quoted(dir.path()));
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.output.find("Cannot open file \"" + dir.file("none.txt").string() + "\""),
              std::string::npos)
        << missing.output;
    EXPECT_EQ(dir.read("log.dat"), "0.500000 1600.000000 1.700000\r\n"
                                   "1.000000 1650.000000 1.800000\r\n");
}

} // namespace
} // namespace quarvel::testing
