#include "survey/log_import.h"

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

struct UnitFactor {
    std::string_view unit;
    double factor;
};

// The factor to the grid's unit, 1 with a note when the unit is not known.
double unitFactor(const TableColumn& column, std::initializer_list<UnitFactor> known,
                  std::vector<std::string>& notes) {
    const std::string unit = upperCase(trimmed(column.unit));
    for (const UnitFactor& entry : known) {
        if (unit == entry.unit) {
            return entry.factor;
        }
    }
    notes.push_back(formatMessage("The unit \"%s\" of the column \"%s\" is not one Quarvel "
                                  "converts; its values were taken as they stand.",
                                  {column.unit, column.name}));
    return 1;
}

double depthFactor(const TableColumn& column, std::vector<std::string>& notes) {
    if (trimmed(column.unit).empty()) {
        notes.push_back(
            formatMessage("The depth column \"%s\" gives no unit; its values were taken as metres.",
                          {column.name}));
        return 1;
    }
    return unitFactor(column,
                      {{"M", 1},
                       {"METRE", 1},
                       {"METRES", 1},
                       {"METER", 1},
                       {"METERS", 1},
                       {"CM", 0.01},
                       {"MM", 0.001},
                       {"FT", 0.3048},
                       {"F", 0.3048}},
                      notes);
}

double velocityFactor(const TableColumn& column, std::vector<std::string>& notes) {
    if (trimmed(column.unit).empty()) {
        return 1;
    }
    return unitFactor(column,
                      {{"M/S", 1},
                       {"M/SEC", 1},
                       {"MS-1", 1},
                       {"KM/S", 1000},
                       {"KM/SEC", 1000},
                       {"FT/S", 0.3048},
                       {"F/S", 0.3048}},
                      notes);
}

double densityFactor(const TableColumn& column, std::vector<std::string>& notes) {
    if (trimmed(column.unit).empty()) {
        return 1;
    }
    return unitFactor(column,
                      {{"G/CC", 1},
                       {"GM/CC", 1},
                       {"G/CM3", 1},
                       {"G/C3", 1},
                       {"GR/CC", 1},
                       {"KG/M3", 0.001},
                       {"K/M3", 0.001}},
                      notes);
}

// A value beyond the range of doubles after conversion counts as missing.
double scaled(double value, double factor) {
    const double result = value * factor;
    return std::isfinite(result) ? result : MissingValue;
}

bool columnIn(const ColumnTable& table, int column) {
    return column >= 0 && static_cast<std::size_t>(column) < table.columns.size();
}

} // namespace

LogFileKind logFileKind(std::string_view text) {
    if (looksLikeLas(text)) {
        return LogFileKind::Las;
    }
    return looksLikeMscl(text) ? LogFileKind::Mscl : LogFileKind::Plain;
}

