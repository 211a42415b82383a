#include "plot/final_plot_source.h"

#include "platform/canvas.h"
#include "plot/log_panel.h"
#include "plot/mark_drawing.h"
#include "plot/series_panel.h"

namespace quarvel {
namespace {

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
QImage drawnPicture(const FinalPlotSource& source, PlotPanel panel, int height) {
    const int width = panel == PlotPanel::Photo ? CorePanelWidth : SeriesPanelWidth;
    if (!holds(source.drawn, panel) && !(panel == PlotPanel::Synthetic && source.tiedSynthetic)) {
        QImage blank(width, height, QImage::Format_RGB32);
        blank.fill(Qt::white);
        return blank;
    }
    switch (panel) {
    case PlotPanel::Photo:
        return source.coreColumns ? squeezeColumns(source.photograph, *source.coreColumns)
                                  : source.photograph;
    case PlotPanel::Synthetic:
        if (source.tiedSynthetic) {
            // On the trace's time scale, so its events sit level with the
            // trace's.
            const SeriesData& tied = source.tiedSynthetic->series;
            SeriesExtents extents = seriesExtents(tied);
            extents.timeFirst = source.traceExtents.timeFirst;
            extents.timeLast = source.traceExtents.timeLast;
            return renderSeriesPanel(tied, extents, source.tiedSynthetic->title, width, height,
                                     source.font);
        }
        return renderSeriesPanel(source.synthetic, source.syntheticExtents,
                                 QStringLiteral("Synthetic"), width, height, source.font);
    case PlotPanel::Pwave:
        return logPicture(source, LogPanelKind::Velocity, height);
    case PlotPanel::Density:
        return logPicture(source, LogPanelKind::Density, height);
    case PlotPanel::Trace:
        return renderSeriesPanel(source.trace, source.traceExtents, QStringLiteral("Seismic Trace"),
                                 width, height, source.font);
    }
    return {};
}

// The panel with its marks, or nothing when it neither was drawn nor holds a
// mark. The tied synthetic shares the trace's time scale, so its marks are
// the trace's: a mark without a trace time has no row on it.
FinalPlotPanel panelOf(const FinalPlotSource& source, PlotPanel panel, int height) {
    FinalPlotPanel result;
    result.checked = holds(source.chosen, panel);
    const bool tied = panel == PlotPanel::Synthetic && source.tiedSynthetic;
    bool marked = false;
    for (const PlotMark& mark : source.marks) {
        marked = marked || holds(mark.panels, panel);
    }
    if (!result.checked || (!holds(source.drawn, panel) && !marked && !tied)) {
        return result;
    }
    Canvas picture(drawnPicture(source, panel, height));
    const int width = panel == PlotPanel::Photo ? CorePanelWidth : SeriesPanelWidth;
    for (const PlotMark& mark : source.marks) {
        if (holds(mark.panels, panel)) {
            drawMark(picture, mark, tied ? PlotPanel::Trace : panel, width, source.font);
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
    in.photo = panelOf(source, PlotPanel::Photo, height);
    in.synthetic = panelOf(source, PlotPanel::Synthetic, height);
    in.pwave = panelOf(source, PlotPanel::Pwave, height);
    in.density = panelOf(source, PlotPanel::Density, height);
    in.trace = panelOf(source, PlotPanel::Trace, height);
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
    if (source.section && !source.section->section.columns.empty()) {
        const SegySection& section = source.section->section;
        in.section = renderSectionPicture(section, source.section->style,
                                          SectionAcross::TraceNumber, source.font);
        in.sectionCaption = QStringLiteral("Section, traces %1 to %2; the core's trace %3")
                                .arg(section.columns.front().trace + 1)
                                .arg(section.columns.back().trace + 1)
                                .arg(source.section->style.chosenTrace + 1);
    }
    return composeFinalPlot(in);
}

} // namespace quarvel
