#pragma once

#include "survey/log_import_questions.h"

#include <optional>
#include <string>
#include <vector>

namespace quarvel::testing {

// Answers an import's questions with every proposal, as pressing OK
// throughout the data editor's dialogs does; a unit without a proposal is
// `unproposedUnit`. Records the units it was offered.
class ProposedAnswers : public LogImportQuestions {
public:
    std::optional<int> column(LogRole, const ColumnTable&, int proposed) override {
        return proposed;
    }
    std::optional<LogUnit> unit(LogRole, const TableColumn&,
                                const std::optional<LogUnit>& proposed) override {
        offered.push_back(proposed ? proposed->name : "?");
        return proposed ? *proposed : unproposedUnit;
    }
    std::optional<CleaningRules> cleaning(const CleaningQuestion& question) override {
        return question.proposed;
    }

    LogUnit unproposedUnit;
    std::vector<std::string> offered;
};

} // namespace quarvel::testing
