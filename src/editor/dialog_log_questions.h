#pragma once

#include "survey/log_import_questions.h"

#include <optional>
#include <string>

namespace quarvel {

class Dialogs;

// The data editor's answers to a LAS or MSCL import: a dialog for each
// column, its unit and each cleaning rule, the proposal chosen, with what
// each rule would remove.
class DialogLogQuestions : public LogImportQuestions {
public:
    explicit DialogLogQuestions(Dialogs& dialogs) : dialogs_(dialogs) {}
    std::optional<int> column(LogRole role, const ColumnTable& table, int proposed) override;
    std::optional<LogUnit> unit(LogRole role, const TableColumn& column,
                                const std::optional<LogUnit>& proposed) override;
    std::optional<CleaningRules> cleaning(const CleaningQuestion& question) override;

private:
    Dialogs& dialogs_;
};

} // namespace quarvel
