#pragma once

#include "platform/dialogs.h"
#include "platform/error_reporter.h"

#include <QString>
#include <QStringList>
#include <deque>
#include <filesystem>
#include <optional>
#include <vector>

namespace quarvel {

class AppWindows;

// The demo's file dialogs: the questions the demo's own steps ask are
// answered with the demo's files; every other question goes to the user
// through the fallback, or, without one (a run with no one to ask), is
// answered "Cancel" and counted; there a message is printed, a warning or an
// error printed and counted.
class DemoDialogs : public Dialogs {
public:
    explicit DemoDialogs(Dialogs* fallback) : fallback_(fallback) {}

    void answerNextOpen(const QString& path) { openAnswers_.push_back(path); }
    void answerNextSave(const QString& path) { saveAnswers_.push_back(path); }
    int unansweredQuestions() const { return unanswered_; }

    // While a session reopens, its messages and warnings are held rather
    // than shown, so that none stops it half-way; they are told together once
    // it has opened.
    void holdNotices() { holding_ = true; }
    struct HeldNotices {
        QStringList texts;
        bool warning = false; // one of them is a warning
    };
    HeldNotices releaseNotices();

    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QFont> chooseFont(const QFont& current) override;
    std::optional<int> chooseItem(const QString& title, const QString& label,
                                  const QStringList& items, int current) override;
    void showMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    // A warning about a step that went through (an import's summary): shown
    // with the warning icon, but with nobody to ask it does not fail the run.
    void showWarningOfSuccess(const QString& text);
    void showError(const QString& text) override;
    bool askYesNo(const QString& question) override;
    std::optional<Unsaved> askSaveChanges(const QString& question) override;
    bool runDialog(QDialog& dialog) override;

private:
    Dialogs* fallback_;
    std::deque<QString> openAnswers_;
    std::deque<QString> saveAnswers_;
    int unanswered_ = 0;
    bool holding_ = false;
    HeldNotices held_;
};

// Errors of a run with no one to ask: printed on standard error and counted.
class ConsoleErrorReporter : public ErrorReporter {
public:
    void report(const QString& message) override;
    int count() const { return count_; }

private:
    int count_ = 0;
};

// The folder holding the demo core: $QUARVEL_DEMO_DIR, else share/quarvel/demo
// beside the program's folder (where both the package and the build put it).
// Nothing when that folder does not hold the demo's photograph.
std::optional<std::filesystem::path> findDemoFolder();

// Loads the demo core by opening the demo folder's session, "demo.qvs": the
// photograph (with its ".BND"), the log in the data editor, Interpolate
// Series and Refresh Graph, the chirp texts and GO, "Calc. Synthetic", and
// the trace on the data editor's Trace page. Ends with "Correlator" checked.
void loadDemo(AppWindows& windows, DemoDialogs& dialogs, const std::filesystem::path& demo);

// Opens a session file into the document the windows show (see
// restoreSession). A file that cannot be read as a session is reported,
// changes nothing and gives false; the parts of a session that could not
// load are named in one message.
bool openSession(AppWindows& windows, DemoDialogs& dialogs, const QString& path);

// Clicks the photograph at each of the rows, as the mouse would, marking the
// checked panels.
void markRows(AppWindows& windows, const std::vector<int>& rows);

// "Final Plot", then "&Save as" to the file.
void saveFinalPlot(AppWindows& windows, DemoDialogs& dialogs, const QString& path);

// True when the command line asks for the demo.
bool wantsDemo(int argc, char** argv);

// True when the command line names a session: --session FILE, or an
// argument ending in ".qvs".
bool wantsSession(int argc, char** argv);

// The program started with --demo or a session, and optionally
// --final-plot FILE and --screenshot FILE. Returns the exit code.
int runDemo(int argc, char** argv);

} // namespace quarvel
