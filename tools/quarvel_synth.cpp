// quarvel-synth: the chirp source and the synthetic seismogram engine from the
// command line, for batch work and scripts. It runs the same code as the
// program's GO and "Calc. Synthetic" on the same working files.

#include "chirp/chirp_source.h"
#include "editor/interpolation.h"
#include "editor/listing_file.h"
#include "editor/log_import.h"
#include "engine/calc_synthetic.h"
#include "engine/math_fun.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "platform/work_dir.h"
#include "quarvel/version.h"
#include "segy_commands.h"
#include "survey/log_import.h"
#include "usage_error.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <iostream>
#include <optional>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

namespace {

using quarvel::WorkDir;
using quarvel::synth::UsageError;

struct Option {
    std::string_view name; // with its leading "--"
    std::string_view help;
    std::string* value;
    int values = 1; // words the option takes, joined by a blank
};

struct Command {
    std::string_view name;
    std::string_view summary;
    std::vector<Option> options;
    std::vector<std::string_view> writes; // working files, for the closing report
    std::function<void(const WorkDir&)> run;
};

constexpr std::string_view Program = "quarvel-synth";

void printHelp(const std::vector<Command>& commands) {
    std::cout << "Usage: " << Program << " COMMAND [OPTIONS]\n"
              << "  or:  " << Program << " --help | --version\n\n";
    for (const Command& command : commands) {
        std::cout << "  " << Program << ' ' << command.name;
        for (const Option& option : command.options) {
            std::cout << " [" << option.name << (option.values == 2 ? " X Y]" : " VALUE]");
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
        if (inlineValue) {
            *match->value = *inlineValue;
        } else if (i + static_cast<std::size_t>(match->values) < args.size()) {
            *match->value = args[++i];
            for (int more = 1; more < match->values; ++more) {
                *match->value += ' ';
                *match->value += args[++i];
            }
        } else {
            throw UsageError{"option '" + std::string(arg) + "' needs a value"};
        }
    }
}

// A batch run has no one to edit the log: the gaps that cleaning left are
// filled as Interpolate Series does, and the records still missing a value
// (a gap of one, a gap at the end) are left out, so the engine gets a log it
// can use.
std::string batchLogDat(const std::string& logDat, const std::string& fileName) {
    std::istringstream in(quarvel::interpolateLogText(logDat));
    std::vector<quarvel::LogRecord> kept;
    std::size_t leftOut = 0;
    for (const quarvel::LogRecord& record : quarvel::readLogRecords(in)) {
        if (record.Velocity == 0 || record.Density == 0) {
            ++leftOut;
        } else {
            kept.push_back(record);
        }
    }
    if (leftOut > 0) {
        std::cerr << Program << ": "
                  << quarvel::formatMessage(
                         "\"%s\": %s records still missing a value after interpolation were "
                         "left out.",
                         {fileName,
                          quarvel::numbers::formatInteger(static_cast<long long>(leftOut))})
                  << "\n";
    }
    return quarvel::formatLogRecords(kept);
}

// A LAS or MSCL file as a plain log, with the proposed or named columns and
// the default cleaning rules; what the conversion did goes to the error
// stream. A plain log is imported as it stands.
quarvel::ImportedLog importSurveyLog(const std::string& fileName,
                                     const quarvel::ColumnNames& columns) {
    const std::string text = quarvel::readLogFile(fileName);
    const quarvel::LogFileKind kind = quarvel::logFileKind(text);
    if (kind == quarvel::LogFileKind::Plain) {
        return quarvel::importLogFile(fileName);
    }
    const quarvel::SurveyLog log = quarvel::readSurveyLog(kind, text, fileName);
    const quarvel::ColumnChoice choice = quarvel::chooseColumns(log.table, columns);
    const quarvel::ConvertedLog converted =
        quarvel::convertLog(log.table, choice, quarvel::defaultCleaningRules(log.table, choice));
    const std::string summary = quarvel::importSummary(converted, log.notes, fileName);
    if (!summary.empty()) {
        std::cerr << Program << ": " << summary << "\n";
    }
    std::istringstream in(converted.text);
    quarvel::LogGrid grid;
    quarvel::ImportedLog imported;
    imported.result = quarvel::LoadLog(grid, in);
    imported.logDat = batchLogDat(quarvel::SaveLog(grid), fileName);
    return imported;
}

// Imports a log file into log.dat the way the data editor's Load does, so a
// batch run computes from exactly what the window would have written.
void importLog(const std::string& fileName, const quarvel::ColumnNames& columns,
               const WorkDir& dir) {
    const quarvel::ImportedLog imported = importSurveyLog(fileName, columns);
    for (const std::string& notice : quarvel::loadLogNotices(imported.result, fileName)) {
        std::cerr << Program << ": " << notice << "\n";
    }
    const auto logDat = dir.file(quarvel::MathFun::LogFileName);
    quarvel::writeTextFile(logDat, imported.logDat);
    std::cout << "Wrote " << logDat.string() << "\n";
}

int run(int argc, char** argv) {
    quarvel::ChirpTexts chirp;
    std::string workDirText;
    const Option width{"--width", "signal width, s (default 0.01)", &chirp.width};
    const Option start{"--start", "start frequency, Hz (default 2000)", &chirp.start};
    const Option end{"--end", "end frequency, Hz (default 7000)", &chirp.end};
    const Option interval{"--interval", "sampling interval, s (default 0.00001)", &chirp.interval};
    const Option workDir{"--workdir", "working directory", &workDirText};
    std::string logFile;
    const Option logFileOption{
        "--log", "log file to import into log.dat first, as the data editor does", &logFile};

    quarvel::ColumnNames columns;
    const Option depthColumn{"--depth-column", "LAS/MSCL column of depth (default: proposed)",
                             &columns.depth};
    const Option velocityColumn{"--velocity-column", "LAS/MSCL column of velocity, or none",
                                &columns.velocity};
    const Option densityColumn{"--density-column", "LAS/MSCL column of density, or none",
                               &columns.density};
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
        workDir};

    std::vector<std::string_view> synthetic(quarvel::MathFun::SyntheticFileNames.begin(),
                                            quarvel::MathFun::SyntheticFileNames.end());
    const std::vector<Command> commands{
        {"chirp",
         "Writes the sweep and its Klauder wavelet (chirp.dat, klauder.dat).",
         {width, start, end, interval, workDir},
         {quarvel::ChirpFileName, quarvel::MathFun::KlauderFileName},
         [&](const WorkDir& dir) { quarvel::ChirpSource(chirp, dir); }},
        {"synthetic",
         "Reads log.dat and klauder.dat and writes the synthetic and its stages.",
         {start, end, interval, workDir, logFileOption, depthColumn, velocityColumn, densityColumn},
         synthetic,
         [&](const WorkDir& dir) {
             if (!logFile.empty()) {
                 importLog(logFile, columns, dir);
             }
             quarvel::MathFun::Engine engine;
             quarvel::MathFun::CalcSynthetic(engine, dir, chirp.start, chirp.end, chirp.interval);
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
         [&](const WorkDir& dir) { quarvel::synth::writeSegyTrace(segy, dir, std::cout); }},
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
