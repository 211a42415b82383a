#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

class QMenu;

namespace quarvel {

class AppWindows;
class DemoDialogs;

// The main window's session commands, put in its File menu above "Exit":
// "Open Session…", "Save Session", "Save Session As…" and "Recent Sessions"
// (the last eight, kept with QSettings). The main window's title names the
// current session and marks changes to the document since it was opened or
// saved; closing the window, or opening another session, with such changes
// asks whether to save them first.
class SessionMenu : public QObject {
    Q_OBJECT
public:
    SessionMenu(AppWindows& windows, DemoDialogs& dialogs);

    // Opens the session and makes it the current one.
    void open(const QString& path);
    // Each true when the session was written.
    bool save();
    bool saveAs();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void remember(const QString& path);
    void fillRecent();
    void setModified(bool modified);
    void showTitle();
    // True when the changes were saved or may go; false for Cancel.
    bool changesMayGo();

    AppWindows& windows_;
    DemoDialogs& dialogs_;
    QMenu* recent_ = nullptr;
    QString current_;
    bool modified_ = false;
};

// The one message told when a session has reopened: what it could not load,
// then what its commands had to tell on the way.
QString reopenedMessage(const QString& sessionPath, const QStringList& problems,
                        const QStringList& notices);

} // namespace quarvel
