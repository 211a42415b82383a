#pragma once

#include "survey/log_import.h"

#include <optional>
#include <string>

namespace quarvel {

// What the cleaning question shows: the readings each rule would act on and
// the rules proposed for them.
struct CleaningQuestion {
    const VelocityReadings& readings;
    CleaningRules proposed;
    std::string amplitudeColumn; // empty without one
};

// The choices an import starts from: those proposed for the file, or a
// session's where they fit it; the cleaning rules, when nothing, are those
// proposed from the velocities chosen.
struct ImportStart {
    ColumnChoice columns;
    std::optional<CleaningRules> cleaning;
};

// The choices a LAS or MSCL import needs. The data editor answers them with
// dialogs, quarvel-synth with its options. Every answer may be nothing, which
// cancels the import.
class LogImportQuestions {
public:
    virtual ~LogImportQuestions() = default;
    // Comes first, with the file's table and the choices to start from. One
    // who shows every choice at once asks them here, keeps the answers for
    // the questions that follow and may change `start` to them; false
    // cancels the import.
    virtual bool overview(const ColumnTable& /*table*/, ImportStart& /*start*/) { return true; }
    // The column that becomes the role's values (NoColumn for none).
    virtual std::optional<int> column(LogRole role, const ColumnTable& table, int proposed) = 0;
    // The unit of the chosen column. `proposed` is proposeUnit's; a unit with
    // an empty name keeps the values as they are written.
    virtual std::optional<LogUnit> unit(LogRole role, const TableColumn& column,
                                        const std::optional<LogUnit>& proposed) = 0;
    virtual std::optional<CleaningRules> cleaning(const CleaningQuestion& question) = 0;
    // Comes before a question that a session had answered, when its answer
    // does not fit this file, with why; those who ask a person tell them.
    virtual void askingAgain(const std::string& /*reason*/) {}
};

// The units a question offers for a role: the known ones, then "as written".
std::vector<LogUnit> unitChoices(LogRole role);

// Asks the questions for a survey log and converts it. Nothing when an answer
// cancelled it; an error raises.
std::optional<ConvertedLog> importSurveyLog(const SurveyLog& log, LogImportQuestions& questions);

} // namespace quarvel
