#include "editor/segy_section_form.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "platform/window_geometry.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <cmath>

namespace quarvel {
namespace {

// A wheel step halves or doubles the traces in view; a view keeps at least
// this many traces.
constexpr double ZoomStep = 0.5;
constexpr int FewestTraces = 8;
// A press and release closer than this (pixels) is a click, not a drag.
constexpr int ClickSlack = 3;

QString fixed(double value, int decimals) {
    return QString::fromStdString(numbers::formatFixed(value, decimals));
}

} // namespace

SegySectionForm::SegySectionForm(ErrorReporter& errors, QWidget* parent)
    : QWidget(parent, Qt::Window), errors_(errors) {
    setObjectName("SegySectionForm");
    setWindowTitle("SEG-Y Section");
    build();
}

SegySectionForm::~SegySectionForm() = default;

void SegySectionForm::build() {
    ColoursBox = new QComboBox;
    ColoursBox->setObjectName("ColoursBox");
    ColoursBox->addItems({"Grey", "Blue-white-red"});
    ClipSpin = new QSpinBox;
    ClipSpin->setObjectName("ClipSpin");
    ClipSpin->setRange(50, 100);
    ClipSpin->setValue(98);
    ClipSpin->setSuffix(" % clip");
    AcrossBox = new QComboBox;
    AcrossBox->setObjectName("AcrossBox");
    AcrossBox->addItems({"Trace number", "Distance"});
    FlattenCheck = new QCheckBox("Flatten on sea floor");
    FlattenCheck->setObjectName("FlattenCheck");
    InsetCheck = new QCheckBox("Synthetic inset");
    InsetCheck->setObjectName("InsetCheck");
    InsetCheck->setChecked(true);
    WholeLineButton = new QPushButton("Whole line");
    WholeLineButton->setObjectName("WholeLineButton");
    SectionImage = new ImagePanel("SectionImage", SectionLeft + SectionWidth + SectionRight,
                                  SectionTop + SectionHeight + SectionBottom);
    SectionImage->installEventFilter(this);
    HoverLabel = new QLabel;
    HoverLabel->setObjectName("HoverLabel");
    CoreLabel = new QLabel;
    CoreLabel->setObjectName("CoreLabel");
    BuildProgress = new QProgressBar;
    BuildProgress->setObjectName("BuildProgress");
    CancelBuildButton = new QPushButton("Cancel");
    CancelBuildButton->setObjectName("CancelBuildButton");
    CancelBuildButton->setEnabled(false);

    auto* tools = new QHBoxLayout;
    for (QWidget* widget : std::initializer_list<QWidget*>{
             ColoursBox, ClipSpin, AcrossBox, FlattenCheck, InsetCheck, WholeLineButton}) {
        tools->addWidget(widget);
    }
    tools->addStretch();
    auto* status = new QHBoxLayout;
    status->addWidget(HoverLabel, 1);
    status->addWidget(BuildProgress);
    status->addWidget(CancelBuildButton);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(SectionImage);
    layout->addWidget(CoreLabel);
    layout->addLayout(status);

    const auto restyle = [this] { guarded(errors_, [this] { redraw(); }); };
    connect(ColoursBox, &QComboBox::currentIndexChanged, this, restyle);
    connect(ClipSpin, &QSpinBox::valueChanged, this, restyle);
    connect(AcrossBox, &QComboBox::currentIndexChanged, this, restyle);
    connect(InsetCheck, &QCheckBox::toggled, this, restyle);
    connect(FlattenCheck, &QCheckBox::toggled, this,
            [this] { guarded(errors_, [this] { rebuild(shown_); }); });
    connect(WholeLineButton, &QPushButton::clicked, this, [this] {
        guarded(errors_, [this] {
            if (reader_) {
                rebuild({0, reader_->layout().traceCount - 1});
            }
        });
    });
    connect(CancelBuildButton, &QPushButton::clicked, this, [this] { cancelled_ = true; });
    connect(SectionImage, &ImagePanel::mouseMoved, this, [this](int x, int y) { hover(x, y); });
    connect(SectionImage, &ImagePanel::mousePressed, this,
            [this](int x, int, Qt::MouseButton button) { press(x, button); });
    connect(SectionImage, &ImagePanel::mouseReleased, this,
            [this](int x, int, Qt::MouseButton button) {
                guarded(errors_, [&] { release(x, button); });
            });
}

void SegySectionForm::open(const std::filesystem::path& path) {
    auto reader = std::make_unique<SegyReader>(path);
    reader_ = std::move(reader);
    section_ = {};
    findCore();
    setWindowTitle("SEG-Y Section - " + QString::fromStdString(path.filename().string()));
    show();
    raise();
    keepInsideScreen(*this);
    rebuild({0, reader_->layout().traceCount - 1});
}

void SegySectionForm::setChosen(int trace, int stack) {
    style_.chosenTrace = trace;
    style_.stackTraces = stack;
    guarded(errors_, [this] { redraw(); });
}

void SegySectionForm::setSynthetic(const SeriesData& synthetic, std::optional<double> zeroMs) {
    synthetic_ = synthetic;
    syntheticZeroMs_ = zeroMs;
    guarded(errors_, [this] { redraw(); });
}

void SegySectionForm::setCorePosition(const std::optional<CorePosition>& position, int channel) {
    if (position == core_ && channel == coreChannel_) {
        return;
    }
    core_ = position;
    coreChannel_ = channel;
    findCore();
    guarded(errors_, [this] { redraw(); });
}

void SegySectionForm::findCore() {
    style_.coreFirst = style_.coreLast = -1;
    CoreLabel->clear();
    if (!reader_ || !core_) {
        return;
    }
    try {
        NearestTraces nearest;
        chooseTrace(*reader_, {TraceChoiceKind::Near, 0, coreChannel_, core_->x, core_->y},
                    &nearest);
        style_.coreFirst = nearest.first;
        style_.coreLast = nearest.last;
        CoreLabel->setText(QString::fromStdString(corePositionText(nearest)));
    } catch (const QuarvelError& error) {
        // A line without positions, or a channel it lacks, has no core to
        // mark; the reason shows where the mark's report would.
        CoreLabel->setText(QString::fromStdString(error.what()));
    }
}

void SegySectionForm::rebuild(TraceSpan span) {
    if (!reader_ || building_) {
        return;
    }
    SectionRequest request;
    request.firstTrace = span.first;
    request.lastTrace = span.last;
    request.width = SectionWidth;
    request.height = SectionHeight;
    request.flatten = FlattenCheck->isChecked();
    building_ = true;
    cancelled_ = false;
    CancelBuildButton->setEnabled(true);
    // The window stays live while the traces are read, so Cancel can be
    // pressed; the mouse on the section is ignored meanwhile.
    struct Done {
        SegySectionForm* form;
        ~Done() {
            form->building_ = false;
            form->CancelBuildButton->setEnabled(false);
        }
    } done{this};
    SegySection built = buildSegySection(*reader_, request, [this](int count, int total) {
        BuildProgress->setRange(0, total);
        BuildProgress->setValue(count);
        QCoreApplication::processEvents();
        return !cancelled_;
    });
    if (built.width == 0) {
        HoverLabel->setText("Stopped: the section shows what it showed before.");
        return;
    }
    section_ = std::move(built);
    shown_ = span;
    style_.channels = reader_->layout().channels;
    redraw();
}

void SegySectionForm::redraw() {
    if (section_.width == 0) {
        return;
    }
    style_.colours =
        ColoursBox->currentIndex() == 1 ? SectionColours::Diverging : SectionColours::Grey;
    style_.clipPercent = ClipSpin->value();
    const SectionAcross across =
        AcrossBox->currentIndex() == 1 ? SectionAcross::Distance : SectionAcross::TraceNumber;
    QImage picture = renderSectionPicture(section_, style_, across, Canvas::defaultFont());
    if (InsetCheck->isChecked()) {
        drawSectionInset(picture, section_, style_.chosenTrace, synthetic_, syntheticZeroMs_);
    }
    SectionImage->setPicture(picture);
    SectionImage->update();
}

void SegySectionForm::hover(int x, int y) {
    const int column = sectionColumnAt(section_, x);
    const int row = y - SectionTop;
    if (column < 0 || row < 0 || row >= section_.height) {
        HoverLabel->clear();
        return;
    }
    const SectionColumn& c = section_.columns[static_cast<std::size_t>(column)];
    HoverLabel->setText("Trace " + QString::number(c.trace + 1) + ", shot " +
                        QString::number(c.fieldRecord) + ", X " + fixed(c.x, 2) + ", Y " +
                        fixed(c.y, 2) + ", " + fixed(c.distance, 1) + " m along; " +
                        fixed(section_.rowTimeMs(row), 3) +
                        (section_.flattened ? " ms below the sea floor" : " ms"));
}

void SegySectionForm::press(int x, Qt::MouseButton button) {
    pressedAt_ = button == Qt::LeftButton && !building_ ? x : -1;
}

// A click chooses the trace under it; a drag moves the line along by the
// traces it spans.
void SegySectionForm::release(int x, Qt::MouseButton button) {
    if (button != Qt::LeftButton || pressedAt_ < 0 || building_) {
        return;
    }
    const int from = pressedAt_;
    pressedAt_ = -1;
    if (std::abs(x - from) <= ClickSlack) {
        const int column = sectionColumnAt(section_, x);
        if (column >= 0) {
            emit traceChosen(section_.columns[static_cast<std::size_t>(column)].trace);
        }
        return;
    }
    const double perColumn =
        static_cast<double>(shown_.last - shown_.first + 1) / std::max(section_.width, 1);
    rebuild(pannedSpan(shown_, std::llround((from - x) * perColumn), reader_->layout().traceCount));
}

bool SegySectionForm::eventFilter(QObject* watched, QEvent* event) {
    if (watched == SectionImage && event->type() == QEvent::Wheel && reader_ && !building_) {
        const auto* wheel = static_cast<QWheelEvent*>(event);
        const int column = sectionColumnAt(section_, static_cast<int>(wheel->position().x()));
        if (column >= 0 && wheel->angleDelta().y() != 0) {
            const int about = section_.columns[static_cast<std::size_t>(column)].trace;
            const double factor = wheel->angleDelta().y() > 0 ? ZoomStep : 1 / ZoomStep;
            guarded(errors_, [&] {
                rebuild(
                    zoomedSpan(shown_, about, factor, reader_->layout().traceCount, FewestTraces));
            });
        }
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace quarvel
