#include "survey/log_import_questions.h"

#include "formats/quarvel_error.h"

namespace quarvel {
namespace {

// The column and unit for a role; false when an answer cancelled.
bool askColumnAndUnit(LogImportQuestions& questions, const ColumnTable& table, LogRole role,
                      int& column, LogUnit& unit) {
    const auto answer = questions.column(role, table, column);
    if (!answer) {
        return false;
    }
    column = *answer;
    if (column < 0 || static_cast<std::size_t>(column) >= table.columns.size()) {
        column = NoColumn;
        return true;
    }
    const TableColumn& chosen = table.columns[static_cast<std::size_t>(column)];
    const auto unitAnswer = questions.unit(role, chosen, proposeUnit(role, chosen));
    if (!unitAnswer) {
        return false;
    }
    unit = *unitAnswer;
    return true;
}

} // namespace

std::vector<LogUnit> unitChoices(LogRole role) {
    std::vector<LogUnit> units = knownUnits(role);
    units.push_back(LogUnit{});
    return units;
}

std::optional<ConvertedLog> importSurveyLog(const SurveyLog& log, LogImportQuestions& questions) {
    const ColumnTable& table = log.table;
    ImportStart start{proposeColumns(table), std::nullopt};
    std::vector<std::string> notes;
    if (start.columns.velocity == NoColumn && start.columns.density == NoColumn) {
        notes.push_back(formatMessage("It has no velocity, sonic or density column that Quarvel "
                                      "recognises; its columns are %s.",
                                      {columnNameList(table)}));
    }
    if (!questions.overview(table, start)) {
        return std::nullopt;
    }
    ColumnChoice choice = start.columns;
    if (!askColumnAndUnit(questions, table, LogRole::Depth, choice.depth, choice.depthUnit) ||
        !askColumnAndUnit(questions, table, LogRole::Velocity, choice.velocity,
                          choice.velocityUnit) ||
        !askColumnAndUnit(questions, table, LogRole::Density, choice.density, choice.densityUnit)) {
        return std::nullopt;
    }
    if (choice.depth == NoColumn) {
        throw QuarvelError("No depth column was chosen.");
    }
    CleaningRules rules;
    if (choice.velocity != NoColumn) {
        const VelocityReadings readings = velocityReadings(table, choice);
        const std::string amplitudeColumn =
            choice.amplitude == NoColumn
                ? std::string()
                : table.columns[static_cast<std::size_t>(choice.amplitude)].name;
        const auto answer = questions.cleaning(CleaningQuestion{
            readings, start.cleaning.value_or(proposeCleaningRules(readings)), amplitudeColumn});
        if (!answer) {
            return std::nullopt;
        }
        rules = *answer;
    }
    ConvertedLog converted = convertLog(table, choice, rules);
    converted.notes.insert(converted.notes.begin(), notes.begin(), notes.end());
    return converted;
}

} // namespace quarvel
