#pragma once

#include "main_window/forms.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;
class QPushButton;

namespace quarvel {

// "Graphic Param.": tick spacing of the final plot's axes, the workspace's
// axis texts as typed, and what the plot adds (the tied synthetic, a section
// excerpt), each offered only where the document has what it needs.
class TGraphForm : public QDialog {
    Q_OBJECT
public:
    explicit TGraphForm(Services& services);

protected:
    void showEvent(QShowEvent* event) override;

private:
    // The options' ticks and field from the document, each enabled only
    // where the document can draw it, with the reason otherwise.
    void showOptions();
    void offerOptions();

    Workspace& workspace_;
    QCheckBox* TiedSyntheticBox = nullptr;
    QCheckBox* SectionExcerptBox = nullptr;
    QLineEdit* SectionTracesEdit = nullptr;
    QLineEdit* Edit1 = nullptr;     // X axis mark freq.
    QLineEdit* Edit2 = nullptr;     // X axis label freq.
    QLineEdit* Edit3 = nullptr;     // Y axis mark freq.
    QLineEdit* Edit4 = nullptr;     // Y axis label freq.
    QPushButton* BitBtn1 = nullptr; // OK
    QPushButton* BitBtn2 = nullptr; // Cancel
};

} // namespace quarvel
