#include "tie/tie_form.h"

#include "document/workspace.h"
#include "engine/math_fun.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/image_file.h"
#include "platform/image_panel.h"
#include "plot/tie_plot.h"
#include "quarvel/version.h"
#include "survey/log_import_choices.h"
#include "tie/tie_depth_varying.h"
#include "tie/tie_match.h"
#include "tie/tie_report.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <exception>
#include <vector>

namespace quarvel {

namespace {

constexpr int PlotWidth = 300;
constexpr int PlotHeight = 150;

QLineEdit* field(QWidget* parent, const char* name, const QString& text) {
    auto* edit = new QLineEdit(text, parent);
    edit->setObjectName(QLatin1String(name));
    edit->setFixedWidth(60);
    return edit;
}

QString fixedText(double value, int decimals) {
    return QString::fromStdString(numbers::formatFixed(value, decimals));
}

} // namespace

TTieForm::TTieForm(Services& services) : services_(services), workspace_(services.workspace) {
    setObjectName(QStringLiteral("TieForm"));
    setWindowTitle(QStringLiteral("Tie"));
    setFont(layoutFont());
    auto* layout = new QGridLayout(this);

    // Empty fields take their ranges from the data: the factors that bring
    // the log's mean velocity to sea-floor sediment's, the shifts as far as
    // the trace reaches beyond the core.
    MaxShiftEdit = field(this, "MaxShiftEdit", QString());
    MinFactorEdit = field(this, "MinFactorEdit", QString());
    MaxFactorEdit = field(this, "MaxFactorEdit", QString());
    for (QLineEdit* edit : {MaxShiftEdit, MinFactorEdit, MaxFactorEdit}) {
        edit->setPlaceholderText(QStringLiteral("auto"));
    }
    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("Max. shift (ms)"), this));
    options->addWidget(MaxShiftEdit);
    options->addWidget(new QLabel(QStringLiteral("Velocity factor from"), this));
    options->addWidget(MinFactorEdit);
    options->addWidget(new QLabel(QStringLiteral("to"), this));
    options->addWidget(MaxFactorEdit);
    options->addStretch();
    layout->addLayout(options, 0, 0, 1, 2);

    TieResult =
        new QLabel(QStringLiteral("Press Measure to compare the synthetic with the trace."), this);
    TieResult->setObjectName(QStringLiteral("TieResult"));
    TieResult->setMinimumHeight(80);
    TieResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(TieResult, 1, 0, 1, 2);

    ShiftPlot = new ImagePanel(QStringLiteral("ShiftPlot"), PlotWidth, PlotHeight, this);
    FactorPlot = new ImagePanel(QStringLiteral("FactorPlot"), PlotWidth, PlotHeight, this);
    layout->addWidget(ShiftPlot, 2, 0);
    layout->addWidget(FactorPlot, 2, 1);

    MeasureButton = new QPushButton(QStringLiteral("Measure"), this);
    MeasureButton->setObjectName(QStringLiteral("MeasureButton"));
    ApplyButton = new QPushButton(QStringLiteral("Apply"), this);
    ApplyButton->setObjectName(QStringLiteral("ApplyButton"));
    ApplyButton->setToolTip(QStringLiteral(
        "Scale the velocities of the data editor's log by the best factor and save log.dat"));
    ApplyButton->setEnabled(false);
    SaveReportButton = new QPushButton(QStringLiteral("Save Tie Report\u2026"), this);
    SaveReportButton->setObjectName(QStringLiteral("SaveReportButton"));
    SavePlotsButton = new QPushButton(QStringLiteral("Save Plots\u2026"), this);
    SavePlotsButton->setObjectName(QStringLiteral("SavePlotsButton"));
    for (QPushButton* button : {SaveReportButton, SavePlotsButton}) {
        button->setEnabled(false);
    }
    CancelButton = new QPushButton(QStringLiteral("Cancel"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setEnabled(false);
    MeasureProgress = new QProgressBar(this);
    MeasureProgress->setObjectName(QStringLiteral("MeasureProgress"));
    MeasureProgress->setRange(0, 100);
    MeasureProgress->setVisible(false);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(MeasureProgress);
    buttons->addWidget(CancelButton);
    buttons->addWidget(SaveReportButton);
    buttons->addWidget(SavePlotsButton);
    buttons->addStretch();
    buttons->addWidget(MeasureButton);
    buttons->addWidget(ApplyButton);
    layout->addLayout(buttons, 3, 0, 1, 2);
    DepthVarying = new DepthVaryingPanel(services, this);
    layout->addWidget(DepthVarying, 4, 0, 1, 2);

    connect(MeasureButton, &QPushButton::clicked, this, [this] { MeasureButtonClick(); });
    connect(ApplyButton, &QPushButton::clicked, this, [this] { ApplyButtonClick(); });
    connect(SaveReportButton, &QPushButton::clicked, this, [this] { SaveReportButtonClick(); });
    Task<tie::TieMeasurement>& task = workspace_.tie().tieTask();
    connect(CancelButton, &QPushButton::clicked, &task, [&task] { task.cancel(); });
    connect(&task, &TaskRunner::progress, this,
            [this](double share) { MeasureProgress->setValue(static_cast<int>(share * 100)); });
    connect(&task, &TaskRunner::finished, this, [this] {
        finish();
        guarded(services_.errors,
                [this] { showMeasurement(*workspace_.tie().tieTask().result()); });
        emit measured();
    });
    connect(&task, &TaskRunner::failed, this, [this](const QString& message) {
        finish();
        TieResult->setText(QString());
        guarded(services_.errors, [&] { throw QuarvelError(message.toStdString()); });
        emit measured();
    });
    connect(&task, &TaskRunner::cancelled, this, [this] {
        finish();
        TieResult->setText(QStringLiteral("Measurement cancelled."));
        emit measured();
    });
    for (QLineEdit* edit : {MaxShiftEdit, MinFactorEdit, MaxFactorEdit}) {
        connect(edit, &QLineEdit::textEdited, this, [this] { clearResults(); });
        connect(edit, &QLineEdit::returnPressed, this, [this] { MeasureButtonClick(); });
    }
    connect(SavePlotsButton, &QPushButton::clicked, this, [this] { SavePlotsButtonClick(); });
}

TTieForm::~TTieForm() = default;

bool TTieForm::busy() const {
    return workspace_.tie().tieTask().running() || DepthVarying->busy();
}

void TTieForm::MeasureButtonClick() {
    guarded(services_.errors, [this] {
        if (busy()) {
            return;
        }
        workspace_.tie().startTieMeasurement(MaxShiftEdit->text().toStdString(),
                                             MinFactorEdit->text().toStdString(),
                                             MaxFactorEdit->text().toStdString());
        MeasureButton->setEnabled(false);
        ApplyButton->setEnabled(false);
        factor_.reset();
        measurement_.reset();
        SaveReportButton->setEnabled(false);
        SavePlotsButton->setEnabled(false);
        TieResult->setText(QStringLiteral("Measuring\u2026"));
        MeasureProgress->setValue(0);
        MeasureProgress->setVisible(true);
        CancelButton->setEnabled(true);
    });
}

void TTieForm::finish() {
    MeasureButton->setEnabled(true);
    CancelButton->setEnabled(false);
    MeasureProgress->setVisible(false);
}

void TTieForm::showMeasurement(const tie::TieMeasurement& m) {
    const tie::FactorPoint& best = m.bestPoint();
    const auto ms = [](double s, int decimals) { return fixedText(s * 1000, decimals); };
    QString text =
        (m.traceEnveloped ? QStringLiteral("Trace compared through its envelope")
                          : QStringLiteral("Trace compared as recorded (an envelope)")) +
        QStringLiteral(", from %1 to %2 ms below the sea floor (%3 samples).\n")
            .arg(ms(m.windowStart, 2), ms(m.windowEnd, 2))
            .arg(m.windowSamples) +
        QStringLiteral("Log as it is: coefficient at zero shift ") +
        fixedText(m.zeroShiftCoefficient, 3) + QStringLiteral(", best shift ") +
        ms(m.shifts[m.bulkShift], 3) + QStringLiteral(" ms (") +
        fixedText(m.atFactorOne[m.bulkShift], 3) + QStringLiteral(").\n") +
        QStringLiteral("Best velocity factor ") + fixedText(best.factor, 3) +
        QStringLiteral(" (%1 to %2), shift ")
            .arg(fixedText(m.factorLow, 3), fixedText(m.factorHigh, 3)) +
        ms(m.bestShift, 3) +
        QStringLiteral(" ms (%1 to %2), coefficient ").arg(ms(m.shiftLow, 3), ms(m.shiftHigh, 3)) +
        fixedText(best.coefficient, 3) + QStringLiteral(".\n") +
        QString::fromStdString(tie::significanceText(m));
    if (m.atSearchEdge) {
        text += QStringLiteral("\nThe best tie lies on an edge of the search: widen the "
                               "factor range or the maximum shift.");
    }
    std::vector<double> shiftMs;
    shiftMs.reserve(m.shifts.size());
    for (const double s : m.shifts) {
        shiftMs.push_back(s * 1000);
    }
    ShiftPlot->setPicture(renderCoefficientPlot(
        shiftMs, m.atBestFactor, tie::largest(m.atBestFactor),
        QStringLiteral("r against shift (ms)"), 2, PlotWidth, PlotHeight, font()));
    std::vector<double> factors;
    std::vector<double> coefficients;
    for (const tie::FactorPoint& point : m.factors) {
        factors.push_back(point.factor);
        coefficients.push_back(point.coefficient);
    }
    FactorPlot->setPicture(renderCoefficientPlot(factors, coefficients, m.best,
                                                 QStringLiteral("r against velocity factor"), 2,
                                                 PlotWidth, PlotHeight, font()));
    factor_ = best.factor;
    measurement_ = m;
    for (QPushButton* button : {ApplyButton, SaveReportButton, SavePlotsButton}) {
        button->setEnabled(true);
    }
    TieResult->setText(text);
}

void TTieForm::ApplyButtonClick() {
    guarded(services_.errors, [this] {
        if (!factor_) {
            return;
        }
        const double factor = workspace_.applyBulkTie();
        ApplyButton->setEnabled(false);
        QString next = QStringLiteral("\nVelocities scaled by ") + fixedText(factor, 3) +
                       QStringLiteral(". Press Calc. Synthetic, then Measure again.");
        // The synthetic's two-way times change with the velocities, the
        // trace's do not: a trace cut to the synthetic's span no longer
        // spans the same times.
        if (workspace_.series().trace().count() > 0) {
            next += QStringLiteral(" The trace panel keeps its time scale: load the trace "
                                   "again after Calc. Synthetic, so that it spans the new "
                                   "synthetic's times.");
        }
        TieResult->setText(TieResult->text() + next);
        factor_.reset();
    });
}

void TTieForm::clearResults() {
    if (!measurement_) {
        return;
    }
    measurement_.reset();
    factor_.reset();
    for (QPushButton* button : {ApplyButton, SaveReportButton, SavePlotsButton}) {
        button->setEnabled(false);
    }
    ShiftPlot->clearPicture();
    FactorPlot->clearPicture();
    TieResult->setText(QStringLiteral("The fields changed: press Measure (or Return) again."));
}

void TTieForm::SaveReportButtonClick() {
    guarded(services_.errors, [this] {
        if (!measurement_) {
            return;
        }
        const std::optional<QString> path =
            services_.dialogs.saveFile({QStringLiteral("Save Tie Report"),
                                        QStringLiteral("Text Files|*.TXT"), QStringLiteral("txt")});
        if (!path) {
            return;
        }
        tie::ReportSources sources;
        sources.log = workspace_.workDir().file(MathFun::LogFileName).string();
        sources.import = describeChoices(workspace_.logImportChoices());
        sources.wavelet = workspace_.workDir().file(MathFun::KlauderFileName).string();
        const ChirpTexts& chirp = workspace_.chirp().texts();
        sources.chirp = {chirp.start, chirp.end, chirp.interval};
        sources.trace = "the trace on show (the data editor's Trace page)";
        writeTextFile(path->toStdString(),
                      tie::tieReportText(*measurement_, sources, std::string(Version)));
    });
}

void TTieForm::SavePlotsButtonClick() {
    guarded(services_.errors, [this] {
        if (!ShiftPlot->hasPicture() || !FactorPlot->hasPicture()) {
            return;
        }
        const std::optional<QString> path = services_.dialogs.saveFile(
            {QStringLiteral("Save Plots"), QStringLiteral("PNG Pictures|*.PNG"),
             QStringLiteral("png")});
        if (!path) {
            return;
        }
        const QImage& shift = ShiftPlot->picture().image();
        const QImage& factor = FactorPlot->picture().image();
        QImage both(shift.width() + factor.width(), std::max(shift.height(), factor.height()),
                    QImage::Format_RGB32);
        both.fill(Qt::white);
        QPainter painter(&both);
        painter.drawImage(0, 0, shift);
        painter.drawImage(shift.width(), 0, factor);
        painter.end();
        writeImageFile(both, path->toStdString(), "PNG");
    });
}

} // namespace quarvel
