#include "tie/tie_depth_varying.h"

#include "document/workspace.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "plot/depth_varying_plot.h"

#include <QBrush>
#include <QColor>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <algorithm>
#include <cmath>

namespace quarvel {
namespace {

constexpr int PlotWidth = 300;
constexpr int PlotHeight = 300;
// A list item's tie point: depth (m), trace time (ms), accepted or proposed.
constexpr int DepthRole = Qt::UserRole;
constexpr int TraceTwtRole = Qt::UserRole + 1;
constexpr int AcceptedRole = Qt::UserRole + 2;
const QString AlignHint =
    QStringLiteral("After Measure, Align stretches and squeezes the synthetic onto the trace.");

QString fixedText(double value, int decimals) {
    return QString::fromStdString(numbers::formatFixed(value, decimals));
}

QPushButton* button(QWidget* parent, const char* name, const QString& text) {
    auto* made = new QPushButton(text, parent);
    made->setObjectName(QLatin1String(name));
    return made;
}

} // namespace

DepthVaryingPanel::DepthVaryingPanel(Services& services, QWidget* parent)
    : QGroupBox(QStringLiteral("Depth-varying"), parent), services_(services),
      workspace_(services.workspace) {
    setObjectName(QStringLiteral("DepthVaryingPanel"));
    auto* layout = new QGridLayout(this);

    VelocityLimitEdit = new QLineEdit(QStringLiteral("25"), this);
    VelocityLimitEdit->setObjectName(QStringLiteral("VelocityLimitEdit"));
    VelocityLimitEdit->setFixedWidth(60);
    VelocityLimitEdit->setToolTip(QStringLiteral(
        "How far an interval's velocity may leave the bulk tie's, over any 20 cm or more"));
    AlignButton = button(this, "AlignButton", QStringLiteral("Align"));
    CancelAlignButton = button(this, "CancelAlignButton", QStringLiteral("Cancel"));
    CancelAlignButton->setEnabled(false);
    AlignProgress = new QProgressBar(this);
    AlignProgress->setObjectName(QStringLiteral("AlignProgress"));
    AlignProgress->setRange(0, 100);
    AlignProgress->setVisible(false);
    auto* options = new QHBoxLayout;
    options->addWidget(new QLabel(QStringLiteral("Velocity limit (%)"), this));
    options->addWidget(VelocityLimitEdit);
    options->addWidget(AlignButton);
    options->addWidget(AlignProgress);
    options->addWidget(CancelAlignButton);
    options->addStretch();
    layout->addLayout(options, 0, 0, 1, 2);

    AlignResult = new QLabel(AlignHint, this);
    AlignResult->setObjectName(QStringLiteral("AlignResult"));
    AlignResult->setWordWrap(true);
    AlignResult->setMinimumHeight(4 * AlignResult->fontMetrics().height());
    AlignResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(AlignResult, 1, 0, 1, 2);

    DepthVaryingPlot =
        new ImagePanel(QStringLiteral("DepthVaryingPlot"), PlotWidth, PlotHeight, this);
    layout->addWidget(DepthVaryingPlot, 2, 0, 2, 1);
    TiePointList = new QListWidget(this);
    TiePointList->setObjectName(QStringLiteral("TiePointList"));
    layout->addWidget(TiePointList, 2, 1);
    AcceptTieButton = button(this, "AcceptTieButton", QStringLiteral("Accept"));
    RemoveTieButton = button(this, "RemoveTieButton", QStringLiteral("Remove"));
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(AcceptTieButton);
    listButtons->addWidget(RemoveTieButton);
    listButtons->addStretch();
    layout->addLayout(listButtons, 3, 1);

    ApplyDepthVaryingButton = button(this, "ApplyDepthVaryingButton", QStringLiteral("Apply"));
    ApplyDepthVaryingButton->setToolTip(
        QStringLiteral("Give every interval of the log the velocity of the aligned time-depth "
                       "relation, save log.dat and calculate the synthetic again"));
    UndoApplyButton = button(this, "UndoApplyButton", QStringLiteral("Undo"));
    UndoApplyButton->setToolTip(QStringLiteral("Restore the log as it was before the last Apply"));
    SaveTimeDepthButton =
        button(this, "SaveTimeDepthButton", QStringLiteral("Save Time-Depth\u2026"));
    SaveCorrectedLogButton =
        button(this, "SaveCorrectedLogButton", QStringLiteral("Save Corrected Log\u2026"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(SaveTimeDepthButton);
    buttons->addWidget(SaveCorrectedLogButton);
    buttons->addStretch();
    buttons->addWidget(ApplyDepthVaryingButton);
    buttons->addWidget(UndoApplyButton);
    layout->addLayout(buttons, 4, 0, 1, 2);
    enableResultButtons(false);
    UndoApplyButton->setEnabled(false);

    connect(AlignButton, &QPushButton::clicked, this, [this] { AlignButtonClick(); });
    connect(VelocityLimitEdit, &QLineEdit::returnPressed, this, [this] { AlignButtonClick(); });
    connect(AcceptTieButton, &QPushButton::clicked, this, [this] { AcceptTieButtonClick(); });
    connect(RemoveTieButton, &QPushButton::clicked, this, [this] { RemoveTieButtonClick(); });
    connect(ApplyDepthVaryingButton, &QPushButton::clicked, this,
            [this] { ApplyDepthVaryingButtonClick(); });
    connect(UndoApplyButton, &QPushButton::clicked, this, [this] { UndoApplyButtonClick(); });
    connect(SaveTimeDepthButton, &QPushButton::clicked, this,
            [this] { SaveTimeDepthButtonClick(); });
    connect(SaveCorrectedLogButton, &QPushButton::clicked, this,
            [this] { SaveCorrectedLogButtonClick(); });
    connect(&workspace_, &Workspace::logChanged, this,
            [this] { UndoApplyButton->setEnabled(workspace_.log().canUndoApply() && !busy()); });

    Task<DepthVaryingResult>& align = workspace_.tie().depthVaryingTask();
    Task<AppliedTie>& apply = workspace_.tie().applyTask();
    connect(CancelAlignButton, &QPushButton::clicked, this, [&align, &apply] {
        align.cancel();
        apply.cancel();
    });
    for (TaskRunner* task : {static_cast<TaskRunner*>(&align), static_cast<TaskRunner*>(&apply)}) {
        connect(task, &TaskRunner::progress, this,
                [this](double share) { AlignProgress->setValue(static_cast<int>(share * 100)); });
        connect(task, &TaskRunner::failed, this, [this](const QString& message) {
            ended();
            guarded(services_.errors, [&] { throw QuarvelError(message.toStdString()); });
            emit finished();
        });
        connect(task, &TaskRunner::cancelled, this, [this] {
            ended();
            AlignResult->setText(AlignResult->text() + QStringLiteral("\nCancelled."));
            emit finished();
        });
    }
    connect(&align, &TaskRunner::finished, this, [this] {
        ended();
        emit finished();
    });
    connect(&workspace_.tie(), &TieModel::depthVaryingChanged, this,
            [this] { guarded(services_.errors, [this] { showHeld(); }); });
    connect(&apply, &TaskRunner::finished, this, [this] {
        ended();
        // The tie was measured on the log as it was: Apply again means Measure and Align again.
        ApplyDepthVaryingButton->setEnabled(false);
        const AppliedTie& applied = *workspace_.tie().applyTask().result();
        AlignResult->setText(AlignResult->text() +
                             QStringLiteral("\nApplied. Coefficient of the log at its best "
                                            "shift: %1 before, %2 after.")
                                 .arg(fixedText(applied.before, 3), fixedText(applied.after, 3)));
        emit finished();
    });
}

DepthVaryingPanel::~DepthVaryingPanel() = default;

bool DepthVaryingPanel::busy() const {
    return workspace_.tie().depthVaryingTask().running() || workspace_.tie().applyTask().running();
}

void DepthVaryingPanel::started() {
    AlignButton->setEnabled(false);
    enableResultButtons(false);
    UndoApplyButton->setEnabled(false);
    AlignProgress->setValue(0);
    AlignProgress->setVisible(true);
    CancelAlignButton->setEnabled(true);
}

void DepthVaryingPanel::ended() {
    AlignButton->setEnabled(true);
    CancelAlignButton->setEnabled(false);
    AlignProgress->setVisible(false);
    UndoApplyButton->setEnabled(workspace_.log().canUndoApply());
    enableResultButtons(workspace_.tie().depthVaryingTie().has_value());
}

void DepthVaryingPanel::showHeld() {
    const std::optional<DepthVaryingResult>& held = workspace_.tie().depthVaryingTie();
    if (held) {
        showResult(*held);
    } else {
        AlignResult->setText(AlignHint);
        TiePointList->clear();
        DepthVaryingPlot->clearPicture();
    }
    enableResultButtons(held.has_value() && !busy());
}

void DepthVaryingPanel::enableResultButtons(bool enabled) {
    for (QPushButton* b : {AcceptTieButton, RemoveTieButton, ApplyDepthVaryingButton,
                           SaveTimeDepthButton, SaveCorrectedLogButton}) {
        b->setEnabled(enabled);
    }
}

void DepthVaryingPanel::AlignButtonClick() {
    guarded(services_.errors, [this] {
        if (busy()) {
            return;
        }
        workspace_.tie().startDepthVaryingTie(VelocityLimitEdit->text().toStdString());
        started();
        AlignResult->setText(QStringLiteral("Aligning\u2026"));
    });
}

void DepthVaryingPanel::showResult(const DepthVaryingResult& result) {
    const tie::DepthVaryingTie& tie = result.tie;
    if (result.fromSession) {
        AlignResult->setText(
            QStringLiteral("The depth-varying tie kept in the session, through %1 accepted tie "
                           "points. Measure and Align test it again before Apply.")
                .arg(workspace_.tie().acceptedTies().size()));
        listTies(result);
        DepthVaryingPlot->clearPicture();
        return;
    }
    QString text =
        QStringLiteral("Depth-varying coefficient %1 (bulk tie %2 over the same samples); "
                       "%3 of %4 unrelated traces aligned as well, p = %5: ")
            .arg(fixedText(tie.alignment.coefficient, 3),
                 fixedText(tie.alignment.bulkCoefficient, 3))
            .arg(tie.asGood)
            .arg(tie.surrogates)
            .arg(fixedText(tie.nullPValue, 3));
    if (tie.significant) {
        text += QStringLiteral("the stretching is supported.");
    } else if (!(tie.alignment.coefficient > tie.alignment.bulkCoefficient)) {
        text += QStringLiteral("not supported: the alignment matches worse than the bulk tie.");
    } else if (!result.request.bulkSignificant) {
        text += QStringLiteral("not supported, because the bulk tie itself is not significant.");
    } else {
        text += QStringLiteral("not supported: an unrelated trace aligns as well.");
    }
    AlignResult->setText(text);
    listTies(result);
    drawPlot(result);
}

void DepthVaryingPanel::listTies(const DepthVaryingResult& result) {
    TiePointList->clear();
    const double spacing = result.request.warp.limits.interval;
    const std::vector<tie::FixedTie>& accepted = workspace_.tie().acceptedTies();
    const auto add = [this](const QString& text, double depth, double traceMs, bool isAccepted) {
        auto* item = new QListWidgetItem(text, TiePointList);
        item->setData(DepthRole, depth);
        item->setData(TraceTwtRole, traceMs);
        item->setData(AcceptedRole, isAccepted);
        item->setForeground(
            QBrush(QColor::fromRgb(isAccepted ? AcceptedTieColor : ProposedTieColor)));
    };
    for (const tie::FixedTie& point : accepted) {
        add(QStringLiteral("%1 m at %2 ms, accepted")
                .arg(fixedText(point.depth, 4), fixedText(point.twt * 1000, 3)),
            point.depth, point.twt * 1000, true);
    }
    for (const tie::ProposedTie& point : result.tie.proposals) {
        const bool near = std::any_of(accepted.begin(), accepted.end(), [&](const auto& a) {
            return std::abs(a.depth - point.depth) < spacing;
        });
        const bool removed =
            std::find(removed_.begin(), removed_.end(), point.depth) != removed_.end();
        if (!near && !removed) {
            add(QStringLiteral("%1 m: %2 \u2192 %3 ms, r %4")
                    .arg(fixedText(point.depth, 4), fixedText(point.bulkTwt, 3),
                         fixedText(point.traceTwt, 3), fixedText(point.coefficient, 2)),
                point.depth, point.traceTwt, false);
        }
    }
}

void DepthVaryingPanel::drawPlot(const DepthVaryingResult& result) {
    const tie::WarpRequest& warp = result.request.warp;
    const tie::Alignment& alignment = result.tie.alignment;
    TimedSeries before;
    TimedSeries after;
    for (std::size_t k = 0; k < warp.synthetic.time.size(); ++k) {
        const double bulk = warp.synthetic.time[k] + warp.shift;
        before.time.push_back(bulk * 1000);
        after.time.push_back((bulk + alignment.lagAt(bulk)) * 1000);
    }
    before.value = warp.synthetic.value;
    after.value = warp.synthetic.value;
    TimedSeries trace;
    for (const double t : warp.trace.time) {
        trace.time.push_back(t * 1000);
    }
    trace.value = warp.trace.value;
    std::vector<JoinedTie> ties;
    for (int i = 0; i < TiePointList->count(); ++i) {
        const QListWidgetItem* item = TiePointList->item(i);
        const double depth = item->data(DepthRole).toDouble();
        ties.push_back({warp.synthDepth.twtAt(depth) + warp.shift * 1000,
                        item->data(TraceTwtRole).toDouble(), item->data(AcceptedRole).toBool()});
    }
    DepthVaryingPlot->setPicture(
        renderDepthVaryingPlot(before, trace, after, ties, PlotWidth, PlotHeight, font()));
}

void DepthVaryingPanel::AcceptTieButtonClick() {
    guarded(services_.errors, [this] {
        const QListWidgetItem* item = TiePointList->currentItem();
        if (!item || item->data(AcceptedRole).toBool() || busy()) {
            return;
        }
        workspace_.tie().acceptTie(
            {item->data(DepthRole).toDouble(), item->data(TraceTwtRole).toDouble() / 1000});
        AlignButtonClick();
    });
}

void DepthVaryingPanel::RemoveTieButtonClick() {
    guarded(services_.errors, [this] {
        QListWidgetItem* item = TiePointList->currentItem();
        if (!item || busy()) {
            return;
        }
        const double depth = item->data(DepthRole).toDouble();
        if (item->data(AcceptedRole).toBool()) {
            workspace_.tie().removeAcceptedTie(depth);
            AlignButtonClick();
            return;
        }
        removed_.push_back(depth);
        delete item;
        drawPlot(*workspace_.tie().depthVaryingTie());
    });
}

void DepthVaryingPanel::ApplyDepthVaryingButtonClick() {
    guarded(services_.errors, [this] {
        const auto& result = workspace_.tie().depthVaryingTie();
        if (!result || busy()) {
            return;
        }
        if (!result->tie.significant && !result->fromSession &&
            !services_.dialogs.askYesNo(QStringLiteral(
                "The depth-varying tie is not supported: an unrelated trace, or a bulk tie that "
                "may be chance, does as well. Rewrite the log's velocities all the same?"))) {
            return;
        }
        workspace_.applyDepthVaryingTie();
        started();
    });
}

void DepthVaryingPanel::UndoApplyButtonClick() {
    guarded(services_.errors, [this] {
        if (busy()) {
            return;
        }
        workspace_.undoApply();
        AlignResult->setText(AlignResult->text() +
                             QStringLiteral("\nUndone: the log is as it was before Apply."));
    });
}

void DepthVaryingPanel::SaveTimeDepthButtonClick() {
    guarded(services_.errors, [this] {
        const std::optional<QString> path =
            services_.dialogs.saveFile({QStringLiteral("Save Time-Depth Table"),
                                        QStringLiteral("CSV Files|*.CSV"), QStringLiteral("csv")});
        if (path) {
            workspace_.tie().exportDepthVaryingTable(path->toStdString());
        }
    });
}

void DepthVaryingPanel::SaveCorrectedLogButtonClick() {
    guarded(services_.errors, [this] {
        const std::optional<QString> path =
            services_.dialogs.saveFile({QStringLiteral("Save Corrected Log"),
                                        QStringLiteral("LAS Files|*.LAS"), QStringLiteral("las")});
        if (path) {
            workspace_.tie().exportCorrectedLog(path->toStdString());
        }
    });
}

} // namespace quarvel
