// The main window's part of the tie: the tie points kept from the marks and
// their export, the log's time-depth table, and where the synthetic's time 0
// lies, with the warning when its strongest arrival is far from the sea
// floor's; the Tie window opens from the Open menu. The depth-varying tie's
// points are marked on the trace, where a mark dragged moves its point.
#include "document/workspace.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "main_window/main_form.h"
#include "main_window/main_form_export.h"
#include "platform/canvas.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "plot/depth_varying_plot.h"
#include "plot/series_panel.h"
#include "probe/depth_twt.h"
#include "tie/tie_points.h"

#include <QAction>
#include <QCheckBox>
#include <QMenu>
#include <QStatusBar>
#include <algorithm>
#include <array>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <utility>
#include <vector>

namespace quarvel {

namespace {

// The warning stays this long; the read-outs show again after it.
constexpr int TimeZeroWarningMs = 20000;
// A press this many pixels from a tie point's mark takes hold of it.
constexpr int TieMarkReach = 3;

QAction* tieAction(QWidget* owner, const char* name, const QString& caption) {
    auto* action = new QAction(caption, owner);
    action->setObjectName(QLatin1String(name));
    return action;
}

// A CSV file to write, or nothing when the user cancels (or will not replace
// the file there).
std::optional<std::filesystem::path> askCsvFile(Dialogs& dialogs, const QString& title) {
    const std::optional<QString> name =
        dialogs.saveFile({title, QStringLiteral("CSV Files|*.CSV"), QStringLiteral("csv")});
    if (!name || name->isEmpty()) {
        return std::nullopt;
    }
    return std::filesystem::path(name->toStdString());
}

} // namespace

void TMainForm::buildTieMenus(QMenu* file, QMenu* open, QMenu* set) {
    ExportTiePoints1 =
        tieAction(this, "ExportTiePoints1", QStringLiteral("Export Tie &Points\u2026"));
    ClearTiePoints1 = tieAction(this, "ClearTiePoints1", QStringLiteral("C&lear Tie Points"));
    ExportTimeDepth1 =
        tieAction(this, "ExportTimeDepth1", QStringLiteral("Export &Time-Depth Table\u2026"));
    // Between "Create Final Plot" and "Exit", which stays the last item.
    file->insertSeparator(Exit1);
    ExportTieDepth1 = tieAction(this, "ExportTieDepth1",
                                QStringLiteral("&Export Time-Depth Table from Tie Points\u2026"));
    file->insertActions(Exit1,
                        {ExportTiePoints1, ClearTiePoints1, ExportTimeDepth1, ExportTieDepth1});
    addExportMenuItems(file, Exit1, this, services_);
    file->insertSeparator(Exit1);

    Tie1 = tieAction(this, "Tie1", QStringLiteral("&Tie"));
    open->addAction(Tie1);

    SeaFloorStart1 =
        tieAction(this, "SeaFloorStart1", QStringLiteral("&Synthetic Starts at Sea Floor"));
    SeaFloorStart1->setCheckable(true);
    set->addAction(SeaFloorStart1);
    AntiAliased1 = tieAction(this, "AntiAliased1", QStringLiteral("Anti-aliased &impedance"));
    AntiAliased1->setCheckable(true);
    AntiAliased1->setToolTip(QStringLiteral(
        "Calc. Synthetic averages the impedance over each sample's time cell, so beds thinner "
        "than a sample are not aliased"));
    set->addAction(AntiAliased1);

    connect(ExportTiePoints1, &QAction::triggered, this, [this] { ExportTiePoints1Click(); });
    connect(ClearTiePoints1, &QAction::triggered, this, [this] { ClearTiePoints1Click(); });
    connect(ExportTimeDepth1, &QAction::triggered, this, [this] { ExportTimeDepth1Click(); });
    connect(ExportTieDepth1, &QAction::triggered, this, [this] { ExportTieDepth1Click(); });
    connect(Tie1, &QAction::triggered, this, [this] { Tie1Click(); });
    connect(SeaFloorStart1, &QAction::toggled, this, [this](bool checked) {
        workspace_.tie().setTimeZero(checked ? MathFun::TimeZero::SeaFloor
                                             : MathFun::TimeZero::Strongest);
    });
    // The item follows the workspace's choice, also when a session sets it.
    connect(&workspace_.tie(), &TieModel::timeZeroChanged, this, [this] {
        SeaFloorStart1->setChecked(workspace_.tie().timeZero() == MathFun::TimeZero::SeaFloor);
    });
    connect(AntiAliased1, &QAction::toggled, this,
            [this](bool checked) { workspace_.setAntiAliased(checked); });
    connect(&workspace_, &Workspace::antiAliasedChanged, this,
            [this] { AntiAliased1->setChecked(workspace_.antiAliased()); });
    connect(&workspace_, &Workspace::synthComputed, this, [this] { showTimeZeroWarning(); });
    for (auto changed : {&TieModel::depthVaryingChanged, &TieModel::acceptedTiesChanged}) {
        connect(&workspace_.tie(), changed, this,
                [this] { guarded(services_.errors, [this] { remarkTrace(); }); });
    }
    // A press near a depth-varying tie point's mark, a drag in time and the
    // release move the point; the document aligns again through it.
    connect(Grafico_traccia, &ImagePanel::mousePressed, this,
            [this](int, int y, Qt::MouseButton button, bool) {
                guarded(services_.errors, [&] { pressTieMark(y, button); });
            });
    connect(Grafico_traccia, &ImagePanel::mouseMoved, this,
            [this](int, int y) { guarded(services_.errors, [&] { dragTieMark(y); }); });
    connect(Grafico_traccia, &ImagePanel::mouseReleased, this, [this](int, int y, Qt::MouseButton) {
        guarded(services_.errors, [&] { releaseTieMark(y); });
    });
}

void TMainForm::showTimeZeroWarning() {
    // A note in the status bar, not a box to dismiss: the synthetic is drawn
    // and usable, only its time 0 is suspect.
    QStringList warnings;
    for (const QString& warning : {workspace_.timeZeroWarning(), workspace_.aliasingWarning()}) {
        if (!warning.isEmpty()) {
            warnings << warning;
        }
    }
    const QString warning = warnings.join(QLatin1Char(' '));
    if (warning.isEmpty()) {
        statusBar()->clearMessage();
    } else {
        statusBar()->showMessage(warning, TimeZeroWarningMs);
    }
}

void TMainForm::ExportTiePoints1Click() {
    guarded(services_.errors, [this] {
        if (const auto path = askCsvFile(services_.dialogs, QStringLiteral("Export Tie Points"))) {
            workspace_.tie().exportTiePoints(*path);
        }
    });
}

void TMainForm::ClearTiePoints1Click() {
    guarded(services_.errors, [this] {
        const auto count = static_cast<qsizetype>(workspace_.tie().tiePoints().size());
        if (count == 0 ||
            !services_.dialogs.askYesNo(
                count == 1
                    ? QStringLiteral("Clear the tie point and its marks on the panels?")
                    : QStringLiteral("Clear the %1 tie points and their marks on the panels?")
                          .arg(count))) {
            return;
        }
        workspace_.tie().clearTiePoints();
        workspace_.marks().clear();
    });
}

void TMainForm::removeMarks() {
    std::array<std::pair<bool, bool>, 5> states;
    const std::array<QCheckBox*, 5> boxes{Photo, Synth, Trace, Pwave, density};
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        states[i] = {boxes[i]->isEnabled(), boxes[i]->isChecked()};
    }
    if (!workspace_.photograph().image().isNull()) {
        showPhotograph();
    }
    if (Grafico_sintetico->hasPicture()) {
        drawSynthetic();
    }
    if (Grafico_traccia->hasPicture()) {
        drawTrace();
    }
    if (Grafico_velocita->hasPicture()) {
        drawLogPanels();
    }
    for (std::size_t i = 0; i < boxes.size(); ++i) {
        boxes[i]->setEnabled(states[i].first);
        boxes[i]->setChecked(states[i].second);
    }
}

