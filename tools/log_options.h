#pragma once

// quarvel-synth's --log and the options that answer the import's questions
// (columns, units, cleaning), as the data editor's dialogs answer them.

#include "survey/log_import_questions.h"

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel::synth {

struct LogOptions {
    std::string file;
    std::string depthColumn;
    std::string velocityColumn;
    std::string densityColumn;
    std::string depthUnit;
    std::string velocityUnit;
    std::string densityUnit;
    std::string amplitudeThreshold;
    std::string velocityRange; // "MIN MAX"
    std::string noCleaning;    // not empty when given
};

// One option of the command line: its name with the leading "--", its help
// line, where its value goes and how many values follow it (0 for a flag).
struct LogOption {
    std::string_view name;
    std::string_view help;
    std::string* value;
    int values;
};
std::vector<LogOption> logOptionList(LogOptions& options);

// Answers the import's questions from the options: a named column or unit,
// else the proposed one. A sonic column without a unit needs --velocity-unit.
class OptionLogQuestions : public LogImportQuestions {
public:
    explicit OptionLogQuestions(const LogOptions& options) : options_(options) {}
    std::optional<int> column(LogRole role, const ColumnTable& table, int proposed) override;
    std::optional<LogUnit> unit(LogRole role, const TableColumn& column,
                                const std::optional<LogUnit>& proposed) override;
    std::optional<CleaningRules> cleaning(const CleaningQuestion& question) override;

private:
    const LogOptions& options_;
};

// Imports the log file the way the data editor's Load does, then, as nobody
// is there to edit it, fills runs of missing values as Interpolate Series does
// and leaves out the records still missing one: the text log.dat is to hold.
// What the import did goes to `notices`. Throws when the import fails or
// leaves no complete record.
std::string importLogText(const LogOptions& options, std::ostream& notices);

} // namespace quarvel::synth
