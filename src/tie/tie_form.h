#pragma once

#include "main_window/forms.h"
#include "tie/tie_measure.h"

#include <QWidget>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;

namespace quarvel {

class DepthVaryingPanel;
class ImagePanel;
class Workspace;

// "Tie": how well the synthetic on show matches the trace on show: the
// coefficient at zero shift, the best bulk shift and the best velocity
// factor, with plots of the coefficient against shift and against factor.
// The measurement is the document's task, so the windows stay live while the
// synthetic is recomputed for every factor and every surrogate; "Apply" scales the log's
// velocities by the factor found.
class TTieForm : public QWidget {
    Q_OBJECT
public:
    explicit TTieForm(Services& services);
    ~TTieForm() override;

    void MeasureButtonClick();
    void ApplyButtonClick();
    // "Save Tie Report…": every setting and result as text.
    void SaveReportButtonClick();
    // "Save Plots…": the two plots side by side as a PNG picture.
    void SavePlotsButtonClick();

    // A measurement, an alignment or Apply's measurement is running.
    bool busy() const;

signals:
    // A measurement ended, with a result or an error.
    void measured();

private:
    QLineEdit* MaxShiftEdit = nullptr; // ms
    QLineEdit* MinFactorEdit = nullptr;
    QLineEdit* MaxFactorEdit = nullptr;
    QPushButton* MeasureButton = nullptr;
    QPushButton* ApplyButton = nullptr;
    QPushButton* SaveReportButton = nullptr;
    QPushButton* SavePlotsButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QProgressBar* MeasureProgress = nullptr;
    QLabel* TieResult = nullptr;
    ImagePanel* ShiftPlot = nullptr;
    ImagePanel* FactorPlot = nullptr;
    DepthVaryingPanel* DepthVarying = nullptr;

    // The measurement ended, one way or another.
    void finish();
    void showMeasurement(const tie::TieMeasurement& measurement);
    // A field changed: what was shown no longer answers it.
    void clearResults();

    Services& services_;
    Workspace& workspace_;
    std::optional<double> factor_;                   // the factor "Apply" applies
    std::optional<tie::TieMeasurement> measurement_; // the last one shown
};

} // namespace quarvel
