#include "survey/log_import.h"

#include "formats/capacity.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "survey/las_reader.h"
#include "survey/mscl_reader.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>

namespace quarvel {
namespace {

std::string count(long long value) {
    return numbers::formatInteger(value);
}

std::optional<int> firstNamed(const ColumnTable& table,
                              std::initializer_list<std::string_view> names) {
    for (const std::string_view name : names) {
        if (const auto found = findColumn(table, name)) {
            return found;
        }
    }
    return std::nullopt;
}

// The first column whose name holds `part`, ignoring any unit written after
// it ("PWVel_m/s").
std::optional<int> firstContaining(const ColumnTable& table, std::string_view part,
                                   std::string_view unless = {}) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        const std::string name = upperCase(table.columns[c].name);
        if (name.find(part) != std::string::npos &&
            (unless.empty() || name.find(unless) == std::string::npos)) {
            return static_cast<int>(c);
        }
    }
    return std::nullopt;
}

std::optional<int> firstSonic(const ColumnTable& table) {
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (namesSonic(table.columns[c].name)) {
            return static_cast<int>(c);
        }
    }
    return std::nullopt;
}

bool columnIn(const ColumnTable& table, int column) {
    return column >= 0 && static_cast<std::size_t>(column) < table.columns.size();
}

double cellOf(const std::vector<double>& row, int column) {
    return cellAt(row, static_cast<std::size_t>(column));
}

// Notes on units the user should know were assumed or not converted.
void noteUnits(const ColumnTable& table, const ColumnChoice& choice,
               std::vector<std::string>& notes) {
    const struct {
        int column;
        LogRole role;
        const LogUnit& unit;
    } chosen[] = {{choice.depth, LogRole::Depth, choice.depthUnit},
                  {choice.velocity, LogRole::Velocity, choice.velocityUnit},
                  {choice.density, LogRole::Density, choice.densityUnit}};
    for (const auto& each : chosen) {
        if (!columnIn(table, each.column)) {
            continue;
        }
        const TableColumn& column = table.columns[static_cast<std::size_t>(each.column)];
        const std::string_view written = trimmed(column.unit);
        if (const auto conflict = unitConflict(each.role, column)) {
            notes.push_back(formatMessage(
                "The column \"%s\" says %s in its name but %s in its unit field; its values "
                "were taken in %s: check that this is right.",
                {column.name, conflict->inName.name, conflict->inField.name,
                 each.unit.name.empty() ? "the unit written" : each.unit.name}));
        } else if (each.unit.name.empty()) {
            notes.push_back(formatMessage(
                "The unit \"%s\" of the column \"%s\" is not one Quarvel converts; its values "
                "were taken as they stand.",
                {written.empty() ? "(none)" : written, column.name}));
        } else if (each.role == LogRole::Depth && written.empty() &&
                   !statedUnit(LogRole::Depth, column) && each.unit.name == "m") {
            notes.push_back(formatMessage(
                "The depth column \"%s\" gives no unit; its values were taken as metres.",
                {column.name}));
        }
    }
}

int countMissing(const std::vector<double>& values) {
    return static_cast<int>(std::count_if(values.begin(), values.end(),
                                          [](double value) { return std::isnan(value); }));
}

std::string rowText(double depth, double velocity, double density) {
    const auto orZero = [](double value) { return std::isnan(value) ? 0.0 : value; };
    return numbers::formatF6(depth) + " " + numbers::formatF6(orZero(velocity)) + " " +
           numbers::formatF6(orZero(density));
}

} // namespace

LogFileKind logFileKind(std::string_view text) {
    if (looksLikeLas(text)) {
        return LogFileKind::Las;
    }
    return looksLikeMscl(text) ? LogFileKind::Mscl : LogFileKind::Plain;
}

SurveyLog readSurveyLog(LogFileKind kind, std::string_view text, const std::string& fileName) {
    // A table of far more lines than a log has records is refused before
    // its lines and cells are held: ten million rows took over a gigabyte.
    // The margin leaves room for any header and for rows left out.
    constexpr long long MostLines = SeriesCapacity + 10000;
    long long lines = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        lines +=
            text[i] == '\n' || (text[i] == '\r' && (i + 1 == text.size() || text[i + 1] != '\n'));
    }
    if (lines > MostLines) {
        throw QuarvelError(formatMessage("The log file \"%s\" holds more than %s lines, far more "
                                         "than the %s records of a log; nothing was changed.",
                                         {fileName, count(MostLines), count(SeriesCapacity)}),
                           ErrorKind::Capacity);
    }
    SurveyLog log;
    if (kind == LogFileKind::Las) {
        log.table = readLas(text, fileName);
    } else {
        MsclTable mscl = readMscl(text, fileName);
        log.table = std::move(mscl.table);
        if (mscl.rowsLeftOut > 0) {
            log.notes.push_back(
                formatMessage("%s rows without values were left out.", {count(mscl.rowsLeftOut)}));
        }
        if (mscl.cellsNotNumbers > 0) {
            log.notes.push_back(formatMessage("%s cells that are not numbers were read as missing.",
                                              {count(mscl.cellsNotNumbers)}));
        }
    }
    return log;
}

