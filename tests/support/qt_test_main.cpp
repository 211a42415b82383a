// The main() of every test program that needs a Qt application. The
// platform is chosen before QApplication exists, because gtest_discover_tests
// runs the program at build time without the test environment.
#include "platform/error_reporter.h"
#include "platform/guarded_application.h"

#include <QtGlobal>
#include <gtest/gtest.h>

namespace {

// An exception that escaped an event handler is a fault in the handler: it
// should have been caught by its guard.
class FailingReporter : public quarvel::ErrorReporter {
public:
    void report(const QString& message) override {
        ADD_FAILURE() << "An error escaped an event handler: " << message.toStdString();
    }
};

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    quarvel::GuardedApplication app(argc, argv);
    FailingReporter reporter;
    app.setErrorReporter(&reporter);
    const int result = RUN_ALL_TESTS();
    app.setErrorReporter(nullptr);
    return result;
}
