// Sessions opened by the program itself, as a user starts it: the files are
// found beside the session wherever it was moved, a missing one is named and
// the rest loads, and a file that is no session is refused.
#include "app/application.h"
#include "app/demo.h"
#include "app/session_menu.h"
#include "document/session_document.h"
#include "document/workspace.h"
#include "editor/segy_trace_form.h"
#include "editor/tables_form.h"
#include "main_window/main_form.h"
#include "session/session.h"
#include "support/recording_error_reporter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_work_dir.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QKeySequence>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QProcessEnvironment>
#include <QPushButton>
#include <QStandardPaths>
#include <QToolButton>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace quarvel::testing {
namespace {

namespace fs = std::filesystem;

QString text(const fs::path& path) {
    return QString::fromStdString(path.string());
}

// The demo's final plot, its five tie points marked, drawn in this process.
QImage demoPlot() {
    TempWorkDir workDir;
    RecordingErrorReporter errors;
    DemoDialogs dialogs(nullptr);
    const QString plotPath = text(workDir.file("plot.bmp"));
    {
        AppWindows windows(dialogs, errors, workDir.workDir());
        windows.showMainWindow();
        loadDemo(windows, dialogs, QUARVEL_TEST_DEMO_DIR);
        saveFinalPlot(windows, dialogs, plotPath);
    }
    EXPECT_EQ(dialogs.unansweredQuestions(), 0);
    return QImage(plotPath);
}

TEST(SessionOpenTest, TheProgramOpensASessionWhereverItsFolderLies) {
    const QImage expected = demoPlot();
    ASSERT_FALSE(expected.isNull());
    const struct {
        const char* name;
        const char* removed; // a file of the moved folder taken away, or nothing
        QByteArray session;  // replaces demo.qvs when not empty
        bool positional;     // FILE.qvs instead of --session FILE
        int exitCode;
        QString message;
    } cases[] = {
        {"whole", nullptr, {}, false, 0, {}},
        {"without option", nullptr, {}, true, 0, {}},
        {"log moved away",
         "demo_core_log.txt",
         {},
         false,
         1,
         "The log \"%1/demo_core_log.txt\" is missing."},
        {"not a session", nullptr, "photograph=demo_core.bmp\n", false, 1,
         "\"%1/demo.qvs\" is not a Quarvel session"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir folder;
        TempWorkDir workDir;
        for (const auto& entry : fs::directory_iterator(QUARVEL_TEST_DEMO_DIR)) {
            fs::copy_file(entry.path(), folder.file(entry.path().filename().string()));
        }
        if (c.removed != nullptr) {
            fs::remove(folder.file(c.removed));
        }
        if (!c.session.isEmpty()) {
            folder.write("demo.qvs", c.session.toStdString());
        }
        const QString sessionPath = text(folder.file("demo.qvs"));
        const QString plotPath = text(workDir.file("plot.bmp"));
        // A session refused touches no working file.
        workDir.write("trace.txt", "0 1\r\n");
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QUARVEL_WORKDIR", text(workDir.path()));
        environment.remove("QUARVEL_DEMO_DIR");
        program.setProcessEnvironment(environment);
        // A fresh working folder of its own: nothing is found by accident.
        program.setWorkingDirectory(text(workDir.path()));
        QStringList arguments = {"--final-plot", plotPath};
        arguments +=
            c.positional ? QStringList{sessionPath} : QStringList{"--session", sessionPath};
        program.start(QUARVEL_TEST_PROGRAM, arguments);
        ASSERT_TRUE(program.waitForFinished(120000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        const QString errors = QString::fromLocal8Bit(program.readAllStandardError());
        if (c.message.isEmpty()) {
            EXPECT_FALSE(errors.contains("quarvel:")) << errors.toStdString();
            EXPECT_EQ(QImage(plotPath), expected);
        } else {
            EXPECT_TRUE(errors.contains(c.message.arg(text(folder.path()))))
                << errors.toStdString();
        }
        if (c.exitCode != 0 && c.removed == nullptr) {
            EXPECT_EQ(workDir.read("trace.txt"), "0 1\r\n");
        }
    }
}

// The whole road on the demo, saved as a session, then opened by a fresh
// program in a fresh working folder: the same final plot, pixel for pixel.
TEST(SessionOpenTest, ASavedSessionGivesTheSameFinalPlotInAFreshProgram) {
    const QImage expected = demoPlot();
    ASSERT_FALSE(expected.isNull());
    TempWorkDir first;
    TempWorkDir folder;
    const QString sessionPath = text(folder.file("tie.qvs"));
    {
        RecordingErrorReporter errors;
        DemoDialogs answers(nullptr);
        AppWindows windows(answers, errors, first.workDir());
        windows.showMainWindow();
        loadDemo(windows, answers, QUARVEL_TEST_DEMO_DIR);
        const Session saved = snapshotSession(windows.workspace());
        writeSessionFile(saved, sessionPath);
    }
    TempWorkDir fresh;
    const QString plotPath = text(fresh.file("plot.bmp"));
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QUARVEL_WORKDIR", text(fresh.path()));
    program.setProcessEnvironment(environment);
    program.setWorkingDirectory(text(fresh.path()));
    program.start(QUARVEL_TEST_PROGRAM, {"--session", sessionPath, "--final-plot", plotPath});
    ASSERT_TRUE(program.waitForFinished(120000));
    EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(QImage(plotPath), expected);
}

// The SEG-Y trace window's choice, as it stood when Load was pressed, is
// what the session keeps.
TEST(SessionOpenTest, TheSessionKeepsTheSegyChoiceOfTheLastLoad) {
    TempWorkDir workDir;
    RecordingErrorReporter errors;
    DemoDialogs answers(nullptr);
    AppWindows windows(answers, errors, workDir.workDir());
    TTables_Form* tables = windows.forms().Tables_Form;
    tables->showPage(TTables_Form::TracePage);
    answers.answerNextOpen(text(fs::path(QUARVEL_TEST_DEMO_DIR) / "../examples/demo_line.sgy"));
    tables->loadButton()->click();
    SegyTraceForm* segy = tables->segyForm();
    ASSERT_TRUE(segy->isVisible());
    segy->findChild<QLineEdit*>("NumberEdit")->setText("3");
    EXPECT_FALSE(snapshotSession(windows.workspace()).segy) << "nothing kept before Load";
    segy->findChild<QPushButton*>("LoadTraceButton")->click();
    EXPECT_FALSE(segy->isVisible());
    EXPECT_EQ(snapshotSession(windows.workspace()).segy->number, "3");
    EXPECT_FALSE(workDir.read("trace.txt").empty());
}

// "Save Session As…" writes the session, which then heads "Recent
// Sessions"; "Save Session" writes to the same file again.
TEST(SessionOpenTest, TheFileMenuSavesTheSessionAndRemembersIt) {
    // Settings go to a test folder, not the user's own.
    QStandardPaths::setTestModeEnabled(true);
    TempWorkDir workDir;
    TempWorkDir folder;
    const QString path = text(folder.file("tie.qvs"));
    RecordingErrorReporter errors;
    DemoDialogs answers(nullptr);
    AppWindows windows(answers, errors, workDir.workDir());
    SessionMenu menu(windows, answers);
    windows.showMainWindow();
    loadDemo(windows, answers, QUARVEL_TEST_DEMO_DIR);
    const QWidget* main = windows.forms().MainForm;
    answers.answerNextSave(text(folder.file("tie")));
    main->findChild<QAction*>("SaveSessionAs1")->trigger();
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(readSessionFile(path), snapshotSession(windows.workspace()));
    const QMenu* recent = main->findChild<QMenu*>("RecentSessions1");
    ASSERT_FALSE(recent->actions().isEmpty());
    EXPECT_EQ(recent->actions().constFirst()->text(), "&1 " + QDir::toNativeSeparators(path));
    ASSERT_TRUE(QFile::remove(path));
    main->findChild<QAction*>("SaveSession1")->trigger();
    EXPECT_TRUE(QFile::exists(path));

    // A refused session is neither the current one nor a recent one.
    const QString refused = text(folder.file("notes.qvs"));
    folder.write("notes.qvs", "my notes");
    errors.expectError("\"" + refused +
                       "\" is not a Quarvel session: illegal value at character 1.");
    menu.open(refused);
    errors.expectAllReported();
    main->findChild<QAction*>("SaveSession1")->trigger();
    EXPECT_EQ(folder.read("notes.qvs"), "my notes");
    EXPECT_EQ(recent->actions().constFirst()->text(), "&1 " + QDir::toNativeSeparators(path));
    EXPECT_EQ(answers.unansweredQuestions(), 0);
}

TEST(SessionOpenTest, ASessionFileOrTheOptionAsksForASession) {
    const struct {
        std::vector<const char*> arguments;
        bool session;
    } cases[] = {{{"quarvel"}, false},
                 {{"quarvel", "--session", "tie"}, true},
                 {{"quarvel", "--session=tie.qvs"}, true},
                 {{"quarvel", "cores/tie.qvs"}, true},
                 {{"quarvel", "--final-plot", "tie.bmp"}, false},
                 {{"quarvel", "--screenshot=tie.qvs"}, false},
                 {{"quarvel", "--sessions"}, false}};
    for (const auto& c : cases) {
        std::vector<char*> argv;
        for (const char* argument : c.arguments) {
            argv.push_back(const_cast<char*>(argument));
        }
        EXPECT_EQ(wantsSession(static_cast<int>(argv.size()), argv.data()), c.session)
            << argv.back();
    }
}

// Every menu of every window, and every item in it, the recent sessions
// included, can be reached from the keyboard by a letter of its own.
TEST(SessionOpenTest, EveryMenuAndItemHasALetterOfItsOwn) {
    QStandardPaths::setTestModeEnabled(true);
    TempWorkDir workDir;
    TempWorkDir folder;
    RecordingErrorReporter errors;
    DemoDialogs answers(nullptr);
    AppWindows windows(answers, errors, workDir.workDir());
    SessionMenu menu(windows, answers);
    answers.answerNextSave(text(folder.file("a&b.qvs")));
    windows.forms().MainForm->findChild<QAction*>("SaveSessionAs1")->trigger();
    const auto checkLetters = [](const QString& where, const QList<QAction*>& actions) {
        QList<QKeySequence> letters;
        for (const QAction* action : actions) {
            if (action->isSeparator())
                continue;
            const QKeySequence letter = QKeySequence::mnemonic(action->text());
            EXPECT_FALSE(letter.isEmpty())
                << where.toStdString() << ": " << action->text().toStdString();
            EXPECT_FALSE(letters.contains(letter))
                << where.toStdString() << ": " << action->text().toStdString();
            letters.append(letter);
        }
    };
    int menus = 0;
    for (QWidget* window : windows.creationOrder()) {
        const auto* main = qobject_cast<QMainWindow*>(window);
        const auto* bar = main ? qobject_cast<QMenuBar*>(main->menuWidget()) : nullptr;
        if (bar == nullptr)
            continue;
        checkLetters(window->objectName(), bar->actions());
        for (const QMenu* item : window->findChildren<QMenu*>()) {
            checkLetters(window->objectName() + " " + item->title(), item->actions());
            ++menus;
        }
    }
    EXPECT_EQ(menus, 9) << "File, Open, Set, Recent Sessions and the companions' five";
    const QMenu* recent = windows.forms().MainForm->findChild<QMenu*>("RecentSessions1");
    ASSERT_FALSE(recent->actions().isEmpty());
    EXPECT_TRUE(recent->actions().constFirst()->text().endsWith("a&&b.qvs"))
        << "an \"&\" in a name is shown as it is";
}

// What the commands tell while a session reopens waits until it has opened,
// and comes with what could not load, as one warning.
TEST(SessionOpenTest, NoticesWaitUntilTheSessionHasOpened) {
    TempWorkDir workDir;
    TempWorkDir folder;
    QImage photo(120, 80, QImage::Format_RGB32);
    photo.fill(Qt::gray);
    ASSERT_TRUE(photo.save(text(folder.file("core.bmp")), "BMP"));
    folder.write("core.BND", "0\r\n1000\r\n0\r\n50\r\n0\r\n100\r\n0\r\nx\r\n");
    folder.write("tie.qvs", R"({"format": "quarvel-session", "photograph": {"file": "core.bmp"},
                                "log": {"file": "missing.txt"}})");
    const QString sessionPath = text(folder.file("tie.qvs"));
    ScriptedDialogs user;
    user.expectWarning(
        "The session \"" + sessionPath + "\" opened without some of its parts:\nThe log \"" +
        text(folder.file("missing.txt")) + "\" is missing.\n\nThe boundary file \"" +
        text(folder.file("core.BND")) +
        "\" holds values that cannot be used; the fields keep them until they are corrected:\n"
        "\"Y max (pixels)\" holds 'x': it needs a whole number of pixels.");
    RecordingErrorReporter errors;
    DemoDialogs answers(&user);
    AppWindows windows(answers, errors, workDir.workDir());
    windows.showMainWindow();
    openSession(windows, answers, sessionPath);
    user.expectAllAnswered();
    // Afterwards they are told as they come again.
    user.expectWarning("warned");
    answers.showWarning("warned");
}

// With nobody to ask, an import's warning about a log that loaded (velocities
// below sea water's: uncalibrated?) is printed, and the run still succeeds;
// only a part that did not load fails it.
TEST(SessionOpenTest, WithNobodyToAskOnlyAPartNotLoadedFailsTheRun) {
    TempWorkDir workDir;
    TempWorkDir folder;
    fs::copy_file(fs::path(QUARVEL_TEST_DEMO_DIR) / "../examples/piston_core_mscl.csv",
                  folder.file("core.csv"));
    const struct {
        const char* trace;
        int failures;
    } cases[] = {{"", 0}, {"missing.txt", 1}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.trace);
        folder.write("core.qvs", std::string(R"({"format": "quarvel-session", "log": {
            "file": "core.csv", "import": {
            "columns": {"depth": "SB_DEPTH_cm", "velocity": "PWVel_m/s", "density": "Den_gm/cc"},
            "units": {"depth": "cm", "velocity": "m/s", "density": "g/cm3"},
            "cleaning": {"minAmplitude": 8.5, "minVelocity": 1050, "maxVelocity": 1130}}},
            "trace": {"file": ")") + c.trace +
                                     R"("}})");
        RecordingErrorReporter errors;
        DemoDialogs nobody(nullptr);
        AppWindows windows(nobody, errors, workDir.workDir());
        openSession(windows, nobody, text(folder.file("core.qvs")));
        EXPECT_EQ(nobody.unansweredQuestions(), c.failures);
    }
}

