// Start-up: every window created hidden in order, the working directory,
// the About window and the end of the program with its main window.

#include "app/about_form.h"
#include "app/application.h"
#include "calibration/core_photo_form.h"
#include "calibration/profile_form.h"
#include "chirp/chirp_form.h"
#include "editor/dialog_log_questions.h"
#include "editor/tables_form.h"
#include "main_window/main_form.h"
#include "plot/final_table_form.h"
#include "plot/graph_form.h"
#include "plot/scale_forms.h"
#include "quarvel/version.h"
#include "support/app_fixture.h"
#include "tie/tie_form.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <filesystem>

namespace quarvel {
namespace {

using testing::AppFixture;

class ApplicationTest : public AppFixture {};

TEST_F(ApplicationTest, CreatesEveryWindowHiddenInStartUpOrder) {
    const AppForms& f = forms();
    const std::vector<QWidget*> expected = {f.MainForm,         f.Core_Photo_Form, f.VelScaleForm,
                                            f.DensityScaleForm, f.Profile_Form,    f.Tables_Form,
                                            f.Chirp_Form,       f.FinalTableForm,  f.GraphForm,
                                            f.TieForm,          f.AboutForm};
    EXPECT_EQ(windows->creationOrder(), expected);
    for (QWidget* window : expected) {
        ASSERT_NE(window, nullptr);
        EXPECT_FALSE(window->isVisible()) << window->objectName().toStdString();
    }
}

TEST_F(ApplicationTest, ShowsOnlyTheMainWindowActive) {
    showMainWindow();
    EXPECT_EQ(QApplication::activeWindow(), &mainForm());
    for (QWidget* window : windows->creationOrder())
        EXPECT_EQ(window->isVisible(), window == &mainForm()) << window->objectName().toStdString();
}

// A quarvel-synth run rewrote log.dat and klauder.dat behind the windows:
// activating the main window offers the log on show again, and names the
// file the windows do not show in the status bar.
TEST_F(ApplicationTest, WorkingFilesChangedOutsideAreOfferedAgain) {
    workDir.write("core.txt", "0.1 1500 1.6\r\n0.2 1510 1.7\r\n");
    DialogLogQuestions questions(dialogs, "core.txt");
    workspace().log().load(workDir.file("core.txt"), questions);
    CommandWorkDir commands(workDir.workDir());
    offerReloads(*windows, commands);
    workDir.write("log.dat", "0.1 1600 1.6\r\n0.3 1610 1.7\r\n");
    workDir.write("klauder.dat", "0 1\r\n");
    dialogs.expectQuestion("log.dat changed outside Quarvel: Reload?", true);
    showMainWindow();
    EXPECT_EQ(workspace().log().savedText().substr(0, 10), "0.100000 1");
    EXPECT_NE(workspace().log().savedText().find("1610"), std::string::npos);
    EXPECT_TRUE(
        mainForm().statusBar()->currentMessage().startsWith("klauder.dat changed outside Quarvel"));
}

TEST_F(ApplicationTest, ClosingCompanionsOnlyHidesThem) {
    showMainWindow();
    for (QWidget* window : windows->creationOrder()) {
        if (window == &mainForm())
            continue;
        SCOPED_TRACE(window->objectName().toStdString());
        window->show();
        EXPECT_TRUE(window->close());
        EXPECT_FALSE(window->isVisible());
    }
    EXPECT_TRUE(mainForm().isVisible());
    EXPECT_EQ(child<QLineEdit>(forms().Chirp_Form, "stfreqedit")->text(), "2000");
}

TEST_F(ApplicationTest, AboutIsAStayOnTopToolWindowThatDoesNotBlock) {
    showMainWindow();
    TAboutForm* about = forms().AboutForm;
    mainWidgets().About1->trigger();
    ASSERT_TRUE(about->isVisible());
    // The version is the one the build was given, in the caption and the text.
    const QString version = QStringLiteral("Version ") + QString::fromUtf8(Version.data());
    EXPECT_EQ(about->windowTitle(), version);
    EXPECT_TRUE(about->findChild<QLabel*>(QStringLiteral("Panel1"))->text().contains(version));
    EXPECT_TRUE(about->windowFlags().testFlag(Qt::WindowStaysOnTopHint));
    EXPECT_EQ(about->windowType(), Qt::Tool);
    EXPECT_FALSE(about->isModal());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(mainForm().isEnabled());

    bool hasPicture = false;
    for (const QLabel* label : about->findChildren<QLabel*>())
        hasPicture = hasPicture || !label->pixmap().isNull();
    EXPECT_TRUE(hasPicture);

    QPushButton* accept = nullptr;
    for (QPushButton* button : about->findChildren<QPushButton*>())
        if (button->text() == "accept")
            accept = button;
    ASSERT_NE(accept, nullptr);
    QTest::mouseClick(accept, Qt::LeftButton);
    EXPECT_FALSE(about->isVisible());
}

// Closing the main window, by its frame or by "Exit", ends the event loop
// even while companions are open.
TEST_F(ApplicationTest, ClosingTheMainWindowEndsTheProgram) {
    for (const bool byMenu : {false, true}) {
        SCOPED_TRACE(byMenu ? "Exit" : "close");
        showMainWindow();
        bool stuck = false;
        QTimer::singleShot(0, &mainForm(), [&] {
            forms().Chirp_Form->show();
            forms().AboutForm->show();
            if (byMenu)
                mainWidgets().Exit1->trigger();
            else
                mainForm().close();
        });
        // Only a safety net so a fault cannot hang the suite.
        QTimer safety;
        safety.setSingleShot(true);
        QObject::connect(&safety, &QTimer::timeout, [&] {
            stuck = true;
            QApplication::exit(1);
        });
        safety.start(60000);
        EXPECT_EQ(QApplication::exec(), 0);
        EXPECT_FALSE(stuck);
        EXPECT_FALSE(mainForm().isVisible());
        forms().Chirp_Form->hide();
        forms().AboutForm->hide();
    }
}

TEST(WorkDirAtStartUp, IsCreatedWhenMissing) {
    testing::TempWorkDir temp;
    const std::filesystem::path folder = temp.path() / "nested" / "Quarvel";
    testing::ScriptedDialogs dialogs;
    EXPECT_TRUE(prepareWorkDir(WorkDir(folder), dialogs));
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    // Already there: nothing to say.
    EXPECT_TRUE(prepareWorkDir(WorkDir(folder), dialogs));
}

TEST(WorkDirAtStartUp, FailureIsToldAndStopsTheStart) {
    testing::TempWorkDir temp;
    temp.write("blocker", "a file where the folder should go");
    const WorkDir impossible(temp.path() / "blocker" / "Quarvel");
    std::string reason;
    try {
        impossible.ensureExists();
    } catch (const QuarvelError& e) {
        reason = e.what();
    }
    ASSERT_FALSE(reason.empty());
    testing::ScriptedDialogs dialogs;
    dialogs.expectError(QString::fromStdString(reason));
    EXPECT_FALSE(prepareWorkDir(impossible, dialogs));
    dialogs.expectAllAnswered();
}

} // namespace
} // namespace quarvel
