#pragma once

#include <QImage>

namespace quarvel {

// The photograph's columns a squeezed core panel shows: `count` image columns
// from `first`, spread evenly over `panelWidth` panel columns.
struct CoreColumns {
    int first = 0;
    int count = 1;
    int panelWidth = 1;

    // The image column under a panel column.
    int imageColumn(int panelX) const;

    bool operator==(const CoreColumns&) const = default;
};

// A photograph more than twice as wide as its panel would show little but
// its left margin, so it is squeezed; narrower ones are shown as they are.
bool squeezesCore(int imageWidth, int panelWidth);

// The core's columns xmin to xmax (the calibration's, inclusive) of a
// photograph of that width, cut to the photograph. A range that holds no
// column of it (xmax left of xmin, or wholly outside) gives the whole width.
CoreColumns coreColumns(int xmin, int xmax, int imageWidth, int panelWidth);

// The photograph at its own height with the chosen columns squeezed (or
// stretched) into the panel's width: each panel column is the mean colour of
// the image columns it covers, at least one.
QImage squeezeColumns(const QImage& photo, const CoreColumns& columns);

} // namespace quarvel