std::string columnNameList(const ColumnTable& table) {
    constexpr std::size_t Named = 12;
    std::string list;
    for (std::size_t c = 0; c < table.columns.size() && c < Named; ++c) {
        list += (list.empty() ? "\"" : ", \"") + table.columns[c].name + "\"";
    }
    if (table.columns.size() > Named) {
        list += formatMessage(" and %s more",
                              {count(static_cast<long long>(table.columns.size() - Named))});
    }
    return list;
}

std::optional<int> findColumn(const ColumnTable& table, std::string_view name) {
    const std::string wanted = upperCase(trimmed(name));
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (upperCase(trimmed(table.columns[c].name)) == wanted) {
            return static_cast<int>(c);
        }
    }
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (upperCase(columnStem(table.columns[c].name)) == wanted) {
            return static_cast<int>(c);
        }
    }
    return std::nullopt;
}

std::optional<LogUnit> proposeUnit(LogRole role, const TableColumn& column) {
    if (const auto stated = statedUnit(role, column)) {
        return stated;
    }
    if (!trimmed(column.unit).empty() || (role == LogRole::Velocity && namesSonic(column.name))) {
        return std::nullopt;
    }
    return knownUnits(role).front();
}

ColumnChoice proposeColumns(const ColumnTable& table) {
    ColumnChoice choice;
    // Sub-bottom depth, not the depth within a core section.
    choice.depth = firstNamed(table, {"DEPT", "DEPTH", "SB DEPTH", "CORE DEPTH", "MSCL DEPTH"})
                       .value_or(firstContaining(table, "DEPTH", "SECT")
                                     .value_or(firstContaining(table, "DEPTH").value_or(0)));
    choice.velocity =
        firstNamed(table, {"VP", "PWVEL", "PVEL", "VELP"})
            .value_or(firstContaining(table, "VEL").value_or(firstSonic(table).value_or(NoColumn)));
    choice.density = firstNamed(table, {"RHOB", "DEN", "DEN1", "DENS", "DENSITY", "RHO"})
                         .value_or(firstContaining(table, "DEN").value_or(NoColumn));
    choice.amplitude = firstNamed(table, {"PWAMP", "AMP"})
                           .value_or(firstContaining(table, "AMP").value_or(NoColumn));
    const auto unitOf = [&table](LogRole role, int column, LogUnit& unit) {
        if (columnIn(table, column)) {
            unit = proposeUnit(role, table.columns[static_cast<std::size_t>(column)])
                       .value_or(LogUnit{});
        }
    };
    unitOf(LogRole::Depth, choice.depth, choice.depthUnit);
    unitOf(LogRole::Velocity, choice.velocity, choice.velocityUnit);
    unitOf(LogRole::Density, choice.density, choice.densityUnit);
    return choice;
}

VelocityReadings velocityReadings(const ColumnTable& table, const ColumnChoice& choice) {
    VelocityReadings readings;
    if (!columnIn(table, choice.velocity)) {
        return readings;
    }
    readings.hasAmplitude = columnIn(table, choice.amplitude);
    for (const std::vector<double>& row : table.rows) {
        if (const auto velocity = toLogUnit(cellOf(row, choice.velocity), choice.velocityUnit)) {
            readings.velocities.push_back(*velocity);
            readings.amplitudes.push_back(readings.hasAmplitude ? cellOf(row, choice.amplitude)
                                                                : MissingValue);
        }
    }
    return readings;
}