void TMainForm::ExportTimeDepth1Click() {
    guarded(services_.errors, [this] {
        // Made first: without a log there is nothing to ask a file for.
        const std::string csv = workspace_.timeDepthCsv();
        if (const auto path =
                askCsvFile(services_.dialogs, QStringLiteral("Export Time-Depth Table"))) {
            writeTextFile(*path, csv);
        }
    });
}

void TMainForm::ExportTieDepth1Click() {
    guarded(services_.errors, [this] {
        const std::string csv = tie::tiePointTimeDepthCsv(workspace_.tie().tiePoints());
        if (const auto path = askCsvFile(
                services_.dialogs, QStringLiteral("Export Time-Depth Table from Tie Points"))) {
            writeTextFile(*path, csv);
        }
    });
}

void TMainForm::Tie1Click() {
    guarded(services_.errors, [this] { services_.forms.showAndRaise(FormId::TieForm); });
}

std::vector<TMainForm::TraceTieMark> TMainForm::depthVaryingMarks() const {
    std::vector<TraceTieMark> marks;
    const std::optional<DepthVaryingResult>& held = workspace_.tie().depthVaryingTie();
    if (!held || !Grafico_traccia->hasPicture()) {
        return marks;
    }
    const SeriesExtents trace = workspace_.series().traceExtents();
    const auto row = [&](double ms) {
        return depth_twt::traceMarkRow(ms, trace.timeFirst, trace.timeLast,
                                       Grafico_traccia->panelHeight());
    };
    for (const tie::FixedTie& point : workspace_.tie().acceptedTies()) {
        marks.push_back({point.depth, row(point.twt * 1000), AcceptedTieColor});
    }
    for (const tie::ProposedTie& point : held->tie.proposals) {
        marks.push_back({point.depth, row(point.traceTwt), ProposedTieColor});
    }
    return marks;
}

