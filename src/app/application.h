#pragma once

#include "document/workspace.h"
#include "main_window/forms.h"

#include <memory>
#include <vector>

class QWidget;

namespace quarvel {

class Dialogs;
class ErrorReporter;
class TMainForm;
class TCore_Photo_Form;
class TVelScaleForm;
class TDensityScaleForm;
class TProfile_Form;
class TTables_Form;
class TChirp_Form;
class TFinalTableForm;
class TGraphForm;
class TTieForm;
class TAboutForm;

// The single instance of each window, for the program's start-up, the demo
// and the tests. The windows themselves never see this: they reach each
// other by name through Forms.
struct AppForms {
    TMainForm* MainForm = nullptr;
    TCore_Photo_Form* Core_Photo_Form = nullptr;
    TVelScaleForm* VelScaleForm = nullptr;
    TDensityScaleForm* DensityScaleForm = nullptr;
    TProfile_Form* Profile_Form = nullptr;
    TTables_Form* Tables_Form = nullptr;
    TChirp_Form* Chirp_Form = nullptr;
    TFinalTableForm* FinalTableForm = nullptr;
    TGraphForm* GraphForm = nullptr;
    TTieForm* TieForm = nullptr;
    TAboutForm* AboutForm = nullptr;
};

// The workspace and every window of the program, created hidden in start-up order: the main
// window first (it is the application's main window), then its companions,
// the About window last. The companions live as long as this object;
// closing one only hides it. The program and the tests build the windows
// through this same class, the tests with their scripted dialogs.
class CommandWorkDir;

class AppWindows {
public:
    AppWindows(Dialogs& dialogs, ErrorReporter& errors, WorkDir workDir);
    ~AppWindows();
    AppWindows(const AppWindows&) = delete;
    AppWindows& operator=(const AppWindows&) = delete;

    Services& services() { return services_; }
    Workspace& workspace() { return workspace_; }
    const AppForms& forms() const { return forms_; }
    // The windows in the order they were created.
    const std::vector<QWidget*>& creationOrder() const { return order_; }

    // Shows the main window, which activates it.
    void showMainWindow();

private:
    template <class Window> Window* create(FormId id);

    Workspace workspace_;
    Forms registry_;
    Services services_;
    AppForms forms_;
    std::vector<std::unique_ptr<QWidget>> windows_;
    std::vector<QWidget*> order_;
};

// Working files another program (a quarvel-synth run) changed since the
// windows' last command, told before the next command and when the main
// window is activated: each one the windows show (log.dat, ampl.dat,
// trace.txt) is offered again ("log.dat changed outside Quarvel: Reload?"),
// so that no command mixes the new file with the old one on show; the
// others, and those not reloaded, are named in the status bar.
void offerReloads(AppWindows& windows, CommandWorkDir& commands);

// Creates the working directory when it is missing. Without it nothing the
// program writes would land, so a failure is told to the user and the
// result is false.
bool prepareWorkDir(const WorkDir& workDir, Dialogs& dialogs);

// The whole program: the application, the working directory, the windows
// and the event loop. Returns the exit code.
int runQuarvel(int argc, char** argv);

} // namespace quarvel
