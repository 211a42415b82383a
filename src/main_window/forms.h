#pragma once

#include "platform/work_dir.h"

#include <array>
#include <cstddef>

class QWidget;

namespace quarvel {

class Dialogs;
class ErrorReporter;
class Workspace;

// The program's windows by name.
enum class FormId : std::size_t {
    MainForm,
    Core_Photo_Form,
    VelScaleForm,
    DensityScaleForm,
    Profile_Form,
    Tables_Form,
    Chirp_Form,
    FinalTableForm,
    GraphForm,
    TieForm,
    AboutForm,
};

inline constexpr std::size_t FormCount = static_cast<std::size_t>(FormId::AboutForm) + 1;

// Shows, raises and closes the windows by name. This is all one window knows
// of another: what they share lives in the Workspace.
class Forms {
public:
    void add(FormId id, QWidget* window);
    // Shows the window where it stands, without raising it.
    void show(FormId id) const;
    // Shows the window, raises it and gives it the focus.
    void showAndRaise(FormId id) const;
    void close(FormId id) const;

private:
    QWidget* window(FormId id) const;

    std::array<QWidget*, FormCount> windows_{};
};

// What every window is given at creation: the user's questions, the error
// sink, the working directory, the document and the other windows by name.
struct Services {
    Dialogs& dialogs;
    ErrorReporter& errors;
    WorkDir workDir;
    Workspace& workspace;
    Forms& forms;
};

} // namespace quarvel
