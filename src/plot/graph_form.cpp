#include "plot/graph_form.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace quarvel {

namespace {

QLineEdit* tickField(QGroupBox* group, const char* name, const QString& text, int top,
                     const QString& label, int labelTop) {
    auto* field = new QLineEdit(text, group);
    field->setObjectName(QLatin1String(name));
    field->setGeometry(8, top, 73, 21);
    (new QLabel(label, group))->move(96, labelTop);
    return field;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, int left) {
    auto* result = new QPushButton(caption, parent);
    result->setObjectName(QLatin1String(name));
    result->setGeometry(left, 168, 75, 25);
    return result;
}

} // namespace

// The fields are read by the final plot when it is composed, so both buttons
// only close the dialog; what was typed stays.
TGraphForm::TGraphForm(Services&) {
    setObjectName(QStringLiteral("GraphForm"));
    setWindowTitle(QStringLiteral("Graphic Param."));
    setModal(false);
    setFixedSize(186, 225);

    auto* xAxis = new QGroupBox(QStringLiteral("Xaxis"), this);
    xAxis->setObjectName(QStringLiteral("GroupBox1"));
    xAxis->setGeometry(0, 0, 186, 81);
    Edit1 = tickField(xAxis, "Edit1", QStringLiteral("10"), 24, QStringLiteral("Mark freq."), 32);
    Edit2 = tickField(xAxis, "Edit2", QStringLiteral("50"), 48, QStringLiteral("Label freq."), 56);

    auto* yAxis = new QGroupBox(QStringLiteral("Yaxis"), this);
    yAxis->setObjectName(QStringLiteral("GroupBox2"));
    yAxis->setGeometry(0, 81, 186, 80);
    Edit3 = tickField(yAxis, "Edit3", QStringLiteral("200"), 16, QStringLiteral("Mark freq."), 24);
    Edit4 = tickField(yAxis, "Edit4", QStringLiteral("200"), 40, QStringLiteral("Label freq."), 48);

    BitBtn1 = button(this, "BitBtn1", QStringLiteral("OK"), 8);
    BitBtn2 = button(this, "BitBtn2", QStringLiteral("Cancel"), 96);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::hide);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::hide);
}

} // namespace quarvel
