#pragma once

#include <QApplication>

namespace quarvel {

class ErrorReporter;

// The application with a last-resort catch: an exception that escapes an
// event handler is reported instead of ending the program. Handlers catch
// their own errors through guarded(); this is only the safety net.
class GuardedApplication : public QApplication {
public:
    GuardedApplication(int& argc, char** argv);
    void setErrorReporter(ErrorReporter* reporter) { reporter_ = reporter; }
    ErrorReporter* errorReporter() const { return reporter_; }
    bool notify(QObject* receiver, QEvent* event) override;

private:
    ErrorReporter* reporter_ = nullptr;
};

} // namespace quarvel
