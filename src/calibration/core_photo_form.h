#pragma once

#include "workspace/forms.h"

#include <QMainWindow>

class QLabel;
class QLineEdit;
class QAction;

namespace quarvel {

// "Core Photo Parameters": the eight calibration texts of the photograph,
// loaded from and saved to ".BND" files.
class TCore_Photo_Form : public QMainWindow {
    Q_OBJECT
public:
    explicit TCore_Photo_Form(Services& services);

    QLineEdit* Top = nullptr;
    QLineEdit* Bottom = nullptr;
    QLineEdit* Left = nullptr;
    QLineEdit* Right = nullptr;
    QLineEdit* xmin = nullptr;
    QLineEdit* xmax = nullptr;
    QLineEdit* ymin = nullptr;
    QLineEdit* ymax = nullptr;
    QLabel* StatusPanel = nullptr;

    // Fills the fields from the main window's BndFileName (or proposes the
    // photograph's own extent when that file is missing).
    void UpdateBoundaries();

private:
    Services& services_;
};

} // namespace quarvel
