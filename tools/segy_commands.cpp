#include "segy_commands.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "option_numbers.h"
#include "survey/segy_line.h"
#include "survey/segy_load.h"
#include "usage_error.h"

#include <cmath>
#include <limits>
#include <string_view>

namespace quarvel::synth {
namespace {

TraceChoice choiceOf(const SegyTraceOptions& options) {
    const int given = static_cast<int>(!options.trace.empty()) +
                      static_cast<int>(!options.shot.empty()) +
                      static_cast<int>(!options.near.empty());
    if (options.segy.empty() || given != 1) {
        throw UsageError{"'trace' needs --segy FILE and one of --trace N, --shot N, --near X Y"};
    }
    TraceChoice choice;
    if (!options.channel.empty()) {
        choice.channel =
            wholeNumberOption("--channel", options.channel, 1, std::numeric_limits<int>::max()) - 1;
        if (!options.trace.empty()) {
            throw UsageError{"'--channel' chooses among the traces of a shot, with --shot or "
                             "--near; --trace counts every trace in file order"};
        }
    }
    if (!options.trace.empty()) {
        choice.kind = TraceChoiceKind::Index;
        choice.number =
            wholeNumberOption("--trace", options.trace, 1, std::numeric_limits<int>::max());
    } else if (!options.shot.empty()) {
        choice.kind = TraceChoiceKind::Shot;
        // A field record number is a four-byte signed field of the trace header.
        choice.number = wholeNumberOption("--shot", options.shot, std::numeric_limits<int>::min(),
                                          std::numeric_limits<int>::max());
    } else {
        const std::size_t blank = options.near.find(' ');
        const auto x = numbers::tryParseNumber(options.near.substr(0, blank));
        const auto y = blank == std::string::npos
                           ? std::nullopt
                           : numbers::tryParseNumber(options.near.substr(blank + 1));
        if (!x || !y) {
            throw QuarvelError(
                formatMessage("--near needs two numbers, X and Y, not '%s'.", {options.near}));
        }
        choice.kind = TraceChoiceKind::Near;
        choice.x = *x;
        choice.y = *y;
    }
    return choice;
}

SegyLoadRequest requestOf(const SegyTraceOptions& options) {
    SegyLoadRequest request;
    request.choice = choiceOf(options);
    if (!options.stack.empty()) {
        request.stack = wholeNumberOption("--stack", options.stack, 0, MaxStack);
    }
    if (!options.interval.empty()) {
        request.intervalMs =
            1000 * numberOption("--interval", options.interval, 1e-6, 1, "seconds");
    }
    if (options.seaFloor == "auto") {
        request.seaFloor = SeaFloorMode::Auto;
    } else if (!options.seaFloor.empty()) {
        request.seaFloor = SeaFloorMode::AtTime;
        request.seaFloorMs =
            numberOption("--sea-floor", options.seaFloor, -1e6, 1e6, "ms (or auto)");
    }
    if (!options.length.empty()) {
        request.lengthMs = numberOption("--length", options.length, 1e-6, 1e6, "ms");
    }
    return request;
}

} // namespace

void printSegyInfo(const std::string& segyFile, std::ostream& out) {
    if (segyFile.empty()) {
        throw UsageError{"'info' needs --segy FILE"};
    }
    SegyReader reader(segyFile);
    for (const std::string& line : segySummaryLines(summarizeSegy(reader))) {
        out << line << "\n";
    }
}

void writeSegyTrace(const SegyTraceOptions& options, const WorkDir& dir, std::ostream& out) {
    const SegyLoadRequest request = requestOf(options);
    SegyReader reader(options.segy);
    NearestTraces nearest;
    const SegyLoad load =
        loadSegyTrace(reader, chooseTrace(reader, request.choice, &nearest), request);
    const std::filesystem::path path =
        options.out.empty() ? dir.file("trace.txt") : std::filesystem::path(options.out);
    writeTextFile(path, load.listing);
    out << load.notice << "\n";
    if (const std::string shared = sharedPositionText(nearest); !shared.empty()) {
        out << shared << "\n";
    }
    out << "Wrote " << path.string() << "\n";
}

} // namespace quarvel::synth
