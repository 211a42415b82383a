// What a session keeps of the tie: the tie points (marked again on the
// panels) and the time-zero choice, with the same final plot.
#include "app/application.h"
#include "app/demo.h"
#include "document/session_document.h"
#include "formats/text_file.h"
#include "main_window/main_form.h"
#include "session/session.h"
#include "support/main_widgets.h"
#include "support/recording_error_reporter.h"
#include "support/temp_work_dir.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>
#include <utility>

namespace quarvel::testing {
namespace {

namespace fs = std::filesystem;

QString text(const fs::path& path) {
    return QString::fromStdString(path.string());
}

TEST(SessionTieTest, TiePointsAndTimeZeroComeBackWithTheSameFinalPlot) {
    TempWorkDir first;
    TempWorkDir folder;
    const QString sessionPath = text(folder.file("tie.qvs"));
    const QString firstPlot = text(folder.file("first.bmp"));
    std::vector<tie::TiePoint> made;
    {
        RecordingErrorReporter errors;
        DemoDialogs answers(nullptr);
        AppWindows windows(answers, errors, first.workDir());
        windows.showMainWindow();
        // The demo without its own tie points: the marks here are the test's,
        // made after "Calc. Synthetic" has redrawn the synthetic panel.
        Session demo = readSessionFile(text(fs::path(QUARVEL_TEST_DEMO_DIR) / "demo.qvs"));
        demo.tiePoints.clear();
        writeSessionFile(demo, text(folder.file("demo.qvs")));
        openSession(windows, answers, text(folder.file("demo.qvs")));
        TMainForm& main = *windows.forms().MainForm;
        const MainWidgets widgets(main);
        widgets.SeaFloorStart1->trigger();
        widgets.AntiAliased1->trigger();
        main.fitCoreItem()->trigger();
        widgets.SpeedButton1->click();
        markRows(windows, {94});
        widgets.Trace->setChecked(false);
        markRows(windows, {300});
        widgets.Trace->setChecked(true);
        markRows(windows, {421});
        made = windows.workspace().tie().tiePoints();
        ASSERT_EQ(made.size(), 3u);
        EXPECT_TRUE(made[0].traceTwt && !made[1].traceTwt && made[2].traceTwt);
        const Session saved = snapshotSession(windows.workspace());
        EXPECT_TRUE(saved.seaFloorTimeZero);
        EXPECT_TRUE(saved.antiAliased);
        EXPECT_FALSE(saved.panels.fitCore);
        EXPECT_EQ(saved.tiePoints.size(), 3);
        writeSessionFile(saved, sessionPath);
        saveFinalPlot(windows, answers, firstPlot);
        EXPECT_EQ(answers.unansweredQuestions(), 0);
    }
    TempWorkDir fresh;
    const QString secondPlot = text(fresh.file("second.bmp"));
    RecordingErrorReporter errors;
    DemoDialogs answers(nullptr);
    AppWindows windows(answers, errors, fresh.workDir());
    windows.showMainWindow();
    openSession(windows, answers, sessionPath);
    EXPECT_TRUE(MainWidgets(*windows.forms().MainForm).SeaFloorStart1->isChecked());
    EXPECT_EQ(windows.workspace().tie().timeZero(), MathFun::TimeZero::SeaFloor);
    EXPECT_TRUE(MainWidgets(*windows.forms().MainForm).AntiAliased1->isChecked());
    EXPECT_FALSE(windows.forms().MainForm->fitCoreItem()->isChecked());
    EXPECT_EQ(windows.workspace().tie().tiePoints(), made);
    EXPECT_EQ(readTextFile(fresh.file("ampl.dat")), readTextFile(first.file("ampl.dat")))
        << "the synthetic starts at the sea floor again";
    saveFinalPlot(windows, answers, secondPlot);
    EXPECT_EQ(answers.unansweredQuestions(), 0);
    const QImage expected(firstPlot);
    ASSERT_FALSE(expected.isNull());
    // Alike but for the plot's first panel row (50): the first run's pointer
    // left its guide line on the photograph's row 0, which the reopened
    // session, marked without a pointer, does not have.
    const QImage second(secondPlot);
    ASSERT_EQ(second.size(), expected.size());
    for (const auto& [top, rows] : {std::pair{0, 50}, std::pair{51, expected.height() - 51}}) {
        EXPECT_EQ(second.copy(0, top, second.width(), rows),
                  expected.copy(0, top, expected.width(), rows));
    }
}

} // namespace
} // namespace quarvel::testing
