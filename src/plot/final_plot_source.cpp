#include "plot/final_plot_source.h"

#include "platform/canvas.h"
#include "plot/log_panel.h"
#include "plot/series_panel.h"
#include "probe/depth_twt.h"

namespace quarvel {
namespace {

// The panels a composition draws, by the flag that names each.
enum class Panel { Photo, Synthetic, Pwave, Density, Trace };

bool holds(const PanelSet& set, Panel panel) {
    switch (panel) {
    case Panel::Photo:
        return set.photo;
    case Panel::Synthetic:
        return set.synthetic;
    case Panel::Pwave:
        return set.pwave;
    case Panel::Density:
        return set.density;
    case Panel::Trace:
        return set.trace;
    }
    return false;
}

QImage logPicture(const FinalPlotSource& source, LogPanelKind kind, int height) {
    LogPanelInput input;
    input.kind = kind;
    input.records = source.log;
    input.topDepth = source.logTopDepth;
    input.bottomDepth = source.logBottomDepth;
    const bool velocity = kind == LogPanelKind::Velocity;
    input.minBound = velocity ? source.scales.minVel : source.scales.minDens;
    input.maxBound = velocity ? source.scales.maxVel : source.scales.maxDens;
    return renderLogPanel(input, SeriesPanelWidth, height, source.font);
}

// The panel's picture as drawn from the document, before its marks; a panel
// nothing was drawn on starts white, as a mark finds it.
QImage drawnPicture(const FinalPlotSource& source, Panel panel, int height) {
    const int width = panel == Panel::Photo ? CorePanelWidth : SeriesPanelWidth;
    if (!holds(source.drawn, panel)) {
        QImage blank(width, height, QImage::Format_RGB32);
        blank.fill(Qt::white);
        return blank;
    }
    switch (panel) {
    case Panel::Photo:
        return source.coreColumns ? squeezeColumns(source.photograph, *source.coreColumns)
                                  : source.photograph;
    case Panel::Synthetic:
        return renderSeriesPanel(source.synthetic, source.syntheticExtents,
                                 QStringLiteral("Synthetic"), width, height, source.font);
    case Panel::Pwave:
        return logPicture(source, LogPanelKind::Velocity, height);
    case Panel::Density:
        return logPicture(source, LogPanelKind::Density, height);
    case Panel::Trace:
        return renderSeriesPanel(source.trace, source.traceExtents, QStringLiteral("Seismic Trace"),
                                 width, height, source.font);
    }
    return {};
}

// A line across the panel (columns 1 to width - 2) with its label at the
// left, written with the picture's own font as a click writes it.
void drawMark(Canvas& picture, int row, int panelWidth, const std::string& label) {
    picture.moveTo(1, row);
    picture.lineTo(panelWidth - 1, row);
    if (!label.empty()) {
        picture.textOut(1, row, QString::fromStdString(label));
    }
}

// The panel with its marks, or nothing when it neither was drawn nor holds a
// mark.
FinalPlotPanel panelOf(const FinalPlotSource& source, Panel panel, int height) {
    FinalPlotPanel result;
    result.checked = holds(source.chosen, panel);
    bool marked = false;
    for (const PlotMark& mark : source.marks) {
        marked = marked || holds(mark.panels, panel);
    }
    if (!result.checked || (!holds(source.drawn, panel) && !marked)) {
        return result;
    }
    Canvas picture(drawnPicture(source, panel, height));
    const int width = panel == Panel::Photo ? CorePanelWidth : SeriesPanelWidth;
    for (const PlotMark& mark : source.marks) {
        if (!holds(mark.panels, panel)) {
            continue;
        }
        if (panel == Panel::Photo) {
            drawMark(picture, mark.row, width, {});
        } else if (panel == Panel::Trace) {
            if (mark.traceTwt) {
                drawMark(picture, mark.traceRow, width,
                         depth_twt::traceMarkLabel(*mark.traceTwt, mark.depthText));
            }
        } else {
            drawMark(picture, mark.row, width, mark.depthText);
        }
    }
    result.picture = picture.image();
    return result;
}

} // namespace

FinalPlot composeFinalPlot(const FinalPlotSource& source) {
    const int height = source.photograph.height();
    FinalPlotInputs in;
    in.coreHeight = height;
    in.photo = panelOf(source, Panel::Photo, height);
    in.synthetic = panelOf(source, Panel::Synthetic, height);
    in.pwave = panelOf(source, Panel::Pwave, height);
    in.density = panelOf(source, Panel::Density, height);
    in.trace = panelOf(source, Panel::Trace, height);
    in.topText = source.topText;
    in.bottomText = source.bottomText;
    in.yminText = source.yminText;
    in.ymaxText = source.ymaxText;
    in.markFreqText = source.markFreqText;
    in.labelFreqText = source.labelFreqText;
    in.traceTimeMinMs = source.traceTimeMinMs;
    in.traceTimeMaxMs = source.traceTimeMaxMs;
    in.meanVelocity = source.meanVelocity;
    in.imageFileName = source.imageFileName;
    in.withTitle = source.withTitle;
    return composeFinalPlot(in);
}

} // namespace quarvel
