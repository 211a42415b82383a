#pragma once

#include "platform/dialogs.h"
#include "session/session.h"

#include <QObject>

namespace quarvel {

class AppWindows;

// The answers to the windows' file questions pass through here on their way
// from the real dialogs, so the file last opened is known to whoever asked.
class RecordingDialogs : public Dialogs {
public:
    explicit RecordingDialogs(Dialogs& answers) : answers_(answers) {}

    const QString& lastOpened() const { return lastOpened_; }

    std::optional<QString> openFile(const FileDialogRequest& request) override;
    std::optional<QString> saveFile(const FileDialogRequest& request) override;
    std::optional<QFont> chooseFont(const QFont& current) override;
    std::optional<int> chooseItem(const QString& title, const QString& label,
                                  const QStringList& items, int current) override;
    void showMessage(const QString& text) override;
    void showWarning(const QString& text) override;
    void showError(const QString& text) override;
    bool askYesNo(const QString& question) override;

private:
    Dialogs& answers_;
    QString lastOpened_;
};

// Watches the commands as they run, so that the session can be written at
// any moment: which log and trace the data editor loaded, whether
// "Interpolate Series", "GO" and "Calc. Synthetic" ran, and the SEG-Y
// choices. What the windows and the workspace hold anyway (photograph,
// boundaries, texts, font, check boxes) is read when the session is taken.
class SessionTracker : public QObject {
    Q_OBJECT
public:
    // The windows must have been built with `dialogs` as their dialogs.
    SessionTracker(AppWindows& windows, const RecordingDialogs& dialogs);

    Session session() const;

private:
    void logOrTraceLoaded();

    AppWindows& windows_;
    const RecordingDialogs& dialogs_;
    Session tracked_;
};

} // namespace quarvel
