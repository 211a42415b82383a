#pragma once

#include <QImage>
#include <vector>

namespace quarvel {

// The columns of one row that are black, left to right.
inline std::vector<int> blackColumns(const QImage& image, int row) {
    std::vector<int> columns;
    for (int x = 0; x < image.width(); ++x) {
        if (image.pixel(x, row) == 0xff000000) {
            columns.push_back(x);
        }
    }
    return columns;
}

// True when the two images agree on every pixel of the rectangle.
inline bool sameRegion(const QImage& a, const QImage& b, const QRect& rect) {
    for (int y = rect.top(); y <= rect.bottom(); ++y) {
        for (int x = rect.left(); x <= rect.right(); ++x) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace quarvel
