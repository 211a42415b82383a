// The import's questions name the file, and one asked again says why first.
#include "editor/dialog_log_questions.h"
#include "support/scripted_dialogs.h"

#include <gtest/gtest.h>

namespace quarvel::testing {
namespace {

TEST(DialogLogQuestions, NameTheFileAndSayOnceWhyAQuestionIsAskedAgain) {
    ColumnTable table;
    table.columns = {{"DEPT", "M"}, {"VP", "M/S"}};
    ScriptedDialogs dialogs;
    DialogLogQuestions questions(dialogs, "core 7.las");
    const std::string why = "The session chose the column \"DEPTH\" for the depth; this file "
                            "has no column of that name.";
    questions.askingAgain(why);
    dialogs.expectItem(0);
    EXPECT_EQ(questions.column(LogRole::Depth, table, 0), 0);
    dialogs.expectItem(1);
    EXPECT_EQ(questions.column(LogRole::Velocity, table, 1), 1);
    const std::vector<QString> expected = {
        "Depth column of core 7.las: " + QString::fromStdString(why) +
            "\n\nWhich column holds the depth?",
        "Velocity column of core 7.las: Which column holds the velocity? (A sonic transit time, "
        "DT, becomes a velocity.)"};
    EXPECT_EQ(dialogs.messages(), expected);
}

} // namespace
} // namespace quarvel::testing
