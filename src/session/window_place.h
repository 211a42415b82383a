#pragma once

#include <QRect>

namespace quarvel {

// A remembered window rectangle moved (and, when larger, shrunk) so that it
// lies wholly inside the available screen area: a window saved on a screen
// that is gone, or at a higher resolution, comes back where it can be seen.
QRect fitInside(const QRect& window, const QRect& available);

} // namespace quarvel
