// quarvel-synth: the chirp source and the synthetic seismogram engine from the
// command line, for batch work and scripts. It runs the same code as the
// program's GO and "Calc. Synthetic" on the same working files.

#include "chirp/chirp_source.h"
#include "engine/calc_synthetic.h"
#include "engine/math_fun.h"
#include "export_commands.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "log_options.h"
#include "platform/work_dir.h"
#include "plot_program.h"
#include "quarvel/version.h"
#include "section_options.h"
#include "segy_commands.h"
#include "tie_commands.h"
#include "usage_error.h"
#include "warp_commands.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <functional>
#include <iostream>
#include <malloc.h>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace {

using quarvel::WorkDir;
using quarvel::synth::UsageError;

struct Option {
    std::string_view name; // with its leading "--"
    std::string_view help;
    std::string* value;
    int values = 1; // words the option takes, joined by a blank; a flag (0) is set to "yes"
};

struct Command {
    std::string_view name;
    std::string_view summary;
    std::vector<Option> options;
    std::vector<std::string_view> writes; // working files, for the closing report
    std::function<void(const WorkDir&)> run;
};

constexpr std::string_view Program = "quarvel-synth";

// An output file given on the command line must not overwrite one of the
// working directory's own files (`allowed`, when not empty, is the one the
// command makes anyway).
void refuseWorkingFile(const WorkDir& dir, const std::string& out, std::string_view allowed) {
    if (out.empty() || !dir.holdsWorkingFile(out)) {
        return;
    }
    std::string name = quarvel::writeTarget(out).filename().string();
    std::transform(name.begin(), name.end(), name.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (name == allowed) {
        return;
    }
    throw quarvel::QuarvelError(quarvel::formatMessage(
        "--out \"%s\" is one of the working directory's own files; choose another name.", {out}));
}

void printHelp(const std::vector<Command>& commands) {
    std::cout << "Usage: " << Program << " COMMAND [OPTIONS]\n"
              << "  or:  " << Program << " --help | --version\n\n";
    for (const Command& command : commands) {
        std::cout << "  " << Program << ' ' << command.name;
        for (const Option& option : command.options) {
            std::cout << " [" << option.name
                      << (option.values == 0   ? ""
                          : option.values == 1 ? " VALUE"
                                               : " X Y")
                      << "]";
        }
        // The blank line lets help2man read the options as a list.
        std::cout << "\n      " << command.summary << "\n\n";
        for (const Option& option : command.options) {
            std::cout << "      " << option.name
                      << std::string(12 - std::min<std::size_t>(option.name.size(), 10), ' ')
                      << option.help << "\n";
        }
        std::cout << "\n";
    }
    std::cout << "The working directory is --workdir, else $QUARVEL_WORKDIR, else ~/Quarvel\n"
                 "(created when missing). Values are written as in the chirp window's fields,\n"
                 "with \".\" as the decimal point. Exit status 0 on success, 1 when the\n"
                 "command is refused or fails, 2 for a wrong command line.\n";
}

// Fills the command's option values from "--name VALUE" or "--name=VALUE".
void parseOptions(const Command& command, const std::vector<std::string_view>& args) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        std::string_view arg = args[i];
        std::optional<std::string_view> inlineValue;
        if (const auto eq = arg.find('='); arg.starts_with("--") && eq != std::string_view::npos) {
            inlineValue = arg.substr(eq + 1);
            arg = arg.substr(0, eq);
        }
        const Option* match = nullptr;
        for (const Option& option : command.options) {
            if (option.name == arg) {
                match = &option;
            }
        }
        if (match == nullptr) {
            throw UsageError{"unknown option '" + std::string(arg) + "' for '" +
                             std::string(command.name) + "'"};
        }
        if (match->values == 0) {
            if (inlineValue) {
                throw UsageError{"option '" + std::string(arg) + "' takes no value"};
            }
            *match->value = "yes";
        } else if (inlineValue && match->values == 1) {
            *match->value = *inlineValue;
        } else if (!inlineValue && i + static_cast<std::size_t>(match->values) < args.size()) {
            *match->value = args[++i];
            for (int more = 1; more < match->values; ++more) {
                *match->value += ' ';
                *match->value += args[++i];
            }
        } else {
            throw UsageError{"option '" + std::string(arg) + "' needs " +
                             (match->values == 1 ? "a value" : "two values")};
        }
    }
}

