#pragma once

#include "formats/quarvel_error.h"

#include <QString>
#include <exception>
#include <new>
#include <string>

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

// Runs one command (an event handler body) to its end or to its first error,
// which goes to the reporter. Exceptions never cross Qt's event loop.
template <class Command> void guarded(ErrorReporter& reporter, Command&& command) {
    try {
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
