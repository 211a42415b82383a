// Import choices recorded and answered again: the whole import answered from
// the recorded choices where they fit the file, asked otherwise, and a file
// imported again from its recorded choices gives the same log.
#include "editor/log_import.h"
#include "support/proposed_answers.h"
#include "survey/log_import_choices.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::testing {
namespace {

// Answers with fixed choices and counts the questions; nothing set cancels.
class FixedAnswers : public LogImportQuestions {
public:
    bool overview(const ColumnTable&, ImportStart& given) override {
        start = given.columns;
        ++asked;
        return true;
    }
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
    void askingAgain(const std::string& why) override { reasons.push_back(why); }
    std::optional<int> columnAnswer;
    std::optional<LogUnit> unitAnswer;
    std::optional<CleaningRules> cleaningAnswer;
    int asked = 0;
    ColumnChoice start;               // what the overview started from
    std::vector<std::string> reasons; // why the questions are asked again
};

// The record answers the whole import when every answer fits the file;
// otherwise every question is asked, from the answers that fit, saying why.
TEST(LogImportChoices, RecordedAnswersAnswerTheWholeImportOrItIsAskedFromThem) {
    ColumnTable table;
    table.columns = {{"DEPT", "M"}, {"VP", "KM/S"}, {"RHOB", "G/CC"}};
    struct Case {
        const char* name;
        std::string depthColumn;
        std::string depthUnit;
        bool cleaning;    // recorded
        int asked;        // overview and questions
        int depth;        // the column the questions start from
        std::string unit; // the depth unit they start from
        std::vector<std::string> reasons = {};
    };
    const Case cases[] = {
        {"all fit: nobody asked", "RHOB", "cm", true, 0, 2, "cm"},
        {"no cleaning recorded: asked", "RHOB", "cm", false, 7, 2, "cm"},
        {"no column of that name: asked, saying why",
         "DEPTH",
         "cm",
         true,
         7,
         0,
         "cm",
         {"The session chose the column \"DEPTH\" for the depth; this file has no column of "
          "that name."}},
        {"a unit not converted: asked, saying why",
         "DEPT",
         "furlong",
         true,
         7,
         0,
         "m",
         {"The session chose the unit \"furlong\" for the depth, which is not one Quarvel "
          "converts."}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FixedAnswers asker;
        asker.columnAnswer = 1;
        asker.unitAnswer = LogUnit{"km/s", 1000, false};
        asker.cleaningAnswer = CleaningRules{};
        LogImportChoices recorded;
        recorded.columns = {
            {LogRole::Depth, c.depthColumn}, {LogRole::Velocity, "VP"}, {LogRole::Density, ""}};
        recorded.units = {{LogRole::Depth, c.depthUnit}, {LogRole::Velocity, "km/s"}};
        if (c.cleaning) {
            recorded.cleaning = CleaningRules{std::nullopt, 1000.0, 1300.0};
        }
        RecordedLogQuestions questions(asker, recorded);
        ImportStart start{proposeColumns(table), std::nullopt};
        ASSERT_TRUE(questions.overview(table, start));
        EXPECT_EQ(start.columns.depth, c.depth);
        EXPECT_EQ(start.columns.depthUnit.name, c.unit);
        EXPECT_EQ(start.columns.density, NoColumn);
        EXPECT_EQ(start.cleaning.has_value(), c.cleaning);
        const VelocityReadings readings;
        for (const LogRole role : {LogRole::Depth, LogRole::Velocity}) {
            EXPECT_TRUE(questions.column(role, table, 0));
            EXPECT_TRUE(questions.unit(role, table.columns[0], std::nullopt));
        }
        EXPECT_TRUE(questions.column(LogRole::Density, table, 0));
        EXPECT_TRUE(questions.cleaning({readings, {}, ""}));
        EXPECT_EQ(asker.asked, c.asked);
        EXPECT_EQ(asker.reasons, c.reasons);
        EXPECT_EQ(questions.choices() == recorded, c.asked == 0);
    }
    FixedAnswers cancels;
    RecordedLogQuestions nothingRecorded(cancels);
    EXPECT_FALSE(nothingRecorded.column(LogRole::Depth, table, 0));
    EXPECT_TRUE(nothingRecorded.choices().empty());
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
