#pragma once

#include "app/application.h"
#include "formats/numbers.h"
#include "support/main_widgets.h"
#include "support/recording_error_reporter.h"
#include "support/scripted_dialogs.h"
#include "support/temp_work_dir.h"

#include <QObject>
#include <QString>
#include <gtest/gtest.h>
#include <memory>

namespace quarvel {
class TMainForm;
}

namespace quarvel::testing {

// A test with the whole set of windows, built by the program's own start-up
// code, answering the user's questions from a script and recording errors,
// in a fresh working directory. Nothing is shown until the test asks.
class AppFixture : public ::testing::Test {
protected:
    AppFixture();
    ~AppFixture() override;

    TMainForm& mainForm() const { return *windows->forms().MainForm; }
    MainWidgets mainWidgets() const { return MainWidgets(mainForm()); }
    const AppForms& forms() const { return windows->forms(); }
    Workspace& workspace() const { return windows->workspace(); }
    const WorkspaceState& ws() const { return windows->workspace().state(); }
    // A log of three records as the data editor loads it, and a trace whose
    // listing runs from time first to last, as its Trace page reads it.
    void loadThreeRecordLog() const {
        workDir.write("log.dat", "0.0 1500.0 1.5\r\n0.5 1500.0 1.7\r\n1.0 1600.0 1.9\r\n");
        workspace().logLoaded();
    }
    void loadTrace(double first, double last) const {
        workDir.write("trace.txt",
                      numbers::formatF3(first) + " 0\r\n" + numbers::formatF3(last) + " 1\r\n");
        workspace().series().readTrace();
    }

    // Shows the main window as start-up does and waits until it is active.
    void showMainWindow();

    // The named child of a window; fails the test when there is none.
    template <class Widget> Widget* child(const QObject* window, const QString& name) const {
        auto* found = window->findChild<Widget*>(name);
        EXPECT_NE(found, nullptr) << "no " << name.toStdString() << " in "
                                  << window->objectName().toStdString();
        return found;
    }

    TempWorkDir workDir;
    ScriptedDialogs dialogs;
    RecordingErrorReporter errors;
    std::unique_ptr<AppWindows> windows;
};

} // namespace quarvel::testing
