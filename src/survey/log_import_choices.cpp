#include "survey/log_import_choices.h"

#include "formats/numbers.h"

#include <array>

namespace quarvel {

std::vector<std::string> describeChoices(const LogImportChoices& choices) {
    const auto roleName = [](LogRole role) {
        return std::string(byRole<std::string_view>(role, "depth", "velocity", "density"));
    };
    std::vector<std::string> lines;
    for (const auto& [role, column] : choices.columns) {
        std::string line = roleName(role) + " column " + (column.empty() ? "none" : column);
        if (const auto unit = choices.units.find(role);
            unit != choices.units.end() && !unit->second.empty()) {
            line += ", in " + unit->second;
        }
        lines.push_back(line);
    }
    if (choices.cleaning) {
        const CleaningRules& rules = *choices.cleaning;
        if (rules.minAmplitude) {
            lines.push_back("velocities with a P-wave amplitude below " +
                            numbers::formatSignificant(*rules.minAmplitude, 6) + " left out");
        }
        if (rules.minVelocity || rules.maxVelocity) {
            lines.push_back("velocities kept from " +
                            (rules.minVelocity ? numbers::formatSignificant(*rules.minVelocity, 6)
                                               : std::string("any")) +
                            " to " +
                            (rules.maxVelocity ? numbers::formatSignificant(*rules.maxVelocity, 6)
                                               : std::string("any")) +
                            " m/s");
        }
    }
    return lines;
}

namespace {} // namespace

std::optional<int> RecordedLogQuestions::recordedColumn(LogRole role,
                                                        const ColumnTable& table) const {
    const auto given = answers_.columns.find(role);
    if (given == answers_.columns.end()) {
        return std::nullopt;
    }
    if (given->second.empty()) {
        return NoColumn;
    }
    for (std::size_t i = 0; i < table.columns.size(); ++i) {
        if (table.columns[i].name == given->second) {
            return static_cast<int>(i);
        }
    }
    return std::nullopt;
}

std::optional<LogUnit> RecordedLogQuestions::recordedUnit(LogRole role) const {
    if (const auto given = answers_.units.find(role); given != answers_.units.end()) {
        for (const LogUnit& unit : unitChoices(role)) {
            if (unit.name == given->second) {
                return unit;
            }
        }
    }
    return std::nullopt;
}

// The record answers the whole import or nothing of it: where one answer does
// not fit the file, or one is missing, every question is asked, starting from
// the recorded answers that fit.
bool RecordedLogQuestions::overview(const ColumnTable& table, ImportStart& start) {
    bool whole = !answers_.empty();
    for (const LogRole role : {LogRole::Depth, LogRole::Velocity, LogRole::Density}) {
        const auto column = recordedColumn(role, table);
        if (column) {
            start.columns.column(role) = *column;
        } else if (const auto given = answers_.columns.find(role);
                   given != answers_.columns.end()) {
            asker_.askingAgain("The session chose the column \"" + given->second + "\" for the " +
                               roleKey(role) + "; this file has no column of that name.");
        }
        whole = whole && column;
        const auto unit = recordedUnit(role);
        if (unit) {
            start.columns.unit(role) = *unit;
        } else if (const auto given = answers_.units.find(role); given != answers_.units.end()) {
            asker_.askingAgain("The session chose the unit \"" + given->second + "\" for the " +
                               roleKey(role) + ", which is not one Quarvel converts.");
        }
        whole = whole && (unit || (column && *column == NoColumn));
    }
    if (answers_.cleaning) {
        start.cleaning = answers_.cleaning;
    }
    fromRecord_ = whole && (answers_.cleaning || start.columns.velocity == NoColumn);
    return fromRecord_ || asker_.overview(table, start);
}

std::optional<int> RecordedLogQuestions::column(LogRole role, const ColumnTable& table,
                                                int proposed) {
    std::optional<int> answer = fromRecord_ ? recordedColumn(role, table) : std::nullopt;
    if (!answer) {
        answer = asker_.column(role, table, proposed);
    }
    if (answer) {
        const bool named = *answer >= 0 && static_cast<std::size_t>(*answer) < table.columns.size();
        choices_.columns[role] = named ? table.columns[static_cast<std::size_t>(*answer)].name : "";
    }
    return answer;
}

std::optional<LogUnit> RecordedLogQuestions::unit(LogRole role, const TableColumn& column,
                                                  const std::optional<LogUnit>& proposed) {
    std::optional<LogUnit> answer = fromRecord_ ? recordedUnit(role) : std::nullopt;
    if (!answer) {
        answer = asker_.unit(role, column, proposed);
    }
    if (answer) {
        choices_.units[role] = answer->name;
    }
    return answer;
}

std::optional<CleaningRules> RecordedLogQuestions::cleaning(const CleaningQuestion& question) {
    std::optional<CleaningRules> answer = fromRecord_ ? answers_.cleaning : std::nullopt;
    if (!answer) {
        answer = asker_.cleaning(question);
    }
    if (answer) {
        choices_.cleaning = answer;
    }
    return answer;
}

const char* roleKey(LogRole role) {
    static constexpr std::array<const char*, 3> Keys{"depth", "velocity", "density"};
    return Keys[static_cast<std::size_t>(role)];
}

} // namespace quarvel
