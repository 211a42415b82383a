#include "plot/scale_forms.h"

#include "document/workspace.h"
#include "platform/error_reporter.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <limits>

namespace quarvel {

namespace {

constexpr int FieldWidth = 105;
constexpr int FieldHeight = 22;

QSpinBox* boundField(QWidget* parent, const char* name, int value, const QPoint& at) {
    auto* field = new QSpinBox(parent);
    field->setObjectName(QLatin1String(name));
    // No bounds of its own: any whole number the user types is a scale.
    field->setRange(std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
    field->setSingleStep(1);
    field->setValue(value);
    field->setGeometry(QRect(at, QSize(FieldWidth, FieldHeight)));
    return field;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QPoint& at) {
    auto* result = new QPushButton(caption, parent);
    result->setObjectName(QLatin1String(name));
    result->setGeometry(QRect(at, QSize(75, 25)));
    return result;
}

} // namespace

LogScaleDialog::LogScaleDialog(Services& services, Log log, const QString& objectName,
                               const QString& caption)
    : services_(services), workspace_(services.workspace), log_(log) {
    setObjectName(objectName);
    setWindowTitle(caption);
    setModal(false);
}

void LogScaleDialog::build(const char* autoName, const char* minName, const char* maxName,
                           int fieldLeft, int labelLeft, const QSize& size) {
    setFixedSize(size);
    const LogScaleSettings& settings = workspace_.plotSettings().scales();
    const bool velocity = log_ == Log::Velocity;
    const int minimum = velocity ? settings.minVel : settings.minDens;
    const int maximum = velocity ? settings.maxVel : settings.maxDens;
    auto_ = new QCheckBox(QStringLiteral("Auto Scale"), this);
    auto_->setObjectName(QLatin1String(autoName));
    auto_->setGeometry(fieldLeft, 16, FieldWidth, 17);
    minimum_ = boundField(this, minName, minimum, QPoint(fieldLeft, 48));
    maximum_ = boundField(this, maxName, maximum, QPoint(fieldLeft, 88));
    (new QLabel(QStringLiteral("Min"), this))->move(labelLeft, 56);
    (new QLabel(QStringLiteral("Max"), this))->move(labelLeft, 96);
    ok_ = button(this, "BitBtn1", QStringLiteral("OK"), QPoint(8, 128));
    cancel_ = button(this, "BitBtn2", QStringLiteral("Cancel"), QPoint(88, 128));
    ok_->setDefault(true);

    connect(auto_, &QCheckBox::toggled, this, [this](bool automatic) {
        minimum_->setEnabled(!automatic);
        maximum_->setEnabled(!automatic);
    });
    auto_->setChecked(velocity ? settings.autoVel : settings.autoDens);
    connect(ok_, &QPushButton::clicked, this, [this] { okClick(); });
    connect(cancel_, &QPushButton::clicked, this, [this] { cancelClick(); });

    connect(auto_, &QCheckBox::toggled, this, [this] { store(); });
    connect(minimum_, &QSpinBox::valueChanged, this, [this] { store(); });
    connect(maximum_, &QSpinBox::valueChanged, this, [this] { store(); });
    connect(&workspace_.plotSettings(), &PlotSettings::scalesChanged, this,
            [this] { showSettings(); });
}

void LogScaleDialog::store() {
    LogScaleSettings settings = workspace_.plotSettings().scales();
    if (log_ == Log::Velocity) {
        settings.autoVel = auto_->isChecked();
        settings.minVel = minimum_->value();
        settings.maxVel = maximum_->value();
    } else {
        settings.autoDens = auto_->isChecked();
        settings.minDens = minimum_->value();
        settings.maxDens = maximum_->value();
    }
    workspace_.plotSettings().setScales(settings);
}

void LogScaleDialog::showSettings() {
    const LogScaleSettings& settings = workspace_.plotSettings().scales();
    const bool velocity = log_ == Log::Velocity;
    // Auto and both bounds go in before any is handed back to the workspace:
    // a stale Auto would be stored with the next bound typed.
    const QSignalBlocker autoBlocker(auto_);
    const QSignalBlocker minimumBlocker(minimum_);
    const QSignalBlocker maximumBlocker(maximum_);
    const bool automatic = velocity ? settings.autoVel : settings.autoDens;
    auto_->setChecked(automatic);
    minimum_->setEnabled(!automatic);
    maximum_->setEnabled(!automatic);
    minimum_->setValue(velocity ? settings.minVel : settings.minDens);
    maximum_->setValue(velocity ? settings.maxVel : settings.maxDens);
}

void LogScaleDialog::showEvent(QShowEvent* event) {
    rememberedMinimum_ = minimum_->value();
    rememberedMaximum_ = maximum_->value();
    QDialog::showEvent(event);
}

void LogScaleDialog::okClick() {
    guarded(services_.errors, [this] {
        hide();
        // Redrawing recomputes the scales from the log first, so automatic
        // bounds and the mean velocity follow the log as it stands now.
        workspace_.refreshLog();
    });
}

void LogScaleDialog::cancelClick() {
    guarded(services_.errors, [this] {
        minimum_->setValue(rememberedMinimum_);
        maximum_->setValue(rememberedMaximum_);
        hide();
    });
}

TVelScaleForm::TVelScaleForm(Services& services)
    : LogScaleDialog(services, Log::Velocity, QStringLiteral("VelScaleForm"),
                     QStringLiteral("P-wave")) {
    build("Autovel", "MinVel", "Maxvel", 32, 144, QSize(193, 182));
}

TDensityScaleForm::TDensityScaleForm(Services& services)
    : LogScaleDialog(services, Log::Density, QStringLiteral("DensityScaleForm"),
                     QStringLiteral("Density")) {
    build("autodens", "MinDens", "MaxDens", 24, 136, QSize(191, 183));
}

} // namespace quarvel
