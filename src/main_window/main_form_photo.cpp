// The core photograph and the mouse work on it: loading the photograph with
// its boundary file, the depth and two-way-time read-outs, the guide line and
// the correlation marks, and the read-outs over the synthetic and trace
// panels.
#include "document/workspace.h"
#include "formats/numbers.h"
#include "main_window/main_form.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "plot/core_columns.h"
#include "plot/mark_drawing.h"
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
        const QImage& photograph = workspace_.photograph().image();
        const int columns = squeezesCore(photograph.width(), core_image->panelWidth())
                                ? photograph.width()
                                : core_image->panelWidth();
        if (workspace_.calibration().UpdateBoundaries(columns, core_image->panelHeight()) &&
            workspace_.calibration().usable()) {
            services_.forms.close(FormId::Core_Photo_Form);
        } else {
            services_.forms.showAndRaise(FormId::Core_Photo_Form);
        }
    });
}

void TMainForm::showLoadedPhotograph() {
    showPhotograph();
    // The photograph is in, whatever its boundary file holds; or gone, with
    // a session opened without one.
    const bool loaded = !workspace_.photograph().image().isNull();
    SpeedButton2->setEnabled(loaded);
    SaveToFile1->setEnabled(loaded);
    ables1->setEnabled(loaded);
    Photo->setEnabled(loaded);
}

// The marks the document holds, each on the panels it lies on. Drawing one
// again gives the same pixels, so the marks drawn before need no telling
// apart. The mark goes on the photograph itself, not on the guide: once
// painted, the row shows no guide, so nothing later inverts it, whether or
// not the release arrives.
void TMainForm::drawMarks() {
    const std::pair<PlotPanel, ImagePanel*> panels[] = {{PlotPanel::Photo, core_image},
                                                        {PlotPanel::Synthetic, Grafico_sintetico},
                                                        {PlotPanel::Pwave, Grafico_velocita},
                                                        {PlotPanel::Density, grafico_densita},
                                                        {PlotPanel::Trace, Grafico_traccia}};
    for (const PlotMark& mark : workspace_.marks().all()) {
        for (const auto& [which, panel] : panels) {
            if (!holds(mark.panels, which)) {
                continue;
            }
            if (which == PlotPanel::Photo) {
                workspace_.probe().hideGuide();
            }
            drawMark(pictureOf(panel), mark, which, panel->panelWidth(),
                     workspace_.plotSettings().font());
            panel->update();
        }
    }
}

void TMainForm::showReading() {
    const ProbeReading& reading = workspace_.probe().reading();
    Edit2->setText(QString::fromStdString(reading.velocityText));
    Edit3->setText(QString::fromStdString(reading.densityText));
    StatusPanel0->setText(QString::fromStdString(reading.status0));
    StatusPanel1->setText(QString::fromStdString(reading.status1));
}

void TMainForm::invertGuideRow(int row) {
    drawRowLine(core_image, row, Canvas::PenMode::NotXor);
}

void TMainForm::core_imageMouseMove(int x, int y) {
    guarded(services_.errors, [&] {
        if (guideActive()) {
            workspace_.probe().showGuide(y);
        }
        // A field that cannot be converted is reported on the first move
        // only; the read-outs wait until it is corrected.
        const std::optional<PixelBounds> bounds = workspace_.calibration().probeBounds();
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
    workspace_.pointerAt(column, row, colour, ymin, ymax);
}

void TMainForm::core_imageMouseDown(int y) {
    guarded(services_.errors, [&] {
        if (!correlator->isChecked()) {
            return;
        }
        // A click that marks no panel makes no tie point.
        if (!Photo->isChecked() && !Synth->isChecked() && !Pwave->isChecked() &&
            !density->isChecked() && !Trace->isChecked()) {
            return;
        }
        workspace_.markAtPointer(y);
    });
}

void TMainForm::core_imageMouseUp(int y) {
    guarded(services_.errors, [&] {
        // The released row becomes the guide (the fresh black mark shows
        // inverted) until the next move puts the guide under the pointer
        // and the mark shows black again. A guide already shown, from a
        // move while the button was down, stays where it is.
        if (guideActive() && !workspace_.probe().guideRow()) {
            workspace_.probe().showGuide(y);
        }
    });
}

bool TMainForm::guideActive() const {
    return !workspace_.state().NoLogLoaded && correlator->isChecked() && Photo->isChecked();
}

// The photograph's own colour under the guide line: the line inverts the
// columns it covers, and inverting again gives the colour back.
QRgb TMainForm::photographColour(int column, int row) const {
    // A squeezed panel shows mean colours; the photograph's own is the one.
    if (workspace_.photograph().coreColumns()) {
        const QImage& photograph = workspace_.photograph().image();
        return photograph.valid(column, row) ? photograph.pixel(column, row) : 0;
    }
    const QRgb colour = core_image->picture().pixel(column, row);
    const bool underGuide = workspace_.probe().guideRow() == row && column >= 1 &&
                            column <= core_image->panelWidth() - 2;
    return underGuide ? colour ^ 0x00ffffffU : colour;
}

// Shown from its top-left corner; the panel keeps its width and takes the
// photograph's height, which every other panel takes at its next drawing.
void TMainForm::showPhotograph() {
    const QImage& photograph = workspace_.photograph().image();
    const std::optional<CoreColumns>& columns = workspace_.photograph().coreColumns();
    core_image->setPanelHeight(workspace_.photograph().panelHeight());
    if (photograph.isNull()) {
        core_image->clearPicture();
        return;
    }
    core_image->setPicture(columns ? squeezeColumns(photograph, *columns) : photograph);
}

int TMainForm::photographColumn(int panelX) const {
    const std::optional<CoreColumns>& columns = workspace_.photograph().coreColumns();
    return columns ? columns->imageColumn(panelX) : panelX;
}

void TMainForm::Grafico_sinteticoMouseMove(int x, int y) {
    guarded(services_.errors, [&] {
        const depth_twt::PanelReadout readout = depth_twt::synthReadout(
            x, y, Grafico_sintetico->panelWidth(), Grafico_sintetico->panelHeight(),
            workspace_.series().syntheticExtents());
        StatusPanel0->setText(QString::fromStdString(readout.status0));
        StatusPanel1->setText(QString::fromStdString(readout.status1));
    });
}

void TMainForm::Grafico_tracciaShiftDown(int y) {
    guarded(services_.errors, [&] {
        // Shift+click picks the trace's own event for the last tie point:
        // where the reflector is, not where the log's estimate puts it.
        const SeriesExtents trace = workspace_.series().traceExtents();
        workspace_.pickTraceTime(depth_twt::traceTimeAtRow(y, trace.timeFirst, trace.timeLast,
                                                           Grafico_traccia->panelHeight()));
        // The trace's marks drawn again where their points now say.
        drawTrace();
        drawMarks();
        drawDepthVaryingTies();
    });
}

void TMainForm::Grafico_tracciaMouseMove(int x, int y) {
    guarded(services_.errors, [&] {
        const depth_twt::PanelReadout readout = depth_twt::traceReadout(
            x, y, Grafico_traccia->panelWidth(), Grafico_traccia->panelHeight(),
            workspace_.series().traceExtents(), workspace_.series().traceTimeMinMs());
        StatusPanel0->setText(QString::fromStdString(readout.status0));
        StatusPanel1->setText(QString::fromStdString(readout.status1));
    });
}

} // namespace quarvel
