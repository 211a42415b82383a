// The core photograph and the mouse work on it: loading the photograph with
// its boundary file, the depth and two-way-time read-outs, the guide line and
// the correlation marks, and the read-outs over the synthetic and trace
// panels.
#include "document/workspace.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "main_window/main_form.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "plot/core_columns.h"
#include "probe/depth_twt.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace quarvel {

namespace {

// The picture to draw a mark into. A panel nothing has been drawn on yet
// gets a white picture of its own size first, so a mark never lands on
// nothing.
Canvas& pictureOf(ImagePanel* panel) {
    if (!panel->hasPicture()) {
        QImage blank(panel->panelWidth(), panel->panelHeight(), QImage::Format_RGB32);
        blank.fill(Qt::white);
        panel->setPicture(blank);
    }
    return panel->picture();
}

// A line across the panel at a row: columns 1 to width - 2. In not-XOR mode
// the black pen inverts the row, and drawing it twice restores it.
void drawRowLine(ImagePanel* panel, int row, Canvas::PenMode mode) {
    Canvas& picture = pictureOf(panel);
    picture.setPenMode(mode);
    picture.moveTo(1, row);
    picture.lineTo(panel->panelWidth() - 1, row);
    picture.setPenMode(Canvas::PenMode::Copy);
    panel->update();
}

void drawLabel(ImagePanel* panel, int row, const std::string& text) {
    pictureOf(panel).textOut(1, row, QString::fromStdString(text));
    panel->update();
}

// Pointer position minus a boundary, kept inside int for any typed boundary.
int offset(int position, int boundary) {
    const long long difference = static_cast<long long>(position) - boundary;
    return static_cast<int>(std::clamp<long long>(difference, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max()));
}

} // namespace

void TMainForm::LoadCorePhoto1Click() {
    guarded(services_.errors, [this] {
        const std::optional<QString> chosen = services_.dialogs.openFile(
            {QStringLiteral("Load Core Image"), QStringLiteral("Bitmap Files|*.BMP"),
             QStringLiteral("bmp"), QStringLiteral("core photograph")});
        // Cancel leaves everything as it is: the picture with its marks and
        // the calibration the user typed.
        if (!chosen || chosen->isEmpty()) {
            return;
        }
        workspace_.loadPhotograph(*chosen);

        // The boundaries window comes up with the calibration, and goes again
        // when the photograph's boundary file supplied a usable one;
        // otherwise the user has to type the rest, so it comes to the front.
        services_.forms.show(FormId::Core_Photo_Form);
        // Without a boundary file the proposed columns are the panel's, or
        // the whole photograph's when it is squeezed into the panel.
        const QImage& photograph = workspace_.photograph();
        const int columns = squeezesCore(photograph.width(), core_image->panelWidth())
                                ? photograph.width()
                                : core_image->panelWidth();
        if (workspace_.UpdateBoundaries(columns, core_image->panelHeight()) &&
            workspace_.calibrationUsable()) {
            services_.forms.close(FormId::Core_Photo_Form);
        } else {
            services_.forms.showAndRaise(FormId::Core_Photo_Form);
        }
    });
}

void TMainForm::showLoadedPhotograph() {
    showPhotograph();
    // The photograph is in, whatever its boundary file holds.
    SpeedButton2->setEnabled(true);
    SaveToFile1->setEnabled(true);
    ables1->setEnabled(true);
    Photo->setEnabled(true);
}

// The marks of tie points made earlier, on the panels ticked now, as the
// clicks that made them drew them.
void TMainForm::markTiePoints() {
    for (const tie::TiePoint& point : workspace_.tiePoints()) {
        if (Photo->isChecked()) {
            drawRowLine(core_image, point.row, Canvas::PenMode::Copy);
        }
        const std::pair<QCheckBox*, ImagePanel*> rowPanels[] = {
            {Synth, Grafico_sintetico}, {Pwave, Grafico_velocita}, {density, grafico_densita}};
        for (const auto& [box, panel] : rowPanels) {
            if (box->isChecked()) {
                drawRowLine(panel, point.row, Canvas::PenMode::Copy);
                drawLabel(panel, point.row, point.depthText);
            }
        }
        if (point.traceTwt && Trace->isEnabled() && Trace->isChecked()) {
            const SeriesExtents trace = workspace_.traceExtents();
            const int row = depth_twt::traceMarkRow(*point.traceTwt, trace.timeFirst,
                                                    trace.timeLast, Grafico_traccia->panelHeight());
            drawRowLine(Grafico_traccia, row, Canvas::PenMode::Copy);
            drawLabel(Grafico_traccia, row,
                      depth_twt::traceMarkLabel(*point.traceTwt, point.depthText));
        }
    }
}

