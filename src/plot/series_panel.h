#pragma once

#include "formats/capacity.h"
#include "formats/series_file.h"

#include <QFont>
#include <QImage>
#include <QString>

namespace quarvel {

// The panel picture: a black frame on white, the wiggle line from (0, 0)
// through every sample (smallest amplitude at x = 0, largest at x = width,
// first time at y = 0, last at y = height), and the title at (5, 5) on an
// opaque white background over the curve. An empty series gives the frame
// and title only. Throws "Floating point division by zero", before drawing
// anything, when a non-empty series spans no time or no amplitude, or when
// the panel has no width or height.
QImage renderSeriesPanel(const SeriesData& series, const SeriesExtents& extents,
                         const QString& title, int width, int height, const QFont& font);

} // namespace quarvel
