#pragma once

#include "survey/column_table.h"
#include "survey/log_cleaning.h"
#include "survey/log_units.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

enum class LogFileKind { Plain, Las, Mscl };

// What a log file is, by its content: LAS, a table with a row of column
// names (a Geotek MSCL export or any other), or the plain three numbers a
// line that the grid reads directly.
LogFileKind logFileKind(std::string_view text);

// A LAS or MSCL file's table and what its reader left out, as sentences.
struct SurveyLog {
    ColumnTable table;
    std::vector<std::string> notes;
};
SurveyLog readSurveyLog(LogFileKind kind, std::string_view text, const std::string& fileName);

inline constexpr int NoColumn = -1;

// The columns that become depth, velocity and density with their units, and
// the P-wave amplitude column the cleaning rule looks at (NoColumn for none).
struct ColumnChoice {
    int depth = NoColumn;
    int velocity = NoColumn;
    int density = NoColumn;
    int amplitude = NoColumn;
    LogUnit depthUnit = knownUnits(LogRole::Depth).front();
    LogUnit velocityUnit = knownUnits(LogRole::Velocity).front();
    LogUnit densityUnit = knownUnits(LogRole::Density).front();

    // The column and the unit chosen for depth, velocity or density.
    int& column(LogRole role) {
        return role == LogRole::Depth ? depth : role == LogRole::Velocity ? velocity : density;
    }
    LogUnit& unit(LogRole role) {
        return role == LogRole::Depth      ? depthUnit
               : role == LogRole::Velocity ? velocityUnit
                                           : densityUnit;
    }
};

// The usual mnemonics: DEPT/DEPTH/SB DEPTH, VP/PWVEL (else a sonic DT),
// RHOB/DEN/Den1, PWAmp. Depth falls back to the first column; the others to
// none. The units are those of proposeUnit.
ColumnChoice proposeColumns(const ColumnTable& table);

// The unit the column states; else metres for depth, m/s for a velocity that
// is not a sonic log, g/cm3 for density. Nothing when the column states a
// unit the import does not know, or is a sonic log without a unit.
std::optional<LogUnit> proposeUnit(LogRole role, const TableColumn& column);

// The names of the table's columns for a message: quoted, the first dozen of
// a wide table and how many there are in all.
std::string columnNameList(const ColumnTable& table);

// Finds a column by its name, without regard to letter case.
std::optional<int> findColumn(const ColumnTable& table, std::string_view name);

// The chosen velocity column's readings in m/s, with their amplitudes.
VelocityReadings velocityReadings(const ColumnTable& table, const ColumnChoice& choice);

// The log in the grid's units and in the plain form the grid loads.
struct ConvertedLog {
    // One line "depth velocity density" per record (F6, CR LF).
    std::string text;
    int records = 0;
    // Missing values (NULL, empty cells) before filling.
    int missingValues = 0;
    // Velocities that failed a cleaning rule.
    RuleCounts cleaned;
    // Missing values filled at the ends of the log and in single gaps.
    FilledValues filled;
    // Values still missing, written as 0 for Interpolate Series.
    int stillMissing = 0;
    // Velocities below that of sea water, kept.
    int belowSeaWater = 0;
    // Rows without a depth, left out.
    int rowsWithoutDepth = 0;
    std::vector<std::string> notes;
};

// The log's columns in the grid's units, one value of each per record
// (missing values NaN), as the conversion leaves them before they are written.
struct ConvertedSeries {
    std::vector<double> depths;
    std::vector<double> velocities;
    std::vector<double> densities;
};

// Converts each chosen column to the grid's unit, applies the cleaning rules
// and fills what Interpolate Series cannot reach (the ends) and the single
// gaps; `log` receives the counts and notes, not the text.
ConvertedSeries convertSeries(const ColumnTable& table, const ColumnChoice& choice,
                              const CleaningRules& rules, ConvertedLog& log);

// The same, written as the grid's text with the rest of the missing values
// as 0.
ConvertedLog convertLog(const ColumnTable& table, const ColumnChoice& choice,
                        const CleaningRules& rules);

// Who fills the runs of missing values the import leaves: the user, with
// Interpolate Series, or the caller right after the import (quarvel-synth).
enum class RunsOfMissing { ForInterpolateSeries, FilledNext };

// What the user should hear about an import; empty when all went plainly.
std::string importSummary(const ConvertedLog& log, const std::vector<std::string>& readerNotes,
                          const std::string& fileName,
                          RunsOfMissing runs = RunsOfMissing::ForInterpolateSeries);

} // namespace quarvel
