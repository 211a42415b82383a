#pragma once

#include <QObject>
#include <QString>

class QMenu;

namespace quarvel {

class AppWindows;
class DemoDialogs;
class SessionTracker;

// The main window's session commands, put in its File menu above "Exit":
// "Open Session…", "Save Session", "Save Session As…" and "Recent Sessions"
// (the last eight, kept with QSettings).
class SessionMenu : public QObject {
    Q_OBJECT
public:
    SessionMenu(AppWindows& windows, DemoDialogs& dialogs, SessionTracker& tracker);

    // Opens the session and makes it the current one.
    void open(const QString& path);
    void save();
    void saveAs();

private:
    void remember(const QString& path);
    void fillRecent();

    AppWindows& windows_;
    DemoDialogs& dialogs_;
    SessionTracker& tracker_;
    QMenu* recent_ = nullptr;
    QString current_;
};

} // namespace quarvel
