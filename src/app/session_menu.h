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
// (the last eight, kept with QSettings).
class SessionMenu : public QObject {
    Q_OBJECT
public:
    SessionMenu(AppWindows& windows, DemoDialogs& dialogs);

    // Opens the session and makes it the current one.
    void open(const QString& path);
    void save();
    void saveAs();

private:
    void remember(const QString& path);
    void fillRecent();

    AppWindows& windows_;
    DemoDialogs& dialogs_;
    QMenu* recent_ = nullptr;
    QString current_;
};

// The one message told when a session has reopened: what it could not load,
// then what its commands had to tell on the way.
QString reopenedMessage(const QString& sessionPath, const QStringList& problems,
                        const QStringList& notices);

} // namespace quarvel