// The title names the session and marks changes not saved; closing with
// such changes asks: Cancel keeps the window, Save saves first.
TEST(SessionOpenTest, TheTitleMarksUnsavedChangesAndClosingAsks) {
    QStandardPaths::setTestModeEnabled(true);
    TempWorkDir workDir;
    TempWorkDir folder;
    ScriptedDialogs user;
    RecordingErrorReporter errors;
    DemoDialogs answers(&user);
    AppWindows windows(answers, errors, workDir.workDir());
    SessionMenu menu(windows, answers);
    windows.showMainWindow();
    TMainForm* main = windows.forms().MainForm;
    EXPECT_EQ(main->windowTitle(), "Quarvel v1.0 - Untitled session[*]");
    EXPECT_FALSE(main->isWindowModified());
    main->findChild<QCheckBox*>("correlator")->click();
    EXPECT_TRUE(main->isWindowModified());

    const QString question =
        "The document has changes that are not saved in the session.\nSave them first?";
    user.expectSaveChanges(question, std::nullopt);
    EXPECT_FALSE(main->close());
    EXPECT_TRUE(main->isVisible());
    const QString path = text(folder.file("tie.qvs"));
    user.expectSaveChanges(question, Dialogs::Unsaved::Save);
    user.expectSaveFile(path);
    EXPECT_TRUE(main->close());
    user.expectAllAnswered();
    EXPECT_TRUE(readSessionFile(path).panels.correlator);
    EXPECT_EQ(main->windowTitle(), "Quarvel v1.0 - tie.qvs[*]");
    const auto font = [&] {
        QFont font = windows.workspace().plotSettings().font();
        font.setPixelSize(20);
        windows.workspace().plotSettings().setFont(font);
    };
    const auto accept = [&] { windows.workspace().tie().acceptTie({0.5, 1.0e-3}); };
    for (const auto& [kept, change] :
         {std::pair<const char*, std::function<void()>>{"the annotation font", font},
          {"the accepted tie points", accept}}) {
        EXPECT_FALSE(main->isWindowModified());
        change();
        EXPECT_TRUE(main->isWindowModified()) << "the session keeps " << kept;
        EXPECT_TRUE(menu.save());
    }
}

} // namespace
} // namespace quarvel::testing
