#pragma once

#include "workspace/forms.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;
class QPushButton;

namespace quarvel {

// "P-wave": the horizontal range of the velocity panel, automatic or typed.
class TVelScaleForm : public QDialog {
    Q_OBJECT
public:
    explicit TVelScaleForm(Services& services);

    QCheckBox* Autovel = nullptr;
    QSpinBox* MinVel = nullptr;
    QSpinBox* Maxvel = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel

private:
    Services& services_;
};

// "Density": the horizontal range of the density panel (log density x 1000).
class TDensityScaleForm : public QDialog {
    Q_OBJECT
public:
    explicit TDensityScaleForm(Services& services);

    QCheckBox* autodens = nullptr;
    QSpinBox* MinDens = nullptr;
    QSpinBox* MaxDens = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel

private:
    Services& services_;
};

} // namespace quarvel
