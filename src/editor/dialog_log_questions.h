#pragma once

#include "survey/log_import_questions.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quarvel {

class Dialogs;

// The data editor's answers to a LAS or MSCL import: one window, named after
// the file, asks every choice at once with a preview of what they make (see
// LogImportForm); the questions that follow are answered from it. Why a
// reopened session asks again is said first.
class DialogLogQuestions : public LogImportQuestions {
public:
    DialogLogQuestions(Dialogs& dialogs, std::string fileName)
        : dialogs_(dialogs), fileName_(std::move(fileName)) {}
    bool overview(const ColumnTable& table, ImportStart& start) override;
    std::optional<int> column(LogRole role, const ColumnTable& table, int proposed) override;
    std::optional<LogUnit> unit(LogRole role, const TableColumn& column,
                                const std::optional<LogUnit>& proposed) override;
    std::optional<CleaningRules> cleaning(const CleaningQuestion& question) override;
    void askingAgain(const std::string& reason) override { reasons_.push_back(reason); }

private:
    Dialogs& dialogs_;
    std::string fileName_;
    std::vector<std::string> reasons_;
    ColumnChoice chosen_;
    CleaningRules rules_;
};

} // namespace quarvel
