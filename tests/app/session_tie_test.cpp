// What a session keeps of the tie: the tie points (marked again in the order
// made), the time-zero choice, and the answers a table log's import was
// given, so that reopening needs nobody to answer them.
#include "app/application.h"
#include "app/demo.h"
#include "app/session_capture.h"
#include "app/session_replay.h"
#include "editor/log_import.h"
#include "formats/text_file.h"
#include "main_window/main_form.h"
#include "session/session.h"
#include "support/main_widgets.h"
#include "support/proposed_answers.h"
#include "support/recording_error_reporter.h"
#include "support/temp_work_dir.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QToolButton>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarvel::testing {
namespace {

namespace fs = std::filesystem;

QString text(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// Messages are read; a question is a fault, as nobody would be there to
// answer it.
class NoQuestions : public Dialogs {
public:
    std::optional<QString> openFile(const FileDialogRequest&) override { return asked(); }
    std::optional<QString> saveFile(const FileDialogRequest&) override { return asked(); }
    std::optional<QFont> chooseFont(const QFont&) override {
        asked();
        return std::nullopt;
    }
    std::optional<int> chooseItem(const QString& title, const QString&, const QStringList&,
                                  int) override {
        ADD_FAILURE() << "asked: " << title.toStdString();
        return std::nullopt;
    }
    void showMessage(const QString&) override {}
    void showWarning(const QString&) override {}
    void showError(const QString&) override {}
    bool askYesNo(const QString&) override {
        asked();
        return false;
    }

private:
    std::optional<QString> asked() {
        ADD_FAILURE() << "a question was asked";
        return std::nullopt;
    }
};

TEST(SessionTieTest, TiePointsAndTimeZeroComeBackWithTheSameFinalPlot) {
    TempWorkDir first;
    TempWorkDir folder;
    const QString sessionPath = text(folder.file("tie.qvs"));
    const QString firstPlot = text(folder.file("first.bmp"));
    std::vector<tie::TiePoint> made;
    {
        RecordingErrorReporter errors;
        DemoDialogs answers(nullptr);
        RecordingDialogs dialogs(answers);
        AppWindows windows(dialogs, errors, first.workDir());
        SessionTracker tracker(windows, dialogs);
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
        made = windows.workspace().tiePoints();
        ASSERT_EQ(made.size(), 3u);
        EXPECT_TRUE(made[0].traceTwt && !made[1].traceTwt && made[2].traceTwt);
        const Session saved = tracker.session();
        EXPECT_TRUE(saved.seaFloorTimeZero);
        EXPECT_TRUE(saved.antiAliased);
        EXPECT_FALSE(saved.fitCore);
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
    EXPECT_EQ(windows.workspace().timeZero(), MathFun::TimeZero::SeaFloor);
    EXPECT_TRUE(MainWidgets(*windows.forms().MainForm).AntiAliased1->isChecked());
    EXPECT_FALSE(windows.forms().MainForm->fitCoreItem()->isChecked());
    EXPECT_EQ(windows.workspace().tiePoints(), made);
    EXPECT_EQ(readTextFile(fresh.file("ampl.dat")), readTextFile(first.file("ampl.dat")))
        << "the synthetic starts at the sea floor again";
    saveFinalPlot(windows, answers, secondPlot);
    EXPECT_EQ(answers.unansweredQuestions(), 0);
    const QImage expected(firstPlot);
    ASSERT_FALSE(expected.isNull());
    EXPECT_EQ(QImage(secondPlot), expected);
}

// A table log imported with choices other than the proposals (depth in mm,
// a velocity range) is imported the same way when the session reopens.
TEST(SessionTieTest, TheLogsImportChoicesAnswerItsImportAgain) {
    const fs::path file = fs::path(QUARVEL_SOURCE_DIR) / "data/examples/piston_core_mscl.csv";
    // The columns and units as proposed, then the depth read as mm and a
    // velocity range of the user's own.
    ProposedAnswers proposals;
    RecordedLogQuestions proposed(proposals);
    ASSERT_TRUE(importLogFile(file, proposed).has_value());
    Session session;
    session.log = text(file);
    session.logImport = proposed.choices();
    session.logImport.units[LogRole::Depth] = "mm";
    session.logImport.cleaning = CleaningRules{std::nullopt, 1085.0, 1095.0};

    TempWorkDir workDir;
    RecordingErrorReporter errors;
    NoQuestions nobody;
    DemoDialogs answers(&nobody);
    RecordingDialogs dialogs(answers);
    AppWindows windows(dialogs, errors, workDir.workDir());
    SessionTracker tracker(windows, dialogs);
    windows.showMainWindow();
    EXPECT_TRUE(replaySession(windows, answers, session).isEmpty());

    struct Unasked : LogImportQuestions {
        std::optional<int> column(LogRole, const ColumnTable&, int) override { return {}; }
        std::optional<LogUnit> unit(LogRole, const TableColumn&,
                                    const std::optional<LogUnit>&) override {
            return {};
        }
        std::optional<CleaningRules> cleaning(const CleaningQuestion&) override { return {}; }
    } unasked;
    RecordedLogQuestions recorded(unasked, session.logImport);
    const std::optional<ImportedLog> expected = importLogFile(file, recorded);
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(workDir.read("log.dat"), expected->logDat);
    EXPECT_EQ(tracker.session().logImport, session.logImport) << "kept for the next save";
}

} // namespace
} // namespace quarvel::testing
