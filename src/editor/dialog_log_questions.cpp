#include "editor/dialog_log_questions.h"

#include "editor/log_import_form.h"
#include "platform/dialogs.h"

namespace quarvel {

bool DialogLogQuestions::overview(const ColumnTable& table, ImportStart& start) {
    LogImportForm form(fileName_, table, start, reasons_);
    reasons_.clear();
    if (!dialogs_.runDialog(form)) {
        return false;
    }
    chosen_ = form.columns();
    rules_ = form.rules();
    start = {chosen_, rules_};
    return true;
}

// The questions after the overview are those it answered.
std::optional<int> DialogLogQuestions::column(LogRole role, const ColumnTable& /*table*/,
                                              int /*proposed*/) {
    return byRole(role, chosen_.depth, chosen_.velocity, chosen_.density);
}

std::optional<LogUnit> DialogLogQuestions::unit(LogRole role, const TableColumn& /*column*/,
                                                const std::optional<LogUnit>& /*proposed*/) {
    return byRole(role, chosen_.depthUnit, chosen_.velocityUnit, chosen_.densityUnit);
}

std::optional<CleaningRules> DialogLogQuestions::cleaning(const CleaningQuestion& /*question*/) {
    return rules_;
}

} // namespace quarvel