void TMainForm::core_imageMouseMove(int x, int y) {
    guarded(services_.errors, [&] {
        if (guideActive()) {
            showGuide(y);
        }
        // A field that cannot be converted is reported on the first move
        // only; the read-outs wait until it is corrected.
        const std::optional<PixelBounds> bounds = workspace_.probeBounds();
        if (!bounds) {
            return;
        }
        CALC_POINT_ATTRIBUTES(offset(photographColumn(x), bounds->left), offset(y, bounds->top),
                              bounds->left, bounds->right, bounds->top, bounds->bottom);
    });
}

// The column boundaries only shift the column handed over and back; xmax
// plays no part in the depth.
void TMainForm::CALC_POINT_ATTRIBUTES(int dx, int dy, int xmin, int, int ymin, int ymax) {
    const long long column = static_cast<long long>(dx) + xmin;
    const long long row = static_cast<long long>(dy) + ymin;
    constexpr long long intMax = std::numeric_limits<int>::max();
    QRgb colour = 0;
    if (core_image->hasPicture() && std::max(std::abs(column), std::abs(row)) <= intMax) {
        colour = photographColour(static_cast<int>(column), static_cast<int>(row));
    }
    WorkspaceState& ws = workspace_.state();
    ws.ProbeDepth = workspace_.probeDepth(ymin, ymax, dy, ws.ProbeDepth);
    CALC_EST_TWT(ws.ProbeDepth);
    const depth_twt::PointTexts texts = depth_twt::pointTexts(
        column, row, qRed(colour), qGreen(colour), qBlue(colour), ws.ProbeDepth, ws.EST_TWT);
    ws.TwtText = texts.twtText;
    ws.DepthText = texts.depthText;
    StatusPanel0->setText(QString::fromStdString(texts.status0));
    StatusPanel1->setText(QString::fromStdString(texts.status1));
}

void TMainForm::CALC_EST_TWT(double depth) {
    WorkspaceState& ws = workspace_.state();
    const depth_twt::TwtEstimate estimate = depth_twt::estimateTwt(ws.LogTable, ws.LogCount, depth);
    ws.EST_TWT = estimate.estTwt;
    ws.InstVelocity = estimate.instVelocity;
    ws.InstDensity = estimate.instDensity;
    Edit2->setText(QString::fromStdString(estimate.velocityText));
    Edit3->setText(QString::fromStdString(estimate.densityText));
}

void TMainForm::core_imageMouseDown(int y) {
    guarded(services_.errors, [&] {
        if (!correlator->isChecked()) {
            return;
        }
        WorkspaceState& ws = workspace_.state();
        // A click that marks no panel makes no tie point.
        if (!Photo->isChecked() && !Synth->isChecked() && !Pwave->isChecked() &&
            !density->isChecked() && !Trace->isChecked()) {
            return;
        }
        tie::TiePoint point{y, ws.DepthText, ws.EST_TWT, std::nullopt};
        if (Photo->isChecked()) {
            // The mark goes on the photograph itself, not on the guide: once
            // painted, the row shows no guide, so nothing later inverts it,
            // whether or not the release arrives.
            hideGuide();
            drawRowLine(core_image, y, Canvas::PenMode::Copy);
        }
        const std::pair<QCheckBox*, ImagePanel*> rowPanels[] = {
            {Synth, Grafico_sintetico}, {Pwave, Grafico_velocita}, {density, grafico_densita}};
        for (const auto& [box, panel] : rowPanels) {
            if (box->isChecked()) {
                drawRowLine(panel, y, Canvas::PenMode::Copy);
                drawLabel(panel, y, ws.DepthText);
            }
        }
        if (Trace->isChecked()) {
            // The trace is placed by time, not by the photograph's row. A
            // trace that cannot take the mark leaves the point without its
            // trace time; the point itself is kept.
            ws.MarkTwt = ws.EST_TWT;
            try {
                const SeriesExtents trace = workspace_.traceExtents();
                const int row = depth_twt::traceMarkRow(ws.MarkTwt, trace.timeFirst, trace.timeLast,
                                                        Grafico_traccia->panelHeight());
                drawRowLine(Grafico_traccia, row, Canvas::PenMode::Copy);
                drawLabel(Grafico_traccia, row,
                          depth_twt::traceMarkLabel(ws.MarkTwt, ws.DepthText));
            } catch (const QuarvelError&) {
                workspace_.addTiePoint(std::move(point));
                throw;
            }
            point.traceTwt = ws.MarkTwt;
        }
        workspace_.addTiePoint(std::move(point));
    });
}

