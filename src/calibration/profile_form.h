#pragma once

#include "main_window/forms.h"

#include <QMainWindow>

namespace quarvel {

// The boundaries window for profile images. It is created at start-up like
// its twin for core photographs, but no command shows it yet.
class TProfile_Form : public QMainWindow {
    Q_OBJECT
public:
    explicit TProfile_Form(Services& services);
};

} // namespace quarvel
