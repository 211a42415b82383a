#pragma once

#include "survey/log_import_questions.h"

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

// The answers one LAS or MSCL import was given, kept so that importing the
// same file again (a session reopened) needs no one to answer: the column
// of each role by its name (empty for none), the unit of each role by its
// name (empty: as written), and the cleaning rules. A role or the cleaning
// that was not asked is absent.
struct LogImportChoices {
    std::map<LogRole, std::string> columns;
    std::map<LogRole, std::string> units;
    std::optional<CleaningRules> cleaning;

    bool empty() const { return columns.empty() && units.empty() && !cleaning; }
    bool operator==(const LogImportChoices&) const = default;
};

// The choices in words, one line each ("depth column SB_DEPTH_cm, in cm",
// "velocities from 1050 to 1130 m/s kept"), for a report.
std::vector<std::string> describeChoices(const LogImportChoices& choices);

// Answers an import's questions from choices given earlier when they fit
// the file (a column of each name, a unit of each name); otherwise asks
// `asker` every question, starting from those that fit and saying first why
// it asks again. Every answer given, either way, is recorded.
class RecordedLogQuestions : public LogImportQuestions {
public:
    explicit RecordedLogQuestions(LogImportQuestions& asker, LogImportChoices answers = {})
        : asker_(asker), answers_(std::move(answers)) {}

    const LogImportChoices& choices() const { return choices_; }

    bool overview(const ColumnTable& table, ImportStart& start) override;
    std::optional<int> column(LogRole role, const ColumnTable& table, int proposed) override;
    std::optional<LogUnit> unit(LogRole role, const TableColumn& column,
                                const std::optional<LogUnit>& proposed) override;
    std::optional<CleaningRules> cleaning(const CleaningQuestion& question) override;

private:
    // The recorded answer when it fits the file.
    std::optional<int> recordedColumn(LogRole role, const ColumnTable& table) const;
    std::optional<LogUnit> recordedUnit(LogRole role) const;

    LogImportQuestions& asker_;
    LogImportChoices answers_;
    LogImportChoices choices_;
    bool fromRecord_ = false;
};

// The role's name in a session file: "depth", "velocity", "density".
const char* roleKey(LogRole role);

} // namespace quarvel