void TMainForm::core_imageMouseUp(int y) {
    guarded(services_.errors, [&] {
        // The released row becomes the guide (the fresh black mark shows
        // inverted) until the next move puts the guide under the pointer
        // and the mark shows black again. A guide already shown, from a
        // move while the button was down, stays where it is.
        if (guideActive() && !workspace_.state().GuideShown) {
            showGuide(y);
        }
    });
}

bool TMainForm::guideActive() const {
    return !workspace_.state().NoLogLoaded && correlator->isChecked() && Photo->isChecked();
}

void TMainForm::hideGuide() {
    WorkspaceState& ws = workspace_.state();
    if (ws.GuideShown) {
        drawRowLine(core_image, ws.GuideY, Canvas::PenMode::NotXor);
        ws.GuideShown = false;
    }
}

void TMainForm::showGuide(int y) {
    hideGuide();
    WorkspaceState& ws = workspace_.state();
    ws.GuideY = y;
    drawRowLine(core_image, ws.GuideY, Canvas::PenMode::NotXor);
    ws.GuideShown = true;
}

// The photograph's own colour under the guide line: the line inverts the
// columns it covers, and inverting again gives the colour back.
QRgb TMainForm::photographColour(int column, int row) const {
    // A squeezed panel shows mean colours; the photograph's own is the one.
    if (workspace_.coreColumns()) {
        const QImage& photograph = workspace_.photograph();
        return photograph.valid(column, row) ? photograph.pixel(column, row) : 0;
    }
    const QRgb colour = core_image->picture().pixel(column, row);
    const WorkspaceState& ws = workspace_.state();
    const bool underGuide =
        ws.GuideShown && row == ws.GuideY && column >= 1 && column <= core_image->panelWidth() - 2;
    return underGuide ? colour ^ 0x00ffffffU : colour;
}

// Shown from its top-left corner; the panel keeps its width and takes the
// photograph's height, which every other panel takes at its next drawing.
void TMainForm::showPhotograph() {
    const QImage& photograph = workspace_.photograph();
    const std::optional<CoreColumns>& columns = workspace_.coreColumns();
    core_image->setPanelHeight(photograph.height());
    core_image->setPicture(columns ? squeezeColumns(photograph, *columns) : photograph);
}

int TMainForm::photographColumn(int panelX) const {
    const std::optional<CoreColumns>& columns = workspace_.coreColumns();
    return columns ? columns->imageColumn(panelX) : panelX;
}

void TMainForm::Grafico_sinteticoMouseMove(int x, int y) {
    guarded(services_.errors, [&] {
        const depth_twt::PanelReadout readout = depth_twt::synthReadout(
            x, y, Grafico_sintetico->panelWidth(), Grafico_sintetico->panelHeight(),
            workspace_.syntheticExtents());
        StatusPanel0->setText(QString::fromStdString(readout.status0));
        StatusPanel1->setText(QString::fromStdString(readout.status1));
    });
}

void TMainForm::Grafico_tracciaShiftDown(int y) {
    guarded(services_.errors, [&] {
        // Shift+click picks the trace's own event for the last tie point:
        // where the reflector is, not where the log's estimate puts it.
        const SeriesExtents trace = workspace_.traceExtents();
        workspace_.pickTraceTime(depth_twt::traceTimeAtRow(y, trace.timeFirst, trace.timeLast,
                                                           Grafico_traccia->panelHeight()));
        // The trace's marks drawn again where their points now say.
        drawTrace();
        for (const tie::TiePoint& point : workspace_.tiePoints()) {
            if (point.traceTwt) {
                const int row =
                    depth_twt::traceMarkRow(*point.traceTwt, trace.timeFirst, trace.timeLast,
                                            Grafico_traccia->panelHeight());
                drawRowLine(Grafico_traccia, row, Canvas::PenMode::Copy);
                drawLabel(Grafico_traccia, row,
                          depth_twt::traceMarkLabel(*point.traceTwt, point.depthText));
            }
        }
    });
}

void TMainForm::Grafico_tracciaMouseMove(int x, int y) {
    guarded(services_.errors, [&] {
        const depth_twt::PanelReadout readout = depth_twt::traceReadout(
            x, y, Grafico_traccia->panelWidth(), Grafico_traccia->panelHeight(),
            workspace_.traceExtents(), workspace_.state().TraceTimeMinMs);
        StatusPanel0->setText(QString::fromStdString(readout.status0));
        StatusPanel1->setText(QString::fromStdString(readout.status1));
    });
}

} // namespace quarvel
