#pragma once

#include "main_window/forms.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

namespace quarvel {

// "Graphic Param.": tick spacing of the final plot's axes, the workspace's
// axis texts as typed.
class TGraphForm : public QDialog {
    Q_OBJECT
public:
    explicit TGraphForm(Services& services);

private:
    QLineEdit* Edit1 = nullptr;     // X axis mark freq.
    QLineEdit* Edit2 = nullptr;     // X axis label freq.
    QLineEdit* Edit3 = nullptr;     // Y axis mark freq.
    QLineEdit* Edit4 = nullptr;     // Y axis label freq.
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel
};

} // namespace quarvel