void TMainForm::drawDepthVaryingTies() {
    Canvas& picture = Grafico_traccia->picture();
    const QRgb pen = picture.penColor();
    const auto line = [&](int row, QRgb color) {
        picture.setPenColor(color);
        picture.moveTo(1, row);
        picture.lineTo(Grafico_traccia->panelWidth() - 1, row);
    };
    for (const TraceTieMark& mark : depthVaryingMarks()) {
        if (!traceDrag_ || mark.depth != traceDrag_->depth) {
            line(mark.row, mark.color);
        }
    }
    if (traceDrag_ && traceDrag_->moved) {
        line(traceDrag_->row, AcceptedTieColor);
    }
    picture.setPenColor(pen);
    Grafico_traccia->update();
}

void TMainForm::remarkTrace() {
    if (!Grafico_traccia->hasPicture()) {
        return;
    }
    Grafico_traccia->setPicture(
        renderSeriesPanel(workspace_.series().trace(), workspace_.series().traceExtents(),
                          QStringLiteral("Seismic Trace"), Grafico_traccia->panelWidth(),
                          Grafico_traccia->panelHeight(), workspace_.plotSettings().font()));
    drawMarks();
    drawDepthVaryingTies();
}

void TMainForm::pressTieMark(int y, Qt::MouseButton button) {
    traceDrag_.reset();
    if (button != Qt::LeftButton) {
        return;
    }
    // The nearest mark within reach of the pointer.
    std::optional<TraceTieMark> nearest;
    for (const TraceTieMark& mark : depthVaryingMarks()) {
        if (std::abs(mark.row - y) <= TieMarkReach &&
            (!nearest || std::abs(mark.row - y) < std::abs(nearest->row - y))) {
            nearest = mark;
        }
    }
    if (nearest) {
        traceDrag_ = TraceDrag{nearest->depth, y, false};
    }
}

void TMainForm::dragTieMark(int y) {
    if (!traceDrag_ || (!traceDrag_->moved && y == traceDrag_->row)) {
        return;
    }
    traceDrag_->row = y;
    traceDrag_->moved = true;
    remarkTrace();
}

void TMainForm::releaseTieMark(int y) {
    const std::optional<TraceDrag> drag = std::exchange(traceDrag_, std::nullopt);
    // A press without a move (a click, or Shift+click picking) moves nothing.
    if (!drag || !drag->moved) {
        return;
    }
    const SeriesExtents trace = workspace_.series().traceExtents();
    const int row = std::clamp(y, 0, Grafico_traccia->panelHeight() - 1);
    try {
        workspace_.tie().moveDepthVaryingTie(
            drag->depth, depth_twt::traceTimeAtRow(row, trace.timeFirst, trace.timeLast,
                                                   Grafico_traccia->panelHeight()));
    } catch (const QuarvelError&) {
        // Refused: the marks go back where the document keeps them.
        remarkTrace();
        throw;
    }
}

} // namespace quarvel
