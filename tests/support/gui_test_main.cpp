// The main() of the test programs below the windows that need QtGui (fonts,
// images) but no widgets: a QGuiApplication on the offscreen platform unless
// told otherwise, chosen before the application exists because
// gtest_discover_tests runs the program at build time without the test
// environment.
#include <QGuiApplication>
#include <QtGlobal>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    ::testing::InitGoogleTest(&argc, argv);
    QGuiApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
