#pragma once

#include <QFont>
#include <QImage>
#include <QString>
#include <cstddef>
#include <vector>

namespace quarvel {

// A small line plot of the correlation coefficient against a variable (the
// shift in ms, the velocity factor): a frame, the curve scaled to the points'
// own ranges (points without a value, NaN, leave a gap), a vertical line at
// the marked point, the title at the top left and the x range and
// coefficient range as texts along the edges.
QImage renderCoefficientPlot(const std::vector<double>& x, const std::vector<double>& coefficient,
                             std::size_t marked, const QString& title, int xDecimals, int width,
                             int height, const QFont& font);

} // namespace quarvel
