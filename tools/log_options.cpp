#include "log_options.h"

#include "editor/interpolation.h"
#include "editor/log_import.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <algorithm>
#include <ostream>
#include <sstream>

namespace quarvel::synth {
namespace {

std::string count(std::size_t value) {
    return numbers::formatInteger(static_cast<long long>(value));
}

std::string_view optionOf(LogRole role, std::string_view depth, std::string_view velocity,
                          std::string_view density) {
    return byRole(role, depth, velocity, density);
}

std::string unitList(LogRole role) {
    std::string list;
    for (const LogUnit& unit : knownUnits(role)) {
        list += (list.empty() ? "" : ", ") + unit.name;
    }
    return list;
}

double numberOption(std::string_view option, std::string_view text) {
    const auto value = finiteNumber(trimmed(text));
    if (!value || *value < 0) {
        throw QuarvelError(
            formatMessage("%s: \"%s\" is not a number of 0 or more.", {option, text}));
    }
    return *value;
}

// Interpolate Series when a value is still missing, then the records still
// missing one are left out.
std::string completeLog(const ImportedLog& imported, const std::string& fileName,
                        std::ostream& notices) {
    std::vector<LogRecord> records = readLogRecords(imported.logDat);
    const auto incomplete = [](const LogRecord& record) {
        return record.Velocity == 0 || record.Density == 0;
    };
    std::string logDat = imported.logDat;
    if (std::any_of(records.begin(), records.end(), incomplete)) {
        logDat = interpolateLogText(logDat);
        records = readLogRecords(logDat);
    }
    const std::size_t read = static_cast<std::size_t>(imported.result.records);
    const std::size_t notDeeper = read - std::min(read, records.size());
    std::vector<LogRecord> kept;
    for (const LogRecord& record : records) {
        if (!incomplete(record)) {
            kept.push_back(record);
        }
    }
    const std::size_t missing = records.size() - kept.size();
    if (kept.empty()) {
        throw QuarvelError(formatMessage("\"%s\": no record has a depth, a velocity and a "
                                         "density, so log.dat was left as it was.",
                                         {fileName}));
    }
    if (notDeeper + missing > 0) {
        notices << "quarvel-synth: "
                << formatMessage("\"%s\": %s of its %s records were left out: %s not deeper "
                                 "than the record above, %s still missing a value after "
                                 "interpolation.",
                                 {fileName, count(notDeeper + missing), count(read),
                                  count(notDeeper), count(missing)})
                << "\n";
    }
    return missing > 0 ? formatLogRecords(kept) : logDat;
}

} // namespace

std::vector<LogOption> logOptionList(LogOptions& options) {
    return {
        {"--log", "log file to import into log.dat first, as the data editor does", &options.file,
         1},
        {"--depth-column", "LAS/MSCL column of depth (default: proposed)", &options.depthColumn, 1},
        {"--velocity-column", "LAS/MSCL column of velocity or sonic DT, or none",
         &options.velocityColumn, 1},
        {"--density-column", "LAS/MSCL column of density, or none", &options.densityColumn, 1},
        {"--depth-unit", "unit of the depth column: m, cm, mm, ft (default: the file's)",
         &options.depthUnit, 1},
        {"--velocity-unit", "unit of the velocity column: m/s, km/s, ft/s, us/m, us/ft",
         &options.velocityUnit, 1},
        {"--density-unit", "unit of the density column: g/cm3, kg/m3", &options.densityUnit, 1},
        {"--amplitude-threshold",
         "velocities with a P-wave amplitude below it are missing (default: 10 % of the "
         "largest; 0 keeps all)",
         &options.amplitudeThreshold, 1},
        {"--velocity-range", "MIN MAX: velocities outside are missing (default: from the log)",
         &options.velocityRange, 2},
        {"--no-cleaning", "keep every velocity", &options.noCleaning, 0},
    };
}

std::optional<int> OptionLogQuestions::column(LogRole role, const ColumnTable& table,
                                              int proposed) {
    const std::string_view name =
        optionOf(role, options_.depthColumn, options_.velocityColumn, options_.densityColumn);
    if (name.empty()) {
        return proposed;
    }
    if (role != LogRole::Depth && upperCase(name) == "NONE") {
        return NoColumn;
    }
    if (const auto found = findColumn(table, name)) {
        return found;
    }
    throw QuarvelError(formatMessage("The log has no column \"%s\"; its columns are %s.",
                                     {name, columnNameList(table)}));
}

std::optional<LogUnit> OptionLogQuestions::unit(LogRole role, const TableColumn& column,
                                                const std::optional<LogUnit>& proposed) {
    const std::string_view option =
        optionOf(role, "--depth-unit", "--velocity-unit", "--density-unit");
    const std::string_view text =
        optionOf(role, options_.depthUnit, options_.velocityUnit, options_.densityUnit);
    if (!text.empty()) {
        if (const auto unit = recogniseUnit(role, text)) {
            return unit;
        }
        throw QuarvelError(formatMessage("%s: \"%s\" is not a unit Quarvel converts; give one "
                                         "of %s.",
                                         {option, text, unitList(role)}));
    }
    if (proposed) {
        return proposed;
    }
    if (const auto conflict = unitConflict(role, column)) {
        throw QuarvelError(
            formatMessage("The column \"%s\" says %s in its name but %s in its "
                          "unit field: give %s %s or %s %s.",
                          {column.name, conflict->inName.name, conflict->inField.name, option,
                           conflict->inName.name, option, conflict->inField.name}));
    }
    if (role == LogRole::Velocity && namesSonic(column.name)) {
        throw QuarvelError(formatMessage("The sonic column \"%s\" gives no unit: give "
                                         "--velocity-unit us/ft or us/m.",
                                         {column.name}));
    }
    return LogUnit{};
}

std::optional<CleaningRules> OptionLogQuestions::cleaning(const CleaningQuestion& question) {
    if (!options_.noCleaning.empty()) {
        return CleaningRules{};
    }
    CleaningRules rules = question.proposed;
    if (!options_.amplitudeThreshold.empty()) {
        if (question.amplitudeColumn.empty()) {
            throw QuarvelError("--amplitude-threshold: the log has no P-wave amplitude column.");
        }
        const double threshold = numberOption("--amplitude-threshold", options_.amplitudeThreshold);
        rules.minAmplitude = threshold > 0 ? std::optional(threshold) : std::nullopt;
    }
    if (!options_.velocityRange.empty()) {
        const std::size_t blank = options_.velocityRange.find(' ');
        const std::string_view range = options_.velocityRange;
        const double low = numberOption("--velocity-range", range.substr(0, blank));
        const double high = numberOption("--velocity-range", range.substr(blank + 1));
        if (!(low < high)) {
            throw QuarvelError(
                formatMessage("--velocity-range: the minimum %s is not below the maximum %s.",
                              {range.substr(0, blank), range.substr(blank + 1)}));
        }
        rules.minVelocity = low;
        rules.maxVelocity = high;
    }
    return rules;
}

std::string importLogText(const LogOptions& options, std::ostream& notices) {
    OptionLogQuestions questions(options);
    const auto imported = importLogFile(options.file, questions, RunsOfMissing::FilledNext);
    if (!imported) {
        throw QuarvelError("The import of the log was cancelled.", ErrorKind::Cancelled);
    }
    for (const std::string& notice : imported->notices) {
        notices << "quarvel-synth: " << notice << "\n";
    }
    return completeLog(*imported, options.file, notices);
}

} // namespace quarvel::synth
