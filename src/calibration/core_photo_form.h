#pragma once

#include "calibration/boundaries.h"
#include "main_window/forms.h"

#include <QMainWindow>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;

namespace quarvel {

class Workspace;

// "Core Photo Parameters": shows and edits the workspace's eight calibration
// texts of the photograph, loaded from and saved to ".BND" files. The texts
// are never checked here; whoever reads them converts them when needed.
class TCore_Photo_Form : public QMainWindow {
    Q_OBJECT
public:
    explicit TCore_Photo_Form(Services& services);

    // The eight texts as they stand, and all eight replaced at once.
    Boundaries boundaries() const;
    void setBoundaries(const Boundaries& boundaries);

    void LoadBoundaries1Click();
    void SaveBoundaries1Click();
    void Exit1Click();

private:
    QLineEdit* Top = nullptr;
    QLineEdit* Bottom = nullptr;
    QLineEdit* Left = nullptr;
    QLineEdit* Right = nullptr;
    QLineEdit* xmin = nullptr;
    QLineEdit* xmax = nullptr;
    QLineEdit* ymin = nullptr;
    QLineEdit* ymax = nullptr;
    QLabel* StatusPanel = nullptr;

    QAction* LoadBoundaries1 = nullptr; // "Load BND"
    QAction* SaveBoundaries1 = nullptr; // "Save BND"
    QAction* Exit1 = nullptr;

    QLineEdit* addField(QWidget* area, int order, const char* name, const char* caption,
                        const char* text);
    void buildMenu();
    // The workspace's calibration into the fields.
    void showCalibration();

    Services& services_;
    Workspace& workspace_;
};

} // namespace quarvel
