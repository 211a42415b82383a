#include "app/demo.h"

#include "app/application.h"
#include "app/session_menu.h"
#include "document/session_document.h"
#include "editor/dialog_log_questions.h"
#include "main_window/main_form.h"
#include "platform/error_reporter.h"
#include "platform/guarded_application.h"
#include "platform/image_file.h"
#include "platform/image_panel.h"
#include "plot/final_table_form.h"
#include "session/session.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QSettings>
#include <QTemporaryDir>
#include <QToolButton>
#include <clocale>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string_view>
#include <utility>

namespace quarvel {
namespace fs = std::filesystem;

namespace {

constexpr const char* DemoPhotograph = "demo_core.bmp";
constexpr const char* DemoSession = "demo.qvs";

void printLine(const QString& text) {
    std::fprintf(stderr, "quarvel: %s\n", text.toLocal8Bit().constData());
}

bool holdsDemo(const fs::path& folder) {
    std::error_code ec;
    return fs::is_regular_file(folder / DemoPhotograph, ec);
}

void sendMouse(QWidget* widget, QEvent::Type type, int x, int y, Qt::MouseButton button) {
    const QPointF local(x, y);
    const Qt::MouseButtons held = type == QEvent::MouseButtonPress ? Qt::MouseButtons(button)
                                                                   : Qt::MouseButtons(Qt::NoButton);
    QMouseEvent event(type, local, widget->mapToGlobal(local), button, held, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &event);
}

// True when an argument starts with the prefix ("--final-plot" also finds
// "--final-plot=FILE").
bool hasArgument(int argc, char** argv, std::string_view prefix) {
    for (int i = 1; i < argc; ++i) {
        if (std::string_view(argv[i]).starts_with(prefix)) {
            return true;
        }
    }
    return false;
}

} // namespace

std::optional<QString> DemoDialogs::openFile(const FileDialogRequest& request) {
    if (!openAnswers_.empty()) {
        QString answer = openAnswers_.front();
        openAnswers_.pop_front();
        return answer;
    }
    if (fallback_ != nullptr) {
        return fallback_->openFile(request);
    }
    ++unanswered_;
    return std::nullopt;
}

std::optional<QString> DemoDialogs::saveFile(const FileDialogRequest& request) {
    if (!saveAnswers_.empty()) {
        QString answer = saveAnswers_.front();
        saveAnswers_.pop_front();
        return answer;
    }
    if (fallback_ != nullptr) {
        return fallback_->saveFile(request);
    }
    ++unanswered_;
    return std::nullopt;
}

std::optional<QFont> DemoDialogs::chooseFont(const QFont& current) {
    if (fallback_ != nullptr) {
        return fallback_->chooseFont(current);
    }
    ++unanswered_;
    return std::nullopt;
}

std::optional<int> DemoDialogs::chooseItem(const QString& title, const QString& label,
                                           const QStringList& items, int current) {
    if (fallback_ != nullptr) {
        return fallback_->chooseItem(title, label, items, current);
    }
    ++unanswered_;
    return std::nullopt;
}

DemoDialogs::HeldNotices DemoDialogs::releaseNotices() {
    holding_ = false;
    return std::exchange(held_, {});
}

void DemoDialogs::showMessage(const QString& text) {
    if (holding_) {
        held_.texts.append(text);
        return;
    }
    if (fallback_ != nullptr) {
        fallback_->showMessage(text);
        return;
    }
    // Nobody is there to read it, but a message only informs (an import's
    // summary, a session that opened): the run still went through.
    printLine(text);
}

void DemoDialogs::showWarning(const QString& text) {
    if (holding_) {
        held_.texts.append(text);
        held_.warning = true;
        return;
    }
    if (fallback_ != nullptr) {
        fallback_->showWarning(text);
        return;
    }
    printLine(text);
    ++unanswered_;
}

void DemoDialogs::showWarningOfSuccess(const QString& text) {
    if (fallback_ != nullptr) {
        fallback_->showWarning(text);
        return;
    }
    printLine(text);
}

void DemoDialogs::showError(const QString& text) {
    if (fallback_ != nullptr) {
        fallback_->showError(text);
        return;
    }
    printLine(text);
    ++unanswered_;
}

bool DemoDialogs::askYesNo(const QString& question) {
    if (fallback_ != nullptr) {
        return fallback_->askYesNo(question);
    }
    printLine(question);
    ++unanswered_;
    return false;
}

std::optional<Dialogs::Unsaved> DemoDialogs::askSaveChanges(const QString& question) {
    if (fallback_ != nullptr) {
        return fallback_->askSaveChanges(question);
    }
    printLine(question);
    ++unanswered_;
    return std::nullopt;
}

bool DemoDialogs::runDialog(QDialog& dialog) {
    if (fallback_ != nullptr) {
        return fallback_->runDialog(dialog);
    }
    printLine(dialog.windowTitle());
    ++unanswered_;
    return false;
}

void ConsoleErrorReporter::report(const QString& message) {
    printLine(message);
    ++count_;
}

std::optional<fs::path> findDemoFolder() {
    const QString fromEnvironment = qEnvironmentVariable("QUARVEL_DEMO_DIR");
    if (!fromEnvironment.isEmpty()) {
        const fs::path folder = fromEnvironment.toStdString();
        return holdsDemo(folder) ? std::optional(folder) : std::nullopt;
    }
    const fs::path installed = fs::path(QCoreApplication::applicationDirPath().toStdString()) /
                               ".." / "share" / "quarvel" / "demo";
    if (holdsDemo(installed)) {
        return installed.lexically_normal();
    }
    return std::nullopt;
}

void loadDemo(AppWindows& windows, DemoDialogs& dialogs, const fs::path& demo) {
    openSession(windows, dialogs, QString::fromStdString((demo / DemoSession).string()));
}

bool openSession(AppWindows& windows, DemoDialogs& dialogs, const QString& path) {
    ErrorReporter& errors = windows.services().errors;
    bool opened = false;
    guarded(errors, [&] {
        const Session session = readSessionFile(path);
        opened = true;
        dialogs.holdNotices();
        QStringList problems;
        try {
            // Questions the session holds no answer for are the user's.
            DialogLogQuestions questions(dialogs, QFileInfo(session.log).fileName().toStdString());
            problems = restoreSession(windows.workspace(), session, questions);
        } catch (...) {
            dialogs.releaseNotices();
            throw;
        }
        const DemoDialogs::HeldNotices notices = dialogs.releaseNotices();
        if (problems.isEmpty() && notices.texts.isEmpty()) {
            return;
        }
        const QString message = reopenedMessage(path, problems, notices.texts);
        // Only a part that did not load fails a run with nobody to ask; a
        // warning from a step that went through is told, as in the window.
        if (!problems.isEmpty()) {
            dialogs.showWarning(message);
        } else if (notices.warning) {
            dialogs.showWarningOfSuccess(message);
        } else {
            dialogs.showMessage(message);
        }
    });
    return opened;
}

void markRows(AppWindows& windows, const std::vector<int>& rows) {
    ImagePanel* photo = windows.forms().MainForm->photograph();
    constexpr int column = 50;
    for (const int row : rows) {
        sendMouse(photo, QEvent::MouseMove, column, row, Qt::NoButton);
        sendMouse(photo, QEvent::MouseButtonPress, column, row, Qt::LeftButton);
        sendMouse(photo, QEvent::MouseButtonRelease, column, row, Qt::LeftButton);
    }
    // The pointer leaves over the top edge: the last mark turns from the
    // released (inverted) row to a black line, as every earlier one did.
    sendMouse(photo, QEvent::MouseMove, column, 0, Qt::NoButton);
}

void saveFinalPlot(AppWindows& windows, DemoDialogs& dialogs, const QString& path) {
    const AppForms& forms = windows.forms();
    forms.MainForm->finalPlotButton()->click();
    dialogs.answerNextSave(path);
    forms.FinalTableForm->Save1Click();
}

bool wantsDemo(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--demo") == 0) {
            return true;
        }
    }
    return false;
}

