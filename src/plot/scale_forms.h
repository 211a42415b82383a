#pragma once

#include "main_window/forms.h"

#include <QDialog>

class QCheckBox;
class QSpinBox;
class QPushButton;

namespace quarvel {

struct LogScaleSettings;
class Workspace;

// The behaviour the two scale dialogs share: each shows and edits one log's
// bounds in the workspace's scale settings; "Auto Scale" switches the typed
// bounds off, opening remembers the bounds for Cancel, OK redraws the log
// panels with the new scales.
class LogScaleDialog : public QDialog {
    Q_OBJECT
public:
    // Which of the two logs the dialog sets.
    enum class Log { Velocity, Density };

    LogScaleDialog(Services& services, Log log, const QString& objectName, const QString& caption);

    QCheckBox* autoBox() const { return auto_; }
    QSpinBox* minimumField() const { return minimum_; }
    QSpinBox* maximumField() const { return maximum_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

protected:
    // Places the controls: check box and fields at column fieldLeft, labels
    // at labelLeft.
    void build(const char* autoName, const char* minName, const char* maxName, int fieldLeft,
               int labelLeft, const QSize& size);
    void showEvent(QShowEvent* event) override;

private:
    void okClick();
    void cancelClick();
    // The controls into this dialog's part of the settings, and back.
    void store();
    void showSettings();

    Services& services_;
    Workspace& workspace_;
    Log log_;
    QCheckBox* auto_ = nullptr;
    QSpinBox* minimum_ = nullptr;
    QSpinBox* maximum_ = nullptr;
    QPushButton* ok_ = nullptr;
    QPushButton* cancel_ = nullptr;
    int rememberedMinimum_ = 0;
    int rememberedMaximum_ = 0;
};

// "P-wave": the horizontal range of the velocity panel, automatic or typed
// (Autovel, MinVel, Maxvel, BitBtn1 OK, BitBtn2 Cancel).
class TVelScaleForm : public LogScaleDialog {
    Q_OBJECT
public:
    explicit TVelScaleForm(Services& services);
};

// "Density": the horizontal range of the density panel (log density x 1000)
// (autodens, MinDens, MaxDens, BitBtn1 OK, BitBtn2 Cancel).
class TDensityScaleForm : public LogScaleDialog {
    Q_OBJECT
public:
    explicit TDensityScaleForm(Services& services);
};

} // namespace quarvel