int run(int argc, char** argv) {
    quarvel::ChirpTexts chirp;
    std::string workDirText;
    const Option width{"--width", "signal width, s (default 0.01)", &chirp.width};
    const Option start{"--start", "start frequency, Hz (default 2000)", &chirp.start};
    const Option end{"--end", "end frequency, Hz (default 7000)", &chirp.end};
    const Option interval{"--interval", "sampling interval, s (default 0.00001)", &chirp.interval};
    const Option workDir{"--workdir", "working directory", &workDirText};
    std::string noWait;
    const Option noWaitOption{"--no-wait",
                              "refuse, rather than wait, while another command works in the "
                              "working directory",
                              &noWait, 0};
    quarvel::synth::LogOptions logOptions;
    std::string timeZeroText = "strongest";
    const Option timeZero{"--time-zero", "sea-floor or strongest (default strongest)",
                          &timeZeroText};
    std::string antiAliasText;
    std::vector<Option> syntheticOptions{
        start,
        end,
        interval,
        timeZero,
        {"--anti-alias", "impedance averaged over each sample's time cell", &antiAliasText, 0},
        workDir,
        noWaitOption};
    for (const quarvel::synth::LogOption& option : quarvel::synth::logOptionList(logOptions)) {
        syntheticOptions.push_back({option.name, option.help, option.value, option.values});
    }
    quarvel::synth::SegyTraceOptions segy;
    const Option segyOption{"--segy", "SEG-Y file", &segy.segy};
    const std::vector<Option> traceOptions{
        segyOption,
        {"--trace", "trace number, from 1 in file order", &segy.trace},
        {"--shot", "field record (shot) number", &segy.shot},
        {"--near", "the trace nearest to X Y (header units, scalar applied)", &segy.near, 2},
        {"--channel", "channel of the shot, from 1 (default 1)", &segy.channel},
        {"--stack", "traces averaged on each side (default 0)", &segy.stack},
        {"--interval", "sample interval, s (default: the headers')", &segy.interval},
        {"--sea-floor", "cut at the sea floor: auto, or its time in ms", &segy.seaFloor},
        {"--length", "ms kept from the first listed sample (default all)", &segy.length},
        {"--out", "listing file (default trace.txt in the working directory)", &segy.out},
        workDir,
        noWaitOption};

    quarvel::synth::SegySectionOptions section;
    const std::vector<Option> sectionOptions{
        {"--segy", "SEG-Y file", &section.segy},
        {"--out", "PNG file to write", &section.out},
        {"--width", "columns, one trace each at most (default 1200)", &section.width},
        {"--height", "rows, two-way time downwards (default 600)", &section.height},
        {"--traces", "the traces drawn, A-B from 1 (default all)", &section.traces},
        {"--clip", "percentile drawn at full strength (default 98)", &section.clip},
        {"--colours", "grey or diverging (default grey)", &section.colours},
        {"--across", "trace or distance along the line (default trace)", &section.across},
        {"--flatten", "time from each trace's sea-floor pick", &section.flatten, 0},
        {"--channel", "channel of the shots, from 1 (default 1)", &section.channel},
        {"--trace", "the chosen trace, edged (from 1)", &section.trace},
        {"--stack", "traces each side of it, tinted", &section.stack}};

    quarvel::tools::TieTexts tie;
    std::string tdrOut;
    const std::vector<Option> tdrOptions{
        {"--out", "CSV file (default: standard output)", &tdrOut}, workDir, noWaitOption};
    quarvel::tools::DepthVaryingTexts depthVarying;
    const std::vector<Option> tieOptions{
        {"--trace", "trace listing, ms (default trace.txt)", &tie.trace},
        start,
        end,
        interval,
        {"--max-shift", "largest shift tried, ms (default: the trace beyond the core)",
         &tie.maxShift},
        {"--factor-range", "velocity factors tried (default: from the log's mean velocity)",
         &tie.factorRange, 2},
        {"--surrogates", "unrelated traces for the significance (default 200)", &tie.surrogates},
        {"--seed", "seed of the surrogates (default 1)", &tie.seed},
        {"--level", "significance level (default 0.05)", &tie.level},
        {"--report", "file for the settings and every result", &tie.report},
        {"--scan-out", "CSV file for the factor curve", &tie.scanOut},
        {"--apply",
         "scale log.dat's velocities by the best factor (with --depth-varying: give every "
         "interval the relation's time)",
         &tie.apply, 0},
        {"--depth-varying", "then stretch and squeeze the synthetic onto the trace",
         &depthVarying.enabled, 0},
        {"--velocity-limit", "% an interval's velocity may leave the bulk tie's (default 25)",
         &depthVarying.velocityLimit},
        {"--max-stretch", "the same as --velocity-limit", &depthVarying.velocityLimit},
        {"--tdr-out", "CSV file for the depth-varying time-depth relation", &depthVarying.tdrOut},
        {"--td-out", "the same as --tdr-out", &depthVarying.tdrOut},
        {"--log-out", "LAS file for the log the depth-varying tie gives", &depthVarying.logOut},
        workDir,
        noWaitOption};

    quarvel::tools::ExportTexts exports;
    const std::vector<Option> exportOptions{
        {"--segy", "SEG-Y file for ampl.dat", &exports.segy},
        {"--las", "LAS 2.0 file for log.dat", &exports.las},
        {"--factor", "velocity factor of the LAS file (default 1)", &exports.factor},
        {"--factor-source", "where the factor comes from, for the LAS header",
         &exports.factorSource},
        {"--start", "start frequency the synthetic was made with, Hz (default 2000)",
         &exports.start},
        {"--end", "end frequency the synthetic was made with, Hz (default 7000)", &exports.end},
        workDir};

    std::string plotSession;
    std::string plotOut;
    const std::vector<Option> plotOptions{{"--session", "session file (.qvs)", &plotSession},
                                          {"--out", "bitmap file to write", &plotOut}};

    std::vector<std::string_view> synthetic(quarvel::MathFun::SyntheticFileNames.begin(),
                                            quarvel::MathFun::SyntheticFileNames.end());
    const std::vector<Command> commands{
        {"chirp",
         "Writes the sweep and its Klauder wavelet (chirp.dat, klauder.dat).",
         {width, start, end, interval, workDir, noWaitOption},
         {quarvel::ChirpFileName, quarvel::MathFun::KlauderFileName},
         [&](const WorkDir& dir) { quarvel::ChirpSource(chirp, dir); }},
        {"synthetic", "Reads log.dat and klauder.dat and writes the synthetic and its stages.",
         syntheticOptions, synthetic,
         [&](const WorkDir& dir) {
             // The imported log joins the five files: all six are replaced or none.
             std::optional<std::string> logDat;
             if (!logOptions.file.empty()) {
                 logDat = quarvel::synth::importLogText(logOptions, std::cerr);
             }
             const quarvel::MathFun::TimeZero zero = quarvel::tools::timeZeroOption(timeZeroText);
             quarvel::MathFun::Engine engine;
             quarvel::kernels::KernelOptions kernels;
             kernels.threadingThreshold = quarvel::kernels::OneRunThreadingThreshold;
             const bool antiAliased = antiAliasText == "yes";
             const quarvel::MathFun::SyntheticCounts counts = quarvel::MathFun::CalcSynthetic(
                 engine, dir, chirp.start, chirp.end, chirp.interval, kernels, zero, logDat,
                 antiAliased);
             quarvel::tools::warnAboutSynthetic(counts, zero,
                                                quarvel::numbers::parseNumber(chirp.interval),
                                                antiAliased, std::cerr);
             if (logDat) {
                 std::cout << "Wrote " << dir.file(quarvel::MathFun::LogFileName).string() << "\n";
             }
         }},
        {"info",
         "Prints what the headers of a SEG-Y file say.",
         {segyOption},
         {},
         [&](const WorkDir&) { quarvel::synth::printSegyInfo(segy.segy, std::cout); }},
        {"trace",
         "Writes one trace of a SEG-Y file as the trace listing (time in ms, amplitude).",
         traceOptions,
         {},
         [&](const WorkDir& dir) {
             refuseWorkingFile(dir, segy.out, "trace.txt");
             quarvel::synth::writeSegyTrace(segy, dir, std::cout);
         }},
        {"section",
         "Draws a SEG-Y line as a variable-density picture (PNG) with its axes: sea-floor pick "
         "in green.",
         sectionOptions,
         {},
         [&](const WorkDir& dir) {
             // The command line is checked here, so that a wrong one is
             // refused without starting the drawing libraries.
             quarvel::synth::sectionSettings(section);
             refuseWorkingFile(dir, section.out, {});
             std::vector<std::string> arguments{"section"};
             for (const Option& option : sectionOptions) {
                 if (!option.value->empty()) {
                     arguments.push_back(std::string(option.name));
                     arguments.push_back(*option.value);
                 }
             }
             quarvel::tools::runPlotProgram(arguments);
         }},
        {"tdr",
         "Writes the time-depth table of log.dat as CSV (depth_m,twt_ms).",
         tdrOptions,
         {},
         [&](const WorkDir& dir) {
             refuseWorkingFile(dir, tdrOut, {});
             quarvel::tools::writeTimeDepth(dir, tdrOut, std::cout);
         }},
        {"tie",
         "Measures how well the log's synthetic, anchored at the sea floor, matches the "
         "trace: the best velocity factor and shift, and how often unrelated traces score as "
         "well.",
         tieOptions,
         {},
         [&](const WorkDir& dir) {
             quarvel::tools::checkDepthVarying(depthVarying);
             // With --depth-varying, --apply applies the relation, not the
             // bulk factor.
             quarvel::tools::TieTexts bulkTexts = tie;
             if (depthVarying.enabled == "yes") {
                 depthVarying.apply = std::exchange(bulkTexts.apply, std::string());
             }
             const auto bulk =
                 quarvel::tools::printTie(dir, chirp, bulkTexts, std::cout, std::cerr);
             if (depthVarying.enabled == "yes") {
                 quarvel::tools::printDepthVaryingTie(dir, chirp, tie.trace, bulk, depthVarying,
                                                      std::cout, std::cerr);
             }
         }},
        {"export",
         "Writes ampl.dat as a one-trace SEG-Y file and log.dat, its velocities times the "
         "factor, as LAS 2.0.",
         exportOptions,
         {},
         [&](const WorkDir& dir) { quarvel::tools::runExport(dir, exports, std::cout); }},
        {"plot",
         "Writes the final plot of a session as a bitmap, as \"Final Plot\" in the program "
         "shows it; the session is reopened in a folder of its own.",
         plotOptions,
         {},
         [&](const WorkDir& dir) {
             if (plotSession.empty() || plotOut.empty()) {
                 throw UsageError{"plot needs --session FILE and --out FILE"};
             }
             refuseWorkingFile(dir, plotOut, {});
             quarvel::tools::runPlotProgram({"--session", plotSession, "--out", plotOut});
         }},
    };

    const std::vector<std::string_view> args(argv + 1, argv + argc);
    if (args.empty()) {
        throw UsageError{"no command given"};
    }
    if (args[0] == "--help" || args[0] == "-h") {
        printHelp(commands);
        return 0;
    }
    if (args[0] == "--version") {
        std::cout << Program << ' ' << quarvel::Version << "\n";
        return 0;
    }
    for (const Command& command : commands) {
        if (command.name != args[0]) {
            continue;
        }
        const std::vector<std::string_view> rest(args.begin() + 1, args.end());
        for (const std::string_view arg : rest) {
            if (arg == "--help" || arg == "-h") {
                printHelp(commands);
                return 0;
            }
        }
        parseOptions(command, rest);
        const WorkDir dir = workDirText.empty() ? WorkDir::fromEnvironment() : WorkDir(workDirText);
        dir.ensureExists();
        const auto sayWaiting = [&dir] {
            std::cerr << Program << ": waiting for another Quarvel command working in \""
                      << dir.folder().string() << "\"...\n";
        };
        const quarvel::WorkDirLock lock(
            dir, noWait.empty() ? quarvel::WhenBusy::Wait : quarvel::WhenBusy::Refuse, sayWaiting);
        command.run(dir);
        for (const std::string_view name : command.writes) {
            std::cout << "Wrote " << dir.file(name).string() << "\n";
        }
        return 0;
    }
    throw UsageError{"unknown command '" + std::string(args[0]) + "'"};
}

} // namespace

int main(int argc, char** argv) {
    // The tool runs one command and ends, and the first touch of each page
    // of fresh memory costs a trip into the system (some 10 us on a virtual
    // machine). So large blocks come from the heap like small ones, and what
    // is freed stays there for the next allocation instead of going back to
    // the system: the largest synthetic's log, read and copied through
    // growing buffers, then takes 290 fewer fresh pages.
    mallopt(M_MMAP_THRESHOLD, 256 << 20);
    mallopt(M_TRIM_THRESHOLD, 512 << 20);
    try {
        return run(argc, argv);
    } catch (const UsageError& error) {
        std::cerr << Program << ": " << error.message << "\nTry '" << Program << " --help'.\n";
        return 2;
    } catch (const std::exception& error) {
        std::cerr << Program << ": " << error.what() << "\n";
        return 1;
    }
}
