#pragma once

#include "plot/plot_marks.h"

#include <QFont>

namespace quarvel {

class Canvas;

// The five panels a mark can lie on.
enum class PlotPanel { Photo, Synthetic, Pwave, Density, Trace };

bool holds(const PanelSet& set, PlotPanel panel);

// A mark on one panel's picture, as the window shows it and the final plot
// composes it: a black line across the panel (columns 1 to width - 2) at the
// mark's row, the trace's at its time's row; labelled at the left in the
// font given, with the depth on the synthetic and log panels, the time and
// depth on the trace, nothing on the photograph.
void drawMark(Canvas& picture, const PlotMark& mark, PlotPanel panel, int panelWidth,
              const QFont& font);

} // namespace quarvel
