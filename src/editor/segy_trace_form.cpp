#include "editor/segy_trace_form.h"

#include "editor/segy_section_form.h"
#include "formats/numbers.h"
#include "platform/error_reporter.h"
#include "platform/window_geometry.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QStandardItemModel>
#include <QVBoxLayout>

namespace quarvel {
namespace {

QString qText(const std::string& text) {
    return QString::fromStdString(text);
}

std::string text(const QLineEdit* edit) {
    return edit->text().toStdString();
}

QLineEdit* lineEdit(const QString& name) {
    auto* edit = new QLineEdit;
    edit->setObjectName(name);
    return edit;
}

QComboBox* comboBox(const QString& name, const QStringList& items) {
    auto* box = new QComboBox;
    box->setObjectName(name);
    box->addItems(items);
    return box;
}

QLabel* wrappedLabel(const QString& name) {
    auto* label = new QLabel;
    label->setObjectName(name);
    label->setWordWrap(true);
    return label;
}

void enableItem(QComboBox* box, int item, bool enabled) {
    if (auto* model = qobject_cast<QStandardItemModel*>(box->model())) {
        model->item(item)->setEnabled(enabled);
    }
}

QString spanItem(const QString& what, double ms) {
    return ms > 0 ? what + " (" + qText(numbers::formatFixed(ms, 3)) + " ms)"
                  : what + " (none yet)";
}

} // namespace

SegyTraceForm::SegyTraceForm(ErrorReporter& errors, QWidget* parent)
    : QDialog(parent), errors_(errors) {
    setObjectName("SegyTraceForm");
    setWindowTitle("SEG-Y Trace");
    build();
}

SegyTraceForm::~SegyTraceForm() = default;

void SegyTraceForm::build() {
    SummaryText = new QPlainTextEdit;
    SummaryText->setObjectName("SummaryText");
    SummaryText->setReadOnly(true);
    SummaryText->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    SummaryText->setMinimumHeight(150);
    ChoiceBox = comboBox("ChoiceBox", {"Trace index", "Field record (shot)", "Nearest position"});
    NumberEdit = lineEdit("NumberEdit");
    NearXEdit = lineEdit("NearXEdit");
    NearYEdit = lineEdit("NearYEdit");
    ChannelBox = comboBox("ChannelBox", {});
    ChosenLabel = wrappedLabel("ChosenLabel");
    StackSpin = new QSpinBox;
    StackSpin->setObjectName("StackSpin");
    StackSpin->setRange(0, 500);
    StackSpin->setSuffix(" on each side");
    IntervalEdit = lineEdit("IntervalEdit");
    SeaFloorBox = comboBox("SeaFloorBox", {"Do not cut", "Automatic pick", "At time (ms)"});
    SeaFloorEdit = lineEdit("SeaFloorEdit");
    PickLabel = wrappedLabel("PickLabel");
    LengthBox = comboBox("LengthBox", {"Whole trace", "", "", "Given (ms)"});
    LengthEdit = lineEdit("LengthEdit");
    LoadTraceButton = new QPushButton("Load");
    LoadTraceButton->setObjectName("LoadTraceButton");
    LoadTraceButton->setDefault(true);
    CancelButton = new QPushButton("Cancel");
    CancelButton->setObjectName("CancelButton");
    SectionButton = new QPushButton("Section...");
    SectionButton->setObjectName("SectionButton");

    auto* position = new QHBoxLayout;
    position->addWidget(new QLabel("X"));
    position->addWidget(NearXEdit);
    position->addWidget(new QLabel("Y"));
    position->addWidget(NearYEdit);
    auto* form = new QFormLayout;
    form->addRow("Choose by", ChoiceBox);
    form->addRow("Trace or shot number", NumberEdit);
    form->addRow("Core position", position);
    form->addRow("Channel", ChannelBox);
    form->addRow("Chosen", ChosenLabel);
    form->addRow("Stack", StackSpin);
    form->addRow("Sample interval (ms)", IntervalEdit);
    form->addRow("Sea floor", SeaFloorBox);
    form->addRow("Sea-floor time (ms)", SeaFloorEdit);
    form->addRow("", PickLabel);
    form->addRow("Length", LengthBox);
    form->addRow("Length (ms)", LengthEdit);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SectionButton);
    buttons->addStretch();
    buttons->addWidget(LoadTraceButton);
    buttons->addWidget(CancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(SummaryText);
    layout->addLayout(form);
    layout->addLayout(buttons);
    resize(560, 640);

    const auto changed = [this] { showChoice(); };
    for (QLineEdit* edit : {NumberEdit, NearXEdit, NearYEdit, IntervalEdit, SeaFloorEdit}) {
        connect(edit, &QLineEdit::textChanged, this, changed);
    }
    for (QComboBox* box : {ChoiceBox, ChannelBox, SeaFloorBox, LengthBox}) {
        connect(box, &QComboBox::currentIndexChanged, this, changed);
    }
    connect(StackSpin, &QSpinBox::valueChanged, this, changed);
    connect(LoadTraceButton, &QPushButton::clicked, this, [this] { LoadTraceButtonClick(); });
    connect(CancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(SectionButton, &QPushButton::clicked, this, [this] { SectionButtonClick(); });
}

void SegyTraceForm::setSynthetic(const SeriesData& synthetic, std::optional<double> zeroMs) {
    synthetic_ = synthetic;
    syntheticZeroMs_ = zeroMs;
    if (sectionForm_ != nullptr) {
        sectionForm_->setSynthetic(synthetic, zeroMs);
    }
}

void SegyTraceForm::setCorePosition(const std::optional<CorePosition>& position) {
    corePosition_ = position;
}

void SegyTraceForm::SectionButtonClick() {
    guarded(errors_, [this] {
        if (!reader_) {
            return;
        }
        if (sectionForm_ == nullptr) {
            sectionForm_ = new SegySectionForm(errors_, this);
            connect(sectionForm_, &SegySectionForm::traceChosen, this, [this](int trace) {
                ChoiceBox->setCurrentIndex(static_cast<int>(TraceChoiceKind::Index));
                NumberEdit->setText(QString::number(trace + 1));
            });
        }
        sectionForm_->open(path_);
        sectionForm_->setSynthetic(synthetic_, syntheticZeroMs_);
        showChoice();
    });
}

void SegyTraceForm::offer(const std::filesystem::path& path, const LengthSpans& spans,
                          LoadHandler onLoad) {
    auto reader = std::make_unique<SegyReader>(path);
    const SegySummary summary = summarizeSegy(*reader);
    const SegyTraceHeader first = reader->traceHeader(0);
    reader_ = std::move(reader);
    path_ = path;
    if (sectionForm_ != nullptr) {
        sectionForm_->hide();
    }
    spans_ = spans;
    onLoad_ = std::move(onLoad);
    const SegyLayout& layout = reader_->layout();
    headerInterval_ = headerIntervalText(layout, first);

    QStringList lines;
    for (const std::string& line : segySummaryLines(summary)) {
        lines << qText(line);
    }
    SummaryText->setPlainText(lines.join('\n'));
    ChannelBox->clear();
    for (int i = 1; i <= layout.channels; ++i) {
        ChannelBox->addItem("Channel " + QString::number(i));
    }
    LengthBox->setItemText(1, spanItem("Synthetic span", spans.syntheticMs));
    LengthBox->setItemText(2, spanItem("Log two-way time", spans.logTwtMs));
    enableItem(LengthBox, 1, spans.syntheticMs > 0);
    enableItem(LengthBox, 2, spans.logTwtMs > 0);
    LengthBox->setCurrentIndex(spans.syntheticMs > 0 ? 1 : 0);
    ChoiceBox->setCurrentIndex(0);
    NumberEdit->setText("1");
    // The first trace's position shows how the line writes positions.
    NearXEdit->setPlaceholderText(qText(numbers::formatFixed(first.x, 2)));
    NearYEdit->setPlaceholderText(qText(numbers::formatFixed(first.y, 2)));
    NearXEdit->setText(corePosition_ ? qText(numbers::formatSignificant(corePosition_->x, 15))
                                     : "");
    NearYEdit->setText(corePosition_ ? qText(numbers::formatSignificant(corePosition_->y, 15))
                                     : "");
    StackSpin->setValue(0);
    IntervalEdit->setText(qText(headerInterval_));
    SeaFloorBox->setCurrentIndex(static_cast<int>(SeaFloorMode::Auto));
    SeaFloorEdit->clear();
    LengthEdit->clear();
    showChoice();
    keepInsideScreen(*this);
    show();
    raise();
}

SegyChoiceFields SegyTraceForm::fields() const {
    SegyChoiceFields f;
    f.kind = static_cast<TraceChoiceKind>(ChoiceBox->currentIndex());
    f.number = text(NumberEdit);
    f.x = text(NearXEdit);
    f.y = text(NearYEdit);
    f.channel = std::max(0, ChannelBox->currentIndex());
    f.stack = StackSpin->value();
    f.intervalMs = text(IntervalEdit);
    f.seaFloor = static_cast<SeaFloorMode>(SeaFloorBox->currentIndex());
    f.seaFloorMs = text(SeaFloorEdit);
    f.length = static_cast<LengthMode>(LengthBox->currentIndex());
    f.lengthMs = text(LengthEdit);
    return f;
}

// Keeps the chosen trace and the automatic pick in view as the fields change.
void SegyTraceForm::showChoice() {
    if (!reader_) {
        return;
    }
    const SegyChoiceFields f = fields();
    const bool near = f.kind == TraceChoiceKind::Near;
    NumberEdit->setEnabled(!near);
    // An index counts every trace in file order, whatever its channel.
    ChannelBox->setEnabled(reader_->layout().channels > 1 && f.kind != TraceChoiceKind::Index);
    SeaFloorEdit->setEnabled(f.seaFloor == SeaFloorMode::AtTime);
    LengthEdit->setEnabled(f.length == LengthMode::Given);
    const ChosenTrace chosen = chosenTrace(*reader_, f);
    ChosenLabel->setText(qText(chosen.text));
    if (sectionForm_ != nullptr && sectionForm_->isVisible()) {
        sectionForm_->setCorePosition(positionOf(f), f.channel);
    }
    if (chosen.index < 0) {
        PickLabel->clear();
        return;
    }
    try {
        SegyChoiceFields automatic = f;
        automatic.seaFloor = SeaFloorMode::Auto;
        automatic.length = LengthMode::Whole;
        const SegyLoad load = loadSegyTrace(*reader_, chosen.index,
                                            requestFromFields(automatic, spans_, headerInterval_));
        PickLabel->setText("Automatic pick: " + qText(numbers::formatFixed(*load.seaFloorMs, 3)) +
                           " ms, " + qText(std::string(SeaFloorPickRule)) + ".");
    } catch (const QuarvelError& error) {
        PickLabel->setText(qText(error.what()));
    }
    if (sectionForm_ != nullptr && sectionForm_->isVisible()) {
        sectionForm_->setChosen(chosen.index, f.stack);
    }
}

void SegyTraceForm::LoadTraceButtonClick() {
    guarded(errors_, [this] {
        if (!reader_) {
            return;
        }
        const SegyLoadRequest request = requestFromFields(fields(), spans_, headerInterval_);
        const SegyLoad load =
            loadSegyTrace(*reader_, chooseTrace(*reader_, request.choice), request);
        hide();
        if (onLoad_) {
            onLoad_(load);
        }
    });
    emit loadPressed();
}

} // namespace quarvel
