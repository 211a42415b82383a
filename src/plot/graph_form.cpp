#include "plot/graph_form.h"

#include "document/workspace.h"

#include <QCheckBox>
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
    result->setGeometry(left, 264, 75, 25);
    return result;
}

QCheckBox* checkBox(QGroupBox* group, const char* name, const QString& caption, int top) {
    auto* box = new QCheckBox(caption, group);
    box->setObjectName(QLatin1String(name));
    box->setGeometry(8, top, 170, 21);
    return box;
}

} // namespace

// What is typed goes to the workspace at once and the final plot reads it
// when it is composed, so both buttons only close the dialog; what was typed
// stays.
TGraphForm::TGraphForm(Services& services) : workspace_(services.workspace) {
    setObjectName(QStringLiteral("GraphForm"));
    setWindowTitle(QStringLiteral("Graphic Param."));
    setModal(false);
    setFixedSize(186, 321);

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

    auto* added = new QGroupBox(QStringLiteral("Final plot"), this);
    added->setObjectName(QStringLiteral("FinalPlotBox"));
    added->setGeometry(0, 161, 186, 96);
    TiedSyntheticBox = checkBox(added, "TiedSyntheticBox", QStringLiteral("Tied synthetic"), 16);
    SectionExcerptBox = checkBox(added, "SectionExcerptBox", QStringLiteral("Section excerpt"), 40);
    SectionTracesEdit =
        tickField(added, "SectionTracesEdit", {}, 64, QStringLiteral("traces either side"), 68);
    showOptions();
    offerOptions();

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
    const auto setOptions = [this] {
        workspace_.plotSettings().setFinalPlotOptions({TiedSyntheticBox->isChecked(),
                                                       SectionExcerptBox->isChecked(),
                                                       SectionTracesEdit->text().toStdString()});
    };
    connect(TiedSyntheticBox, &QCheckBox::toggled, this, setOptions);
    connect(SectionExcerptBox, &QCheckBox::toggled, this, setOptions);
    connect(SectionTracesEdit, &QLineEdit::textChanged, this, setOptions);
    connect(&workspace.plotSettings(), &PlotSettings::finalPlotOptionsChanged, this,
            &TGraphForm::showOptions);
    connect(&workspace, &Workspace::logChanged, this, &TGraphForm::offerOptions);
    // An alignment dropped (a new Measure) takes the depth-varying tie away.
    connect(&workspace.tie(), &TieModel::depthVaryingChanged, this, &TGraphForm::offerOptions);
    for (const auto signal : {&SeriesModel::traceChanged, &SeriesModel::traceSourceChanged}) {
        connect(&workspace.series(), signal, this, &TGraphForm::offerOptions);
    }
    for (TaskRunner* task : {static_cast<TaskRunner*>(&workspace.tie().tieTask()),
                             static_cast<TaskRunner*>(&workspace.tie().depthVaryingTask())}) {
        connect(task, &TaskRunner::finished, this, &TGraphForm::offerOptions);
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

void TGraphForm::showEvent(QShowEvent* event) {
    offerOptions();
    QDialog::showEvent(event);
}

void TGraphForm::showOptions() {
    const FinalPlotOptions& options = workspace_.plotSettings().finalPlotOptions();
    const QSignalBlocker tied(TiedSyntheticBox);
    const QSignalBlocker excerpt(SectionExcerptBox);
    const QSignalBlocker traces(SectionTracesEdit);
    TiedSyntheticBox->setChecked(options.tiedSynthetic);
    SectionExcerptBox->setChecked(options.sectionExcerpt);
    SectionTracesEdit->setText(QString::fromStdString(options.sectionTraces));
}

// A tick the document cannot honour stays as it is, greyed: the plot goes
// without that part until there is a tie or a SEG-Y trace again.
void TGraphForm::offerOptions() {
    const bool tie = workspace_.tie().placedSynthetic().has_value();
    TiedSyntheticBox->setEnabled(tie);
    TiedSyntheticBox->setToolTip(
        tie ? QStringLiteral("The synthetic in the trace's time, as the tie lays it on the trace")
            : QStringLiteral("Measure the tie in the Tie window first: without a tie on the "
                             "log and trace on show, the synthetic is drawn as computed."));
    const bool segy = workspace_.series().traceSource().segy.has_value();
    SectionExcerptBox->setEnabled(segy);
    SectionTracesEdit->setEnabled(segy);
    SectionExcerptBox->setToolTip(
        segy ? QStringLiteral("Traces of the SEG-Y line either side of the core's, on the "
                              "trace's time scale")
             : QStringLiteral("Load the trace from a SEG-Y line on the data editor's Trace page "
                              "first: the excerpt is read from that line."));
}

} // namespace quarvel
