#pragma once

#include "app/application.h"
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
    WorkspaceState& ws() const { return windows->workspace().state(); }

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