SurveyLog readSurveyLog(LogFileKind kind, std::string_view text, const std::string& fileName) {
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

std::optional<int> findColumn(const ColumnTable& table, std::string_view name) {
    const std::string wanted = upperCase(trimmed(name));
    for (std::size_t c = 0; c < table.columns.size(); ++c) {
        if (upperCase(trimmed(table.columns[c].name)) == wanted) {
            return static_cast<int>(c);
        }
    }
    return std::nullopt;
}

ColumnChoice chooseColumns(const ColumnTable& table, const ColumnNames& names) {
    ColumnChoice choice = proposeColumns(table);
    const auto pick = [&table](const std::string& name, int& column, bool optional) {
        if (name.empty()) {
            return;
        }
        if (optional && upperCase(name) == "NONE") {
            column = NoColumn;
            return;
        }
        const auto found = findColumn(table, name);
        if (!found) {
            std::string known;
            for (const TableColumn& each : table.columns) {
                known += (known.empty() ? "\"" : ", \"") + each.name + "\"";
            }
            throw QuarvelError(
                formatMessage("The log has no column \"%s\"; its columns are %s.", {name, known}));
        }
        column = *found;
    };
    pick(names.depth, choice.depth, false);
    pick(names.velocity, choice.velocity, true);
    pick(names.density, choice.density, true);
    return choice;
}

double largestValue(const ColumnTable& table, int column) {
    double largest = 0;
    if (!columnIn(table, column)) {
        return largest;
    }
    for (const std::vector<double>& row : table.rows) {
        if (!std::isnan(row[column])) {
            largest = std::max(largest, row[column]);
        }
    }
    return largest;
}

CleaningRules defaultCleaningRules(const ColumnTable& table, const ColumnChoice& choice) {
    CleaningRules rules{std::nullopt, DefaultMinVelocity, DefaultMaxVelocity};
    if (columnIn(table, choice.amplitude)) {
        rules.minAmplitude = largestValue(table, choice.amplitude) * DefaultAmplitudePercent / 100;
    }
    return rules;
}

ColumnChoice proposeColumns(const ColumnTable& table) {
    ColumnChoice choice;
    // Sub-bottom depth, not the depth within a core section.
    choice.depth = firstNamed(table, {"DEPT", "DEPTH", "SB DEPTH", "CORE DEPTH", "MSCL DEPTH"})
                       .value_or(firstContaining(table, "DEPTH", "SECT")
                                     .value_or(firstContaining(table, "DEPTH").value_or(0)));
    choice.velocity = firstNamed(table, {"VP", "PWVEL", "PVEL", "VELP"})
                          .value_or(firstContaining(table, "VEL").value_or(NoColumn));
    choice.density = firstNamed(table, {"RHOB", "DEN", "DEN1", "DENS", "DENSITY"})
                         .value_or(firstContaining(table, "DEN").value_or(NoColumn));
    choice.amplitude = firstNamed(table, {"PWAMP", "AMP"})
                           .value_or(firstContaining(table, "AMP").value_or(NoColumn));
    return choice;
}

ConvertedLog convertLog(const ColumnTable& table, const ColumnChoice& choice,
                        const CleaningRules& rules) {
    if (!columnIn(table, choice.depth)) {
        throw QuarvelError("No depth column was chosen.");
    }
    ConvertedLog log;
    const double depthScale = depthFactor(table.columns[choice.depth], log.notes);
    const bool hasVelocity = columnIn(table, choice.velocity);
    const bool hasDensity = columnIn(table, choice.density);
    const bool hasAmplitude = columnIn(table, choice.amplitude) && rules.minAmplitude;
    const double velocityScale =
        hasVelocity ? velocityFactor(table.columns[choice.velocity], log.notes) : 1;
    const double densityScale =
        hasDensity ? densityFactor(table.columns[choice.density], log.notes) : 1;
    TextBuilder text;
    for (const std::vector<double>& row : table.rows) {
        const double depth = row[choice.depth];
        if (std::isnan(depth)) {
            ++log.rowsWithoutDepth;
            continue;
        }
        double velocity = 0;
        if (hasVelocity) {
            velocity = scaled(row[choice.velocity], velocityScale);
            const double amplitude = hasAmplitude ? row[choice.amplitude] : MissingValue;
            if (std::isnan(velocity)) {
                velocity = 0;
                ++log.missingValues;
            } else if ((!std::isnan(amplitude) && amplitude < *rules.minAmplitude) ||
                       (rules.minVelocity && velocity < *rules.minVelocity) ||
                       (rules.maxVelocity && velocity > *rules.maxVelocity)) {
                velocity = 0;
                ++log.cleanedVelocities;
            }
        }
        double density = 0;
        if (hasDensity) {
            density = scaled(row[choice.density], densityScale);
            if (std::isnan(density)) {
                density = 0;
                ++log.missingValues;
            }
        }
        text.line(numbers::formatF6(depth * depthScale) + " " + numbers::formatF6(velocity) + " " +
                  numbers::formatF6(density));
        ++log.records;
    }
    log.text = text.text();
    return log;
}

std::string importSummary(const ConvertedLog& log, const std::vector<std::string>& readerNotes,
                          const std::string& fileName) {
    std::string summary;
    const auto add = [&summary](const std::string& sentence) {
        summary += summary.empty() ? sentence : " " + sentence;
    };
    if (log.missingValues > 0 || log.cleanedVelocities > 0) {
        add(formatMessage("%s missing values and %s velocities failing the cleaning rules were "
                          "set to 0 (missing); Interpolate Series fills runs of them.",
                          {count(log.missingValues), count(log.cleanedVelocities)}));
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
