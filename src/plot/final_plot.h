#pragma once

#include <QImage>
#include <QString>
#include <optional>
#include <string>
#include <vector>

namespace quarvel {

// One panel of the workspace as the final plot sees it: its check box and
// its current picture (marks included), if it has one yet.
struct FinalPlotPanel {
    bool checked = false;
    std::optional<QImage> picture;
};

// Everything the final plot is composed from, read from the windows at the
// moment of composition. The texts are the fields as typed.
struct FinalPlotInputs {
    int coreHeight = 0; // H: height of the core image panel
    FinalPlotPanel photo;
    FinalPlotPanel synthetic;
    FinalPlotPanel pwave;
    FinalPlotPanel density;
    FinalPlotPanel trace;
    std::string topText;       // millimetres; the whole number at its start counts
    std::string bottomText;    // likewise
    std::string yminText;      // the photograph's row of Top, a whole number
    std::string ymaxText;      // the photograph's row of Bottom, a whole number
    std::string markFreqText;  // Y axis "Mark freq.", a whole number
    std::string labelFreqText; // Y axis "Label freq.", a whole number
    double traceTimeMinMs = 0.0;
    double traceTimeMaxMs = 0.0;
    double meanVelocity = 0.0; // m/s
    std::string imageFileName; // the photograph's path; only its name is shown
    bool withTitle = false;
    // A section picture (renderSectionPicture's) whose section rows share
    // the trace panel's, and the caption above it.
    std::optional<QImage> section;
    QString sectionCaption;
};

// A tick of an axis as drawn: its row and the labels written beside it
// (empty where the tick carries no label).
struct FinalPlotTick {
    int y = 0;
    QString label;
    QString depthLabel; // time axis only: the depth in parentheses
};

struct FinalPlot {
    QImage image;
    // Left edges of the placed panels, in placing order.
    std::vector<int> panelX;
    // The trace panel's x when the trace was included.
    std::optional<int> axisX;
    // The left edge of the section excerpt's traces, when it was included.
    std::optional<int> sectionX;
    std::vector<FinalPlotTick> depthTicks;
    std::vector<FinalPlotTick> timeTicks;
};

// Composes the final plot: 1000 x (H + 100) pixels, the checked panels side by
// side from x = 50 (the trace 100 further right), the depth axis at x = 45 and,
// with the trace, the time axis 5 pixels left of it; "Core: <name>" on top when
// asked for; a section excerpt goes right of them all (the plot widens to
// hold it), its rows level with the panels'. The depth axis puts Top on the photograph's row Y min
// and Bottom on its row Y max; ticks that fall outside the photograph are not drawn. Throws
// QuarvelError with the program's message when a checked panel has no picture, a Y-axis field, Y
// min or Y max is not a whole number, or a tick would divide by zero (mark frequency 0, Bottom
// equal to Top, a zero trace span).
//
// An axis never draws more than one tick per pixel row: where the mark
// frequency packs several ticks into one row, the first of them that carries a
// label is drawn (else the first), so a mark frequency of 1 over a long core
// costs at most one tick per row. Labels are thinned to the ticks that are
// multiples of "Label freq." as well; a label frequency of 0 labels every tick.
FinalPlot composeFinalPlot(const FinalPlotInputs& inputs);

} // namespace quarvel
