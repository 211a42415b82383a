#pragma once

#include "tie/tie_measure.h"
#include "workspace/forms.h"

#include <QWidget>
#include <atomic>
#include <memory>
#include <optional>
#include <string>

class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QThread;
class QTimer;

namespace quarvel {

class ImagePanel;
class Workspace;

// "Tie": how well the synthetic on show matches the trace on show: the
// coefficient at zero shift, the best bulk shift and the best velocity
// factor, with plots of the coefficient against shift and against factor.
// The measurement runs on a worker thread, so the windows stay live while
// the synthetic is recomputed for every factor; "Apply" scales the log's
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

    // A measurement is running.
    bool busy() const { return worker_ != nullptr; }

signals:
    // A measurement ended, with a result or an error.
    void measured();

private:
    // What the worker hands back.
    struct Outcome {
        std::optional<tie::TieMeasurement> measurement;
        std::string error;
        // Written by the worker, read by the window: how far it got, and
        // whether the user asked it to stop.
        std::atomic<double> done{0.0};
        std::atomic<bool> cancel{false};
    };

    QLineEdit* MaxShiftEdit = nullptr; // ms
    QLineEdit* MinFactorEdit = nullptr;
    QLineEdit* MaxFactorEdit = nullptr;
    QPushButton* MeasureButton = nullptr;
    QPushButton* ApplyButton = nullptr;
    QPushButton* SaveReportButton = nullptr;
    QPushButton* SavePlotsButton = nullptr;
    QPushButton* CancelButton = nullptr;
    QProgressBar* MeasureProgress = nullptr;
    QTimer* progressTimer_ = nullptr;
    QLabel* TieResult = nullptr;
    ImagePanel* ShiftPlot = nullptr;
    ImagePanel* FactorPlot = nullptr;

    void finish();
    void showMeasurement(const tie::TieMeasurement& measurement);
    // A field changed: what was shown no longer answers it.
    void clearResults();

    Services& services_;
    Workspace& workspace_;
    QThread* worker_ = nullptr;
    std::shared_ptr<Outcome> outcome_;
    std::optional<double> factor_;                   // the factor "Apply" applies
    std::optional<tie::TieMeasurement> measurement_; // the last one shown
};

} // namespace quarvel
