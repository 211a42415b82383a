#pragma once

#include "main_window/forms.h"

#include <QGroupBox>
#include <vector>

class QLabel;
class QLineEdit;
class QListWidget;
class QProgressBar;
class QPushButton;

namespace quarvel {

class ImagePanel;
class Workspace;
struct DepthVaryingResult;

// The Tie window's "Depth-varying" part: from the bulk tie, the synthetic
// stretched and squeezed onto the trace within a velocity limit, whether
// that freedom was earned, the synthetic before and after beside the trace
// with the tie points joined across, the proposed tie points to accept or
// remove (the alignment follows), Apply and Undo through the document, and
// the exports. The alignment and the coefficient after Apply are the
// document's tasks.
class DepthVaryingPanel : public QGroupBox {
    Q_OBJECT
public:
    DepthVaryingPanel(Services& services, QWidget* parent);
    ~DepthVaryingPanel() override;

    void AlignButtonClick();
    // The selected proposal held fixed, or the selected accepted point let
    // go (a proposal removed is only taken off the list); either way
    // aligned again.
    void AcceptTieButtonClick();
    void RemoveTieButtonClick();
    void ApplyDepthVaryingButtonClick();
    void UndoApplyButtonClick();
    // "Save Time-Depth…" (CSV) and "Save Corrected Log…" (LAS 2.0).
    void SaveTimeDepthButtonClick();
    void SaveCorrectedLogButtonClick();

    // An alignment or the measurement after Apply is running.
    bool busy() const;

signals:
    // An alignment, or the measurement after Apply, ended.
    void finished();

private:
    QLineEdit* VelocityLimitEdit = nullptr; // %
    QPushButton* AlignButton = nullptr;
    QPushButton* CancelAlignButton = nullptr;
    QProgressBar* AlignProgress = nullptr;
    QLabel* AlignResult = nullptr;
    ImagePanel* DepthVaryingPlot = nullptr;
    QListWidget* TiePointList = nullptr;
    QPushButton* AcceptTieButton = nullptr;
    QPushButton* RemoveTieButton = nullptr;
    QPushButton* ApplyDepthVaryingButton = nullptr;
    QPushButton* UndoApplyButton = nullptr;
    QPushButton* SaveTimeDepthButton = nullptr;
    QPushButton* SaveCorrectedLogButton = nullptr;

    void started();
    void ended();
    // The alignment the document holds, or the hint when there is none.
    void showHeld();
    void showResult(const DepthVaryingResult& result);
    void listTies(const DepthVaryingResult& result);
    void drawPlot(const DepthVaryingResult& result);
    void enableResultButtons(bool enabled);

    Services& services_;
    Workspace& workspace_;
    std::vector<double> removed_; // depths of proposals taken off the list
};

} // namespace quarvel
