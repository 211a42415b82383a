#include "plot/core_columns.h"

#include <algorithm>
#include <vector>

namespace quarvel {

namespace {

// The first image column of panel column x; x = panelWidth gives the end.
int columnStart(const CoreColumns& columns, long long x) {
    return columns.first + static_cast<int>(x * columns.count / columns.panelWidth);
}

} // namespace

int CoreColumns::imageColumn(int panelX) const {
    return columnStart(*this, std::clamp(panelX, 0, panelWidth - 1));
}

bool squeezesCore(int imageWidth, int panelWidth) {
    return panelWidth > 0 && static_cast<long long>(imageWidth) > 2LL * panelWidth;
}

CoreColumns coreColumns(int xmin, int xmax, int imageWidth, int panelWidth) {
    const int lastColumn = imageWidth - 1;
    if (xmax < xmin || xmax < 0 || xmin > lastColumn) {
        return {0, imageWidth, panelWidth};
    }
    const int first = std::max(xmin, 0);
    const int last = std::min(xmax, lastColumn);
    return {first, last - first + 1, panelWidth};
}

QImage squeezeColumns(const QImage& photo, const CoreColumns& columns) {
    const QImage source = photo.convertToFormat(QImage::Format_RGB32);
    QImage squeezed(columns.panelWidth, source.height(), QImage::Format_RGB32);
    std::vector<int> starts(static_cast<std::size_t>(columns.panelWidth) + 1);
    for (int x = 0; x <= columns.panelWidth; ++x) {
        starts[static_cast<std::size_t>(x)] = columnStart(columns, x);
    }
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(squeezed.scanLine(y));
        for (int x = 0; x < columns.panelWidth; ++x) {
            const int from = starts[static_cast<std::size_t>(x)];
            const int to = std::max(starts[static_cast<std::size_t>(x) + 1], from + 1);
            long long red = 0;
            long long green = 0;
            long long blue = 0;
            for (int c = from; c < to; ++c) {
                red += qRed(in[c]);
                green += qGreen(in[c]);
                blue += qBlue(in[c]);
            }
            const long long n = to - from;
            out[x] =
                qRgb(static_cast<int>((red + n / 2) / n), static_cast<int>((green + n / 2) / n),
                     static_cast<int>((blue + n / 2) / n));
        }
    }
    return squeezed;
}

} // namespace quarvel
