#include "plot/graph_form.h"

#include <QLineEdit>
#include <QPushButton>

namespace quarvel {

TGraphForm::TGraphForm(Services&) {
    setObjectName("GraphForm");
    setWindowTitle("Graphic Param.");
    auto field = [this](const char* name, const char* text) {
        auto* edit = new QLineEdit(QString::fromLatin1(text), this);
        edit->setObjectName(name);
        return edit;
    };
    Edit1 = field("Edit1", "10");
    Edit2 = field("Edit2", "50");
    Edit3 = field("Edit3", "200");
    Edit4 = field("Edit4", "200");
    BitBtn1 = new QPushButton("OK", this);
    BitBtn2 = new QPushButton("Cancel", this);
}

} // namespace quarvel
