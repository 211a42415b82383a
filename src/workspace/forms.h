#pragma once

#include "platform/work_dir.h"

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
class TAboutForm;

// The single instance of each window, filled in as start-up creates them.
// Windows reach each other only through these and the operations each one
// publishes.
struct Forms {
    TMainForm* MainForm = nullptr;
    TCore_Photo_Form* Core_Photo_Form = nullptr;
    TVelScaleForm* VelScaleForm = nullptr;
    TDensityScaleForm* DensityScaleForm = nullptr;
    TProfile_Form* Profile_Form = nullptr;
    TTables_Form* Tables_Form = nullptr;
    TChirp_Form* Chirp_Form = nullptr;
    TFinalTableForm* FinalTableForm = nullptr;
    TGraphForm* GraphForm = nullptr;
    TAboutForm* AboutForm = nullptr;
};

// What every window is given at creation: the user's questions, the error
// sink, the working directory and the other windows.
struct Services {
    Dialogs& dialogs;
    ErrorReporter& errors;
    WorkDir workDir;
    Forms forms;
};

} // namespace quarvel
