#pragma once

#include "formats/quarvel_error.h"

#include <QString>
#include <exception>
#include <functional>
#include <new>
#include <string>
#include <string_view>
#include <vector>

namespace quarvel {

class Dialogs;

// Where a command's error goes: a message box in the program, a recorder in
// tests (which fails the test on anything it was not told to expect).
class ErrorReporter {
public:
    virtual ~ErrorReporter() = default;
    virtual void report(const QString& message) = 0;
};

// Shows each error in a message box through the Dialogs interface.
class DialogErrorReporter : public ErrorReporter {
public:
    explicit DialogErrorReporter(Dialogs& dialogs) : dialogs_(dialogs) {}
    void report(const QString& message) override;

private:
    Dialogs& dialogs_;
};

class WorkDir;

// While one lives, every guarded command holds the working directory for its
// whole run (WorkDirLock), so that a quarvel-synth run on the same folder
// never mixes its files with the window's. A command that finds the folder
// held by another process is refused with a message, rather than freezing
// the windows while it waits. The program makes one at start-up.
// Before a command, the working files another program changed since the
// program's last command are told to `changedOutside` (the panels may show
// what they held before).
class CommandWorkDir {
public:
    using ChangedOutside = std::function<void(const std::vector<std::string_view>& names)>;
    explicit CommandWorkDir(const WorkDir& dir);
    ~CommandWorkDir();
    void tellChangesOutside(ChangedOutside changedOutside);
    // Tells the changes now, without a command (the main window activated);
    // while another program's command holds the folder, the next command will.
    static void lookForChanges();
    CommandWorkDir(const CommandWorkDir&) = delete;
    CommandWorkDir& operator=(const CommandWorkDir&) = delete;
};

// The working directory held from the first guarded command to its end;
// commands run inside it (a redraw on a signal) hold nothing more.
class CommandScope {
public:
    CommandScope();
    ~CommandScope();
    CommandScope(const CommandScope&) = delete;
    CommandScope& operator=(const CommandScope&) = delete;
};

// Runs one command (an event handler body) to its end or to its first error,
// which goes to the reporter. Exceptions never cross Qt's event loop.
template <class Command> void guarded(ErrorReporter& reporter, Command&& command) {
    try {
        const CommandScope scope;
        command();
    } catch (const QuarvelError& e) {
        reporter.report(QString::fromStdString(e.what()));
    } catch (const std::bad_alloc&) {
        reporter.report(QStringLiteral("Out of memory"));
    } catch (const std::exception& e) {
        reporter.report(QString::fromStdString(e.what()));
    }
}

} // namespace quarvel
