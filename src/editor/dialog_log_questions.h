#pragma once

#include "survey/log_import_questions.h"

#include <QStringList>
#include <optional>
#include <string>
#include <utility>

namespace quarvel {

class Dialogs;

// The data editor's answers to a LAS or MSCL import: a dialog for each
// column, its unit and each cleaning rule, the proposal chosen, with what
// each rule would remove. Each names the file, and one asked again says why.
class DialogLogQuestions : public LogImportQuestions {
public:
    DialogLogQuestions(Dialogs& dialogs, std::string fileName)
        : dialogs_(dialogs), fileName_(std::move(fileName)) {}
    std::optional<int> column(LogRole role, const ColumnTable& table, int proposed) override;
    std::optional<LogUnit> unit(LogRole role, const TableColumn& column,
                                const std::optional<LogUnit>& proposed) override;
    std::optional<CleaningRules> cleaning(const CleaningQuestion& question) override;
    void askingAgain(const std::string& reason) override { again_ = reason; }

    // One question, its title naming the file and its label saying first,
    // once, why it is asked again.
    std::optional<int> choose(const QString& what, const QString& label, const QStringList& items,
                              int current);

private:
    Dialogs& dialogs_;
    std::string fileName_;
    std::string again_;
};

} // namespace quarvel
