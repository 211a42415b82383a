// Import choices recorded and answered again: each question answered from
// the recorded choice where it fits the file, asked otherwise, and a file
// imported again from its recorded choices gives the same log.
#include "editor/log_import.h"
#include "support/proposed_answers.h"
#include "survey/log_import_choices.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>

namespace quarvel::testing {
namespace {

// Answers with fixed choices and counts the questions; nothing set cancels.
class FixedAnswers : public LogImportQuestions {
public:
    std::optional<int> column(LogRole, const ColumnTable&, int) override {
        ++asked;
        return columnAnswer;
    }
    std::optional<LogUnit> unit(LogRole, const TableColumn&,
                                const std::optional<LogUnit>&) override {
        ++asked;
        return unitAnswer;
    }
    std::optional<CleaningRules> cleaning(const CleaningQuestion&) override {
        ++asked;
        return cleaningAnswer;
    }
    void askingAgain(const std::string& why) override { reason = why; }
    std::optional<int> columnAnswer;
    std::optional<LogUnit> unitAnswer;
    std::optional<CleaningRules> cleaningAnswer;
    int asked = 0;
    std::string reason; // why the last question was asked again
};

TEST(LogImportChoices, RecordedAnswersAreGivenWhereTheyFitTheFile) {
    ColumnTable table;
    table.columns = {{"DEPT", "M"}, {"VP", "KM/S"}, {"RHOB", "G/CC"}};
    struct Case {
        const char* name;
        std::optional<std::string> recorded; // the depth column's recorded name
        std::optional<int> asked;            // the asker's answer
        std::optional<int> answer;
        std::optional<std::string> kept; // what is recorded anew
        int questions;
        std::string reason = {};
    };
    const Case cases[] = {
        {"nothing recorded: asked", std::nullopt, 1, 1, "VP", 1},
        {"a column of that name", "RHOB", 0, 2, "RHOB", 0},
        {"none recorded", "", 0, NoColumn, "", 0},
        {"no column of that name: asked, saying why", "DEPTH", 0, 0, "DEPT", 1,
         "The session chose the column \"DEPTH\" for the depth; this file has no column of "
         "that name."},
        {"asked and cancelled", std::nullopt, std::nullopt, std::nullopt, std::nullopt, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixedAnswers asker;
        asker.columnAnswer = c.asked;
        LogImportChoices recorded;
        if (c.recorded) {
            recorded.columns[LogRole::Depth] = *c.recorded;
        }
        RecordedLogQuestions questions(asker, recorded);
        EXPECT_EQ(questions.column(LogRole::Depth, table, 0), c.answer);
        EXPECT_EQ(asker.asked, c.questions);
        EXPECT_EQ(asker.reason, c.reason);
        const auto& kept = questions.choices().columns;
        EXPECT_EQ(kept.contains(LogRole::Depth) ? std::optional(kept.at(LogRole::Depth))
                                                : std::nullopt,
                  c.kept);
    }
}

TEST(LogImportChoices, UnitsAndCleaningAnsweredFromTheRecordOrAsked) {
    const struct {
        const char* recorded; // nullptr: none
        const char* answer;   // the unit's name given
        int questions;
        const char* reason;
    } units[] = {{"cm", "cm", 0, ""},
                 {"", "", 0, ""},
                 {"furlong", "mm", 1,
                  "The session chose the unit \"furlong\" for the depth, which is not one "
                  "Quarvel converts."},
                 {nullptr, "mm", 1, ""}};
    for (const auto& u : units) {
        SCOPED_TRACE(u.recorded == nullptr ? "none" : u.recorded);
        FixedAnswers asker;
        asker.unitAnswer = LogUnit{"mm", 0.001, false};
        LogImportChoices recorded;
        if (u.recorded != nullptr) {
            recorded.units[LogRole::Depth] = u.recorded;
        }
        RecordedLogQuestions questions(asker, recorded);
        const std::optional<LogUnit> unit =
            questions.unit(LogRole::Depth, TableColumn{"DEPTH", ""}, std::nullopt);
        ASSERT_TRUE(unit.has_value());
        EXPECT_EQ(unit->name, u.answer);
        EXPECT_EQ(asker.asked, u.questions);
        EXPECT_EQ(asker.reason, u.reason);
        EXPECT_EQ(questions.choices().units.at(LogRole::Depth), u.answer);
    }
    VelocityReadings readings;
    const CleaningQuestion question{readings, CleaningRules{}, ""};
    FixedAnswers asker;
    LogImportChoices recorded;
    recorded.cleaning = CleaningRules{std::nullopt, 1000.0, 1300.0};
    RecordedLogQuestions questions(asker, recorded);
    EXPECT_EQ(questions.cleaning(question), recorded.cleaning);
    EXPECT_EQ(asker.asked, 0);
    EXPECT_EQ(questions.choices(), recorded);
}

// Choices other than the proposals (depth read as mm, a velocity range),
// recorded once, import the file the same way with nobody asked.
TEST(LogImportChoices, AFileImportedFromItsRecordedChoicesComesOutTheSame) {
    const std::filesystem::path file =
        std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/examples/piston_core_mscl.csv";
    ProposedAnswers proposals;
    proposals.unproposedUnit = LogUnit{};
    class Overruled : public LogImportQuestions {
    public:
        explicit Overruled(LogImportQuestions& proposals) : proposals_(proposals) {}
        std::optional<int> column(LogRole role, const ColumnTable& table, int proposed) override {
            return proposals_.column(role, table, proposed);
        }
        std::optional<LogUnit> unit(LogRole role, const TableColumn& column,
                                    const std::optional<LogUnit>& proposed) override {
            if (role == LogRole::Depth) {
                return LogUnit{"mm", 0.001, false};
            }
            return proposals_.unit(role, column, proposed);
        }
        std::optional<CleaningRules> cleaning(const CleaningQuestion&) override {
            return CleaningRules{std::nullopt, 1085.0, 1095.0};
        }

    private:
        LogImportQuestions& proposals_;
    } overruled(proposals);
    RecordedLogQuestions first(overruled);
    const ImportedLog once = importLogFile(file, first).value();

    FixedAnswers nobody; // cancels whatever it is asked
    RecordedLogQuestions again(nobody, first.choices());
    const std::optional<ImportedLog> twice = importLogFile(file, again);
    ASSERT_TRUE(twice.has_value());
    EXPECT_EQ(nobody.asked, 0);
    EXPECT_EQ(twice->logDat, once.logDat);
    EXPECT_EQ(again.choices(), first.choices());
    EXPECT_EQ(first.choices().units.at(LogRole::Depth), "mm");
}

} // namespace
} // namespace quarvel::testing
