#pragma once

#include "workspace/forms.h"

#include <memory>
#include <vector>

class QWidget;

namespace quarvel {

class Dialogs;
class ErrorReporter;

// Every window of the program, created hidden in start-up order: the main
// window first (it is the application's main window), then its companions,
// the About window last. The companions live as long as this object;
// closing one only hides it. The program and the tests build the windows
// through this same class, the tests with their scripted dialogs.
class AppWindows {
public:
    AppWindows(Dialogs& dialogs, ErrorReporter& errors, WorkDir workDir);
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    Services& services() { return services_; }
    const Forms& forms() const { return services_.forms; }
    // The windows in the order they were created.
    const std::vector<QWidget*>& creationOrder() const { return order_; }

    // Shows the main window, which activates it.
    void showMainWindow();

private:
    template <class Window> Window* create();

    Services services_;
    std::vector<std::unique_ptr<QWidget>> windows_;
    std::vector<QWidget*> order_;
};

// Creates the working directory when it is missing. Without it nothing the
// program writes would land, so a failure is told to the user and the
// result is false.
bool prepareWorkDir(const WorkDir& workDir, Dialogs& dialogs);

// The whole program: the application, the working directory, the windows
// and the event loop. Returns the exit code.
int runQuarvel(int argc, char** argv);

} // namespace quarvel
