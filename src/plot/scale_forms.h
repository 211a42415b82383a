#pragma once

#include "workspace/forms.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;
class QPushButton;

namespace quarvel {

// The behaviour the two scale dialogs share: "Auto Scale" switches the typed
// bounds off, opening remembers the bounds for Cancel, OK redraws the log
// panels with the new scales.
class LogScaleDialog : public QDialog {
    Q_OBJECT
public:
    LogScaleDialog(Services& services, const QString& objectName, const QString& caption);

    QCheckBox* autoBox() const { return auto_; }
    QSpinBox* minimumField() const { return minimum_; }
    QSpinBox* maximumField() const { return maximum_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    // Places the controls: check box and fields at column fieldLeft, labels
    // at labelLeft.
    void build(const char* autoName, const char* minName, const char* maxName, int fieldLeft,
               int labelLeft, int minimum, int maximum, const QSize& size);
    void showEvent(QShowEvent* event) override;

private:
    void okClick();
    void cancelClick();

    Services& services_;
    QCheckBox* auto_ = nullptr;
    QSpinBox* minimum_ = nullptr;
    QSpinBox* maximum_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int rememberedMinimum_ = 0;
    int rememberedMaximum_ = 0;
};

// "P-wave": the horizontal range of the velocity panel, automatic or typed.
class TVelScaleForm : public LogScaleDialog {
    Q_OBJECT
public:
    explicit TVelScaleForm(Services& services);

    QCheckBox* Autovel = nullptr;
    QSpinBox* MinVel = nullptr;
    QSpinBox* Maxvel = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel
};

// "Density": the horizontal range of the density panel (log density x 1000).
class TDensityScaleForm : public LogScaleDialog {
    Q_OBJECT
public:
    explicit TDensityScaleForm(Services& services);

    QCheckBox* autodens = nullptr;
    QSpinBox* MinDens = nullptr;
    QSpinBox* MaxDens = nullptr;
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel
};

} // namespace quarvel
