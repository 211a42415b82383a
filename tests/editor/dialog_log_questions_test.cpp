// The import's one window: it names the file, says why a reopened session
// asks again, shows the first rows and a plot that follows the choices, and
// its choices answer the import's questions.
#include "editor/dialog_log_questions.h"
#include "platform/image_panel.h"
#include "support/scripted_dialogs.h"
#include "survey/log_import_choices.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QTableWidget>
#include <QTest>
#include <gtest/gtest.h>

namespace quarvel::testing {
namespace {

TEST(DialogLogQuestions, OneWindowAsksEveryChoiceAndShowsWhatTheyMake) {
    SurveyLog log;
    log.table.columns = {{"DEPTH", "cm"}, {"VP", "m/s"}, {"DEN", "g/cc"}};
    log.table.rows = {{10, 1500, 1.5}, {20, 1510, 1.6}, {30, 1520, 1.7}};
    LogImportChoices recorded;
    recorded.columns = {{LogRole::Depth, "DEPTH"}, {LogRole::Velocity, "VEL"}};
    for (const bool accepted : {false, true}) {
        ScriptedDialogs dialogs;
        DialogLogQuestions asked(dialogs, "core 7.csv");
        RecordedLogQuestions questions(asked, recorded);
        dialogs.expectDialog([accepted](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "Import Log: core 7.csv");
            EXPECT_TRUE(dialog.findChild<QLabel*>("reasonLabel")
                            ->text()
                            .startsWith("The session chose the column \"VEL\" for the velocity; "
                                        "this file has no column of that name."));
            const auto* rows = dialog.findChild<QTableWidget*>("previewTable");
            EXPECT_EQ(rows->rowCount(), 3);
            EXPECT_EQ(rows->item(2, 1)->text(), "1520");
            auto* density = dialog.findChild<ImagePanel*>("densityPlot");
            const QImage drawn = density->picture().image();
            auto* column = dialog.findChild<QComboBox*>("densityColumn");
            QTest::keyClick(column, Qt::Key_End);
            EXPECT_EQ(column->currentText(), "(none)");
            EXPECT_NE(density->picture().image(), drawn);
            EXPECT_EQ(dialog.findChild<QLabel*>("countsLabel")->text(),
                      "The import makes 3 records.");
            return accepted;
        });
        const auto converted = importSurveyLog(log, questions);
        EXPECT_EQ(converted.has_value(), accepted);
        if (accepted) {
            EXPECT_EQ(converted->text, "0.100000 1500.000000 0.000000\r\n"
                                       "0.200000 1510.000000 0.000000\r\n"
                                       "0.300000 1520.000000 0.000000\r\n");
            EXPECT_EQ(questions.choices().columns.at(LogRole::Density), "");
        }
    }
}

} // namespace
} // namespace quarvel::testing