ConvertedSeries convertSeries(const ColumnTable& table, const ColumnChoice& choice,
                              const CleaningRules& rules, ConvertedLog& log) {
    if (!columnIn(table, choice.depth)) {
        throw QuarvelError("No depth column was chosen.");
    }
    noteUnits(table, choice, log.notes);
    const bool hasVelocity = columnIn(table, choice.velocity);
    const bool hasDensity = columnIn(table, choice.density);
    const bool hasAmplitude = columnIn(table, choice.amplitude);
    ConvertedSeries series;
    std::vector<double>& depths = series.depths;
    std::vector<double>& velocities = series.velocities;
    std::vector<double>& densities = series.densities;
    for (const std::vector<double>& row : table.rows) {
        const auto depth = toLogUnit(cellOf(row, choice.depth), choice.depthUnit);
        if (!depth) {
            ++log.rowsWithoutDepth;
            continue;
        }
        depths.push_back(*depth);
        double velocity = MissingValue;
        if (hasVelocity) {
            if (const auto value = toLogUnit(cellOf(row, choice.velocity), choice.velocityUnit)) {
                const double amplitude =
                    hasAmplitude ? cellOf(row, choice.amplitude) : MissingValue;
                ++log.cleaned.readings;
                switch (judgeVelocity(*value, amplitude, rules)) {
                case Verdict::WeakSignal:
                    ++log.cleaned.byAmplitude;
                    break;
                case Verdict::OutOfRange:
                    ++log.cleaned.byRange;
                    break;
                case Verdict::Kept:
                    velocity = *value;
                    log.belowSeaWater += *value < SeaWaterVelocity ? 1 : 0;
                    break;
                }
            } else {
                ++log.missingValues;
            }
        }
        velocities.push_back(velocity);
        double density = MissingValue;
        if (hasDensity) {
            if (const auto value = toLogUnit(cellOf(row, choice.density), choice.densityUnit)) {
                density = *value;
            } else {
                ++log.missingValues;
            }
        }
        densities.push_back(density);
    }
    const auto fill = [&](int column, std::vector<double>& values) {
        if (!columnIn(table, column)) {
            return;
        }
        const FilledValues filled = fillEndsAndSingleGaps(depths, values);
        log.filled.atEnds += filled.atEnds;
        log.filled.single += filled.single;
        const int missing = countMissing(values);
        if (missing > 0 && missing == static_cast<int>(values.size())) {
            log.notes.push_back(formatMessage(
                "Warning: the column \"%s\" has no good reading left; all its values are 0 "
                "(missing).",
                {table.columns[static_cast<std::size_t>(column)].name}));
        } else {
            log.stillMissing += missing;
        }
    };
    fill(choice.velocity, velocities);
    fill(choice.density, densities);
    log.records = static_cast<int>(depths.size());
    return series;
}

ConvertedLog convertLog(const ColumnTable& table, const ColumnChoice& choice,
                        const CleaningRules& rules) {
    ConvertedLog log;
    const ConvertedSeries series = convertSeries(table, choice, rules, log);
    TextBuilder text;
    for (std::size_t i = 0; i < series.depths.size(); ++i) {
        text.line(rowText(series.depths[i], series.velocities[i], series.densities[i]));
    }
    log.text = text.text();
    return log;
}

std::string importSummary(const ConvertedLog& log, const std::vector<std::string>& readerNotes,
                          const std::string& fileName, RunsOfMissing runs) {
    std::string summary;
    const auto add = [&summary](const std::string& sentence) {
        summary += summary.empty() ? sentence : " " + sentence;
    };
    if (log.missingValues > 0) {
        add(formatMessage("%s values were missing.", {count(log.missingValues)}));
    }
    const int cleaned = log.cleaned.byAmplitude + log.cleaned.byRange;
    if (cleaned > 0) {
        add(formatMessage(
            "%s velocities failed the cleaning rules (%s the amplitude rule, %s "
            "the velocity range) and were set to missing.",
            {count(cleaned), count(log.cleaned.byAmplitude), count(log.cleaned.byRange)}));
    }
    const struct {
        int removed;
        std::string_view rule;
    } rules[] = {{log.cleaned.byAmplitude, "amplitude rule"},
                 {log.cleaned.byRange, "velocity range"}};
    for (const auto& rule : rules) {
        if (2 * rule.removed > log.cleaned.readings) {
            add(formatMessage("Warning: the %s removed %s of the %s velocities, more than half "
                              "of the column; check the rule before you use this log.",
                              {rule.rule, count(rule.removed), count(log.cleaned.readings)}));
        }
    }
    if (log.filled.atEnds > 0 || log.filled.single > 0) {
        add(formatMessage("The import filled %s missing values at the ends of the log with the "
                          "nearest good reading, and %s lone missing values between two good "
                          "readings linearly.",
                          {count(log.filled.atEnds), count(log.filled.single)}));
    }
    if (log.stillMissing > 0) {
        add(formatMessage(runs == RunsOfMissing::ForInterpolateSeries
                              ? "%s values are still 0 (missing); Interpolate Series fills runs "
                                "of them between good readings."
                              : "%s values are still 0 (missing) after the import; runs of them "
                                "between good readings are filled next.",
                          {count(log.stillMissing)}));
    }
    if (log.belowSeaWater > 0) {
        add(formatMessage("%s velocities are below that of sea water (1500 m/s) and were kept: "
                          "uncalibrated?",
                          {count(log.belowSeaWater)}));
    }
    if (log.rowsWithoutDepth > 0) {
        add(formatMessage("%s rows without a depth were left out.", {count(log.rowsWithoutDepth)}));
    }
    for (const std::string& note : readerNotes) {
        add(note);
    }
    for (const std::string& note : log.notes) {
        add(note);
    }
    if (summary.empty()) {
        return summary;
    }
    return formatMessage("\"%s\": %s", {fileName, summary});
}

} // namespace quarvel
