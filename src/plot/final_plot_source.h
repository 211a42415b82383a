#pragma once

#include "formats/series_file.h"
#include "plot/core_columns.h"
#include "plot/final_plot.h"
#include "plot/plot_marks.h"
#include "plot/section_picture.h"
#include "probe/log_scale.h"

#include <QFont>
#include <QImage>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace quarvel {

// The synthetic moved onto the trace's time scale by a tie: its times are the
// trace's (ms), where the tie puts each sample's depth on the trace.
struct TiedSynthetic {
    SeriesData series;
    QString title; // names the tie, so the panel is not taken for the synthetic as computed
};

// The part of the SEG-Y line around the core's trace, its rows on the trace
// panel's time scale; the style marks the core's trace.
struct SectionExcerpt {
    SegySection section;
    SectionStyle style;
};

// What the final plot is made of, as the document holds it: the photograph
// and the columns of it the core panel shows, the panels chosen and the ones
// drawn, the log, the two series, the marks, the font of the panels' titles
// and the texts of the axes. Nothing here comes from a window's pixels, so
// nothing the pointer draws (the guide line, a released row) can reach the
// plot.
struct FinalPlotSource {
    QImage photograph;                      // as loaded; its height is the height of every panel
    std::optional<CoreColumns> coreColumns; // squeezed into the panel, or as it is
    PanelSet chosen;
    PanelSet drawn;
    std::span<const LogRecord> log;
    double logTopDepth = 0.0;
    double logBottomDepth = 0.0;
    LogScaleSettings scales;
    SeriesData synthetic;
    SeriesExtents syntheticExtents;
    SeriesData trace;
    SeriesExtents traceExtents;
    // In the synthetic panel's place, on the trace's time scale.
    std::optional<TiedSynthetic> tiedSynthetic;
    std::optional<SectionExcerpt> section;
    std::vector<PlotMark> marks; // in the order made
    QFont font;                  // the panels' titles
    std::string topText;
    std::string bottomText;
    std::string yminText;
    std::string ymaxText;
    std::string markFreqText;
    std::string labelFreqText;
    double traceTimeMinMs = 0.0;
    double traceTimeMaxMs = 0.0;
    double meanVelocity = 0.0;
    std::string imageFileName;
    bool withTitle = false;
};

// Draws each panel the plot takes from the source, marks included, and
// composes the plot as composeFinalPlot does, with its messages.
FinalPlot composeFinalPlot(const FinalPlotSource& source);

} // namespace quarvel
