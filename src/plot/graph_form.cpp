#include "plot/graph_form.h"

#include "document/workspace.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <utility>

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

// What is typed goes to the workspace at once and the final plot reads it
// when it is composed, so both buttons only close the dialog; what was typed
// stays.
TGraphForm::TGraphForm(Services& services) {
    setObjectName(QStringLiteral("GraphForm"));
    setWindowTitle(QStringLiteral("Graphic Param."));
    setModal(false);
    setFixedSize(186, 225);

    auto* xAxis = new QGroupBox(QStringLiteral("Xaxis"), this);
    xAxis->setObjectName(QStringLiteral("GroupBox1"));
    xAxis->setGeometry(0, 0, 186, 81);
    Workspace& workspace = services.workspace;
    const AxisTexts& shown = workspace.plotSettings().axis();
    const auto text = [](const std::string& t) { return QString::fromStdString(t); };
    Edit1 = tickField(xAxis, "Edit1", text(shown.xMarkFreq), 24, QStringLiteral("Mark freq."), 32);
    Edit2 =
        tickField(xAxis, "Edit2", text(shown.xLabelFreq), 48, QStringLiteral("Label freq."), 56);

    auto* yAxis = new QGroupBox(QStringLiteral("Yaxis"), this);
    yAxis->setObjectName(QStringLiteral("GroupBox2"));
    yAxis->setGeometry(0, 81, 186, 80);
    Edit3 = tickField(yAxis, "Edit3", text(shown.yMarkFreq), 16, QStringLiteral("Mark freq."), 24);
    Edit4 =
        tickField(yAxis, "Edit4", text(shown.yLabelFreq), 40, QStringLiteral("Label freq."), 48);

    BitBtn1 = button(this, "BitBtn1", QStringLiteral("OK"), 8);
    BitBtn2 = button(this, "BitBtn2", QStringLiteral("Cancel"), 96);
    BitBtn1->setDefault(true);
    connect(BitBtn1, &QPushButton::clicked, this, &QWidget::hide);
    connect(BitBtn2, &QPushButton::clicked, this, &QWidget::hide);

    for (QLineEdit* field : {Edit1, Edit2, Edit3, Edit4}) {
        connect(field, &QLineEdit::textChanged, this, [this, &workspace] {
            workspace.plotSettings().setAxis(
                {Edit1->text().toStdString(), Edit2->text().toStdString(),
                 Edit3->text().toStdString(), Edit4->text().toStdString()});
        });
    }
    // Texts the workspace was given (a session opened) are shown together:
    // one at a time, each would hand the others' old texts back to it.
    connect(&workspace.plotSettings(), &PlotSettings::axisChanged, this, [this, &workspace] {
        const AxisTexts& texts = workspace.plotSettings().axis();
        const std::pair<QLineEdit*, const std::string*> fields[] = {{Edit1, &texts.xMarkFreq},
                                                                    {Edit2, &texts.xLabelFreq},
                                                                    {Edit3, &texts.yMarkFreq},
                                                                    {Edit4, &texts.yLabelFreq}};
        for (const auto& [field, text] : fields) {
            const QSignalBlocker blocker(field);
            field->setText(QString::fromStdString(*text));
        }
    });
}

} // namespace quarvel
