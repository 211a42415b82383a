#include "calibration/core_photo_form.h"

#include <QLabel>
#include <QLineEdit>

namespace quarvel {

TCore_Photo_Form::TCore_Photo_Form(Services& services) : services_(services) {
    setObjectName("Core_Photo_Form");
    setWindowTitle("Core Photo Parameters");
    auto field = [this](const char* name, const char* text) {
        auto* edit = new QLineEdit(QString::fromLatin1(text), this);
        edit->setObjectName(name);
        return edit;
    };
    Top = field("Top", "0");
    Bottom = field("Bottom", "1000");
    Left = field("Left", "1");
    Right = field("Right", "1000");
    xmin = field("xmin", "25");
    xmax = field("xmax", "1000");
    ymin = field("ymin", "25");
    ymax = field("ymax", "1000");
    StatusPanel = new QLabel(this);
}

void TCore_Photo_Form::UpdateBoundaries() {}

} // namespace quarvel
