#pragma once

#include "survey/column_table.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

// What a chosen column becomes in the log: depth in metres, P-wave velocity in
// m/s, density in g/cm3.
enum class LogRole { Depth, Velocity, Density };

// The one of three values that belongs to the role: the depth's, the
// velocity's or the density's.
template <typename T>
const T& byRole(LogRole role, const T& depth, const T& velocity, const T& density) {
    switch (role) {
    case LogRole::Depth:
        return depth;
    case LogRole::Velocity:
        return velocity;
    case LogRole::Density:
        break;
    }
    return density;
}

// A unit a column can be written in, and how its values become the log's.
// A slowness (a sonic log's DT) becomes a velocity as factor / value.
struct LogUnit {
    std::string name; // as the program shows it: "cm", "m/s", "us/ft", ...
    double factor = 1;
    bool slowness = false;
};

// The units the import converts for a role, the log's own unit first.
const std::vector<LogUnit>& knownUnits(LogRole role);

// The unit a text names (any of the spellings logging software writes,
// without regard to letter case), or nothing when it names none of the
// role's units.
std::optional<LogUnit> recogniseUnit(LogRole role, std::string_view text);

// The two units of a column whose name and unit field name different units
// of the role ("SB_DEPTH_cm" with the field "ft"): either may be the wrong
// one, so neither is taken without asking.
struct UnitConflict {
    LogUnit inName;
    LogUnit inField;
};
std::optional<UnitConflict> unitConflict(LogRole role, const TableColumn& column);

// The unit a column states: its own unit field when that is one the role
// knows, else one written into its name ("SB_DEPTH_cm", "Depth (cm)",
// "Den [g/cc]", "Vp km/s"). Nothing when the two disagree (unitConflict).
std::optional<LogUnit> statedUnit(LogRole role, const TableColumn& column);

// The role's unit written into a column's name, if any.
std::optional<LogUnit> unitInName(LogRole role, std::string_view name);

// The column's name without a unit written into it: "Vp (km/s)" is "Vp",
// "PWVel_m/s" is "PWVel".
std::string_view columnStem(std::string_view name);

// A column of sonic transit times (DT, DTC, DTCO, AC, ...) by its name.
bool namesSonic(std::string_view name);

// The value in the log's unit; nothing for a value that has none (a slowness
// of 0 or below, a result beyond the range of numbers).
std::optional<double> toLogUnit(double value, const LogUnit& unit);

} // namespace quarvel
