#include "survey/log_units.h"

#include <cmath>

namespace quarvel {
namespace {

struct Spelling {
    std::string_view text;
    std::size_t unit; // index into the role's known units
};

const std::vector<Spelling>& spellings(LogRole role) {
    static const std::vector<Spelling> depth{
        {"M", 0},    {"METER", 0}, {"METERS", 0}, {"METRE", 0}, {"METRES", 0},
        {"MBSF", 0}, {"CM", 1},    {"CMBSF", 1},  {"MM", 2},    {"F", 3},
        {"FT", 3},   {"FEET", 3},  {"FOOT", 3}};
    static const std::vector<Spelling> velocity{
        {"M/S", 0},     {"M/SEC", 0},  {"MS-1", 0},         {"M.S-1", 0},      {"MPS", 0},
        {"KM/S", 1},    {"KM/SEC", 1}, {"FT/S", 2},         {"F/S", 2},        {"FT/SEC", 2},
        {"US/M", 3},    {"USEC/M", 3}, {"\xC2\xB5S/M", 3},  {"US/F", 4},       {"US/FT", 4},
        {"USEC/FT", 4}, {"USEC/F", 4}, {"\xC2\xB5S/FT", 4}, {"\xC2\xB5S/F", 4}};
    static const std::vector<Spelling> density{
        {"G/CC", 0}, {"GM/CC", 0},  {"G/CM3", 0}, {"G/C3", 0}, {"GR/CC", 0},
        {"GCC", 0},  {"G/CM^3", 0}, {"KG/M3", 1}, {"K/M3", 1}, {"KG/M^3", 1}};
    return byRole(role, depth, velocity, density);
}

// The candidates a column name holds for its unit: a bracketed last part,
// then what follows its last underscore or blank.
std::vector<std::string_view> unitsInName(std::string_view name) {
    std::vector<std::string_view> found;
    name = trimmed(name);
    if (!name.empty() && (name.back() == ')' || name.back() == ']')) {
        const char open = name.back() == ')' ? '(' : '[';
        const std::size_t start = name.rfind(open);
        if (start != std::string_view::npos) {
            found.push_back(trimmed(name.substr(start + 1, name.size() - start - 2)));
        }
    }
    const std::size_t split = name.find_last_of("_ ");
    if (split != std::string_view::npos) {
        found.push_back(name.substr(split + 1));
    }
    return found;
}

// The name up to `end`, without the blanks, brackets or underscore that
// opened the unit.
std::string_view stemBefore(std::string_view name, std::size_t end) {
    std::string_view stem = name.substr(0, end);
    while (!stem.empty() && (static_cast<unsigned char>(stem.back()) <= ' ' || stem.back() == '(' ||
                             stem.back() == '[' || stem.back() == '_')) {
        stem.remove_suffix(1);
    }
    return stem;
}

} // namespace

const std::vector<LogUnit>& knownUnits(LogRole role) {
    static const std::vector<LogUnit> depth{
        {"m", 1, false}, {"cm", 0.01, false}, {"mm", 0.001, false}, {"ft", 0.3048, false}};
    static const std::vector<LogUnit> velocity{{"m/s", 1, false},
                                               {"km/s", 1000, false},
                                               {"ft/s", 0.3048, false},
                                               {"us/m", 1e6, true},
                                               {"us/ft", 304800, true}};
    static const std::vector<LogUnit> density{{"g/cm3", 1, false}, {"kg/m3", 0.001, false}};
    return byRole(role, depth, velocity, density);
}

std::optional<LogUnit> recogniseUnit(LogRole role, std::string_view text) {
    const std::string wanted = upperCase(trimmed(text));
    for (const Spelling& spelling : spellings(role)) {
        if (wanted == spelling.text) {
            return knownUnits(role)[spelling.unit];
        }
    }
    return std::nullopt;
}

std::optional<LogUnit> unitInName(LogRole role, std::string_view name) {
    for (const std::string_view candidate : unitsInName(name)) {
        if (const auto unit = recogniseUnit(role, candidate)) {
            return unit;
        }
    }
    return std::nullopt;
}

std::optional<UnitConflict> unitConflict(LogRole role, const TableColumn& column) {
    const auto inField = recogniseUnit(role, column.unit);
    const auto inName = unitInName(role, column.name);
    if (inField && inName && inField->name != inName->name) {
        return UnitConflict{*inName, *inField};
    }
    return std::nullopt;
}

std::optional<LogUnit> statedUnit(LogRole role, const TableColumn& column) {
    if (unitConflict(role, column)) {
        return std::nullopt;
    }
    if (const auto unit = recogniseUnit(role, column.unit)) {
        return unit;
    }
    return unitInName(role, column.name);
}

std::string_view columnStem(std::string_view name) {
    name = trimmed(name);
    for (const std::string_view candidate : unitsInName(name)) {
        for (const LogRole role : {LogRole::Depth, LogRole::Velocity, LogRole::Density}) {
            if (recogniseUnit(role, candidate)) {
                // The unit is a view into the name; the stem is what precedes it.
                const auto end = static_cast<std::size_t>(candidate.data() - name.data());
                const std::string_view stem = stemBefore(name, end);
                return stem.empty() ? name : stem;
            }
        }
    }
    return name;
}

bool namesSonic(std::string_view name) {
    const std::string upper = upperCase(trimmed(name));
    return upper.starts_with("DT") || upper == "AC" || upper == "SONIC" ||
           upper.find("SLOWNESS") != std::string::npos;
}

std::optional<double> toLogUnit(double value, const LogUnit& unit) {
    if (std::isnan(value)) {
        return std::nullopt;
    }
    if (unit.slowness) {
        if (value <= 0) {
            return std::nullopt;
        }
        const double velocity = unit.factor / value;
        return std::isfinite(velocity) ? std::optional(velocity) : std::nullopt;
    }
    const double scaled = value * unit.factor;
    return std::isfinite(scaled) ? std::optional(scaled) : std::nullopt;
}

} // namespace quarvel