bool wantsSession(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view argument = argv[i];
        if (argument == "--session" || argument.starts_with("--session=") ||
            (!argument.starts_with("-") && argument.ends_with(".qvs"))) {
            return true;
        }
    }
    return false;
}

int runDemo(int argc, char** argv) {
    // A final plot needs no screen: without a display, draw off screen
    // rather than fail to start.
    if (hasArgument(argc, argv, "--final-plot") && qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") &&
        qEnvironmentVariableIsEmpty("DISPLAY") && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // Qt takes "--session" as its own session-management option and drops it
    // with its value, so the session is taken out before Qt sees it.
    QString sessionPath;
    std::vector<char*> arguments(argv, argv + argc);
    for (auto it = arguments.begin() + 1; it != arguments.end(); ++it) {
        const std::string_view argument = *it;
        if (argument.starts_with("--session=")) {
            sessionPath = QString::fromLocal8Bit(argument.substr(std::strlen("--session=")));
            it = arguments.erase(it) - 1;
        } else if (argument == "--session" && it + 1 != arguments.end()) {
            sessionPath = QString::fromLocal8Bit(*(it + 1));
            it = arguments.erase(it, it + 2) - 1;
        }
    }
    int remaining = static_cast<int>(arguments.size());
    arguments.push_back(nullptr);
    GuardedApplication application(remaining, arguments.data());
    // Numbers in files use "." whatever the user's locale.
    std::setlocale(LC_NUMERIC, "C");

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Quarvel on the demo core or a session."));
    parser.addHelpOption();
    const QCommandLineOption demo(QStringLiteral("demo"),
                                  QStringLiteral("Start with the demo core loaded."));
    const QCommandLineOption finalPlot(
        QStringLiteral("final-plot"),
        QStringLiteral("Save the final plot as a bitmap to <file> and exit."),
        QStringLiteral("file"));
    const QCommandLineOption screenshot(
        QStringLiteral("screenshot"),
        QStringLiteral("Save a picture of the main window to <file> (PNG or BMP)."),
        QStringLiteral("file"));
    parser.addOptions({demo, finalPlot, screenshot});
    parser.addPositionalArgument(QStringLiteral("session"),
                                 QStringLiteral("A session file (.qvs)."));
    parser.process(application);

    const bool isDemo = parser.isSet(demo);
    if (sessionPath.isEmpty() && !parser.positionalArguments().isEmpty()) {
        sessionPath = parser.positionalArguments().constFirst();
    }
    std::optional<fs::path> folder;
    if (isDemo) {
        folder = findDemoFolder();
        if (!folder) {
            printLine(QStringLiteral("the demo core was not found (set QUARVEL_DEMO_DIR to its "
                                     "folder, data/demo in the source tree)"));
            return 1;
        }
        sessionPath = QString::fromStdString((*folder / DemoSession).string());
    }

    // Unless told otherwise, the demo works in a folder of its own, so the
    // working files of the user's own cores stay as they are. A session of
    // the user's own rebuilds the user's working files, as its commands would.
    std::unique_ptr<QTemporaryDir> scratch;
    WorkDir workDir = WorkDir::fromEnvironment();
    if (isDemo && qEnvironmentVariableIsEmpty("QUARVEL_WORKDIR")) {
        scratch = std::make_unique<QTemporaryDir>(QDir::tempPath() +
                                                  QStringLiteral("/quarvel-demo-XXXXXX"));
        if (!scratch->isValid()) {
            printLine(QStringLiteral("cannot make a working folder for the demo: %1")
                          .arg(scratch->errorString()));
            return 1;
        }
        workDir = WorkDir(scratch->path().toStdString());
    }

    const bool batch = parser.isSet(finalPlot);
    // The folders last used in the file questions, kept for the next run.
    QSettings settings(QStringLiteral("Quarvel"), QStringLiteral("quarvel"));
    QtDialogs qtDialogs(settings);
    DemoDialogs dialogs(batch ? nullptr : &qtDialogs);
    ConsoleErrorReporter console;
    DialogErrorReporter messageBoxes(dialogs);
    ErrorReporter& reporter = batch ? static_cast<ErrorReporter&>(console) : messageBoxes;
    application.setErrorReporter(&reporter);
    if (!prepareWorkDir(workDir, dialogs)) {
        return 1;
    }

    AppWindows windows(dialogs, reporter, workDir);
    std::unique_ptr<SessionMenu> sessions;
    windows.showMainWindow();
    QCoreApplication::processEvents();
    if (batch) {
        openSession(windows, dialogs, sessionPath);
    } else {
        sessions = std::make_unique<SessionMenu>(windows, dialogs);
        // The demo's session is the program's own: saving goes elsewhere.
        if (isDemo) {
            openSession(windows, dialogs, sessionPath);
        } else {
            sessions->open(sessionPath);
        }
    }
    QCoreApplication::processEvents();
    if (parser.isSet(screenshot)) {
        const QString path = parser.value(screenshot);
        guarded(reporter, [&] {
            writeImageFile(windows.forms().MainForm->grab().toImage(), path.toStdString(),
                           QFileInfo(path).suffix().toUpper().toLatin1().constData());
        });
    }
    if (!batch) {
        return QApplication::exec();
    }
    saveFinalPlot(windows, dialogs, parser.value(finalPlot));
    return console.count() == 0 && dialogs.unansweredQuestions() == 0 ? 0 : 1;
}

} // namespace quarvel
