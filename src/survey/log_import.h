#pragma once

#include "survey/column_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

enum class LogFileKind { Plain, Las, Mscl };

// What a log file is, by its content: LAS, an MSCL table, or the plain three
// numbers a line that the grid reads directly.
LogFileKind logFileKind(std::string_view text);

// A LAS or MSCL file's table and what its reader left out, as sentences.
struct SurveyLog {
    ColumnTable table;
    std::vector<std::string> notes;
};
SurveyLog readSurveyLog(LogFileKind kind, std::string_view text, const std::string& fileName);

inline constexpr int NoColumn = -1;

// The columns that become depth, velocity and density, and the P-wave
// amplitude column the cleaning rule looks at (NoColumn for none).
struct ColumnChoice {
    int depth = NoColumn;
    int velocity = NoColumn;
    int density = NoColumn;
    int amplitude = NoColumn;
};

// The usual mnemonics: DEPT/DEPTH/SB DEPTH, VP/PWVEL, RHOB/DEN/Den1, PWAmp.
// Depth falls back to the first column; the others to none.
ColumnChoice proposeColumns(const ColumnTable& table);

// Finds a column by its name, without regard to letter case.
std::optional<int> findColumn(const ColumnTable& table, std::string_view name);

// Columns named by the user (empty: the proposed one; "none": no column).
// Throws when a name is not one of the table's columns.
struct ColumnNames {
    std::string depth;
    std::string velocity;
    std::string density;
};
ColumnChoice chooseColumns(const ColumnTable& table, const ColumnNames& names);

// The largest value of a column (0 when it holds none above 0).
double largestValue(const ColumnTable& table, int column);

// Measurements a core logger takes badly: a weak P-wave signal, and a
// velocity no sediment has. Each velocity they catch becomes missing (0).
struct CleaningRules {
    std::optional<double> minAmplitude;
    std::optional<double> minVelocity;
    std::optional<double> maxVelocity;
};
inline constexpr double DefaultMinVelocity = 1300;
inline constexpr double DefaultMaxVelocity = 3000;
// A signal weaker than this share of the strongest in the log is too weak,
// whatever scale the logger records amplitudes on.
inline constexpr double DefaultAmplitudePercent = 10;

// Both rules at their defaults (the amplitude rule only with an amplitude
// column).
CleaningRules defaultCleaningRules(const ColumnTable& table, const ColumnChoice& choice);

// The log in the grid's units and in the plain form the grid loads.
struct ConvertedLog {
    // One line "depth velocity density" per record (F6, CR LF).
    std::string text;
    int records = 0;
    // Missing values (NULL, empty cells) written as 0.
    int missingValues = 0;
    // Velocities that failed a cleaning rule, written as 0.
    int cleanedVelocities = 0;
    // Rows without a depth, left out.
    int rowsWithoutDepth = 0;
    std::vector<std::string> notes;
};

// Depth in metres (from m, cm, mm, ft), velocity in m/s (from m/s, km/s,
// ft/s), density in g/cc (from g/cc, g/cm3, kg/m3). A unit it does not know
// leaves the values as they stand and adds a note.
ConvertedLog convertLog(const ColumnTable& table, const ColumnChoice& choice,
                        const CleaningRules& rules);

// What the user should hear about an import; empty when all went plainly.
std::string importSummary(const ConvertedLog& log, const std::vector<std::string>& readerNotes,
                          const std::string& fileName);

} // namespace quarvel
