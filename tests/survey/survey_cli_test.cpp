#include "support/command_runner.h"
#include "support/temp_work_dir.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <initializer_list>
#include <string>
#include <string_view>

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
    EXPECT_EQ(result.output, wrote);
    const std::string listing = dir.read("trace 2.txt");
    EXPECT_EQ(listing.substr(0, 10), "83.500000 ");
    EXPECT_EQ(listing.substr(listing.size() - 37, 12), "\r\n87.300000 ");

    const CommandResult toOutput = synth(words({"trace --trace=1 --segy", line}));
    EXPECT_EQ(toOutput.status, 0);
    EXPECT_EQ(toOutput.output.substr(0, 36), "83.500000  9.44819921875000E+0003\r\n8");
}

TEST(SynthTrace, RefusesWhatItCannotDo) {
    const std::string line = quoted(Examples / "demo_line.sgy");
    const struct {
        std::string arguments;
        int status;
        std::string says;
    } cases[] = {
        {words({"trace --segy", line, "--trace 16"}), 1, "It has no trace 16; it holds 15."},
        {words({"trace --segy", line, "--trace two"}), 1, "'two' is not a valid integer value"},
        {words({"trace --segy", quoted(Examples / "demo_core_mscl.txt"), "--trace 1"}), 1,
         "Its headers are not those of a SEG-Y file."},
        {"trace --trace 1", 2, "'trace' needs --segy FILE and --trace N"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        const CommandResult result = synth(c.arguments);
        EXPECT_EQ(result.status, c.status);
        EXPECT_NE(result.output.find(c.says), std::string::npos) << result.output;
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
}

} // namespace
} // namespace quarvel::testing
