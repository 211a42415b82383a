#include "plot/tie_plot.h"

#include "formats/numbers.h"
#include "platform/canvas.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarvel {
namespace {

QString fixedText(double value, int decimals) {
    return QString::fromStdString(numbers::formatFixed(value, decimals));
}

} // namespace

QImage renderCoefficientPlot(const std::vector<double>& x, const std::vector<double>& coefficient,
                             std::size_t marked, const QString& title, int xDecimals, int width,
                             int height, const QFont& font) {
    Canvas canvas(width, height);
    canvas.setFont(font);
    canvas.rectangle(0, 0, width, height);
    double xMin = std::numeric_limits<double>::infinity();
    double xMax = -xMin, yMin = xMin, yMax = -xMin;
    for (std::size_t i = 0; i < x.size() && i < coefficient.size(); ++i) {
        if (std::isnan(coefficient[i])) {
            continue;
        }
        xMin = std::min(xMin, x[i]);
        xMax = std::max(xMax, x[i]);
        yMin = std::min(yMin, coefficient[i]);
        yMax = std::max(yMax, coefficient[i]);
    }
    const int textHeight = canvas.textHeight(QStringLiteral("0"));
    // The curve keeps clear of the frame, the title and the texts below.
    const int left = 4;
    const int right = width - 5;
    const int top = textHeight + 6;
    const int bottom = height - textHeight - 6;
    if (xMin <= xMax && right > left && bottom > top) {
        const double xSpan = xMax > xMin ? xMax - xMin : 1.0;
        const double ySpan = yMax > yMin ? yMax - yMin : 1.0;
        const auto column = [&](double v) {
            return left + static_cast<int>(std::lround((v - xMin) / xSpan * (right - left)));
        };
        const auto row = [&](double v) {
            return bottom - static_cast<int>(std::lround((v - yMin) / ySpan * (bottom - top)));
        };
        if (marked < x.size()) {
            canvas.setPenColor(0xffc0c0c0);
            canvas.moveTo(column(x[marked]), top);
            canvas.lineTo(column(x[marked]), bottom + 1);
            canvas.setPenColor(0xff000000);
        }
        bool drawing = false;
        for (std::size_t i = 0; i < x.size() && i < coefficient.size(); ++i) {
            if (std::isnan(coefficient[i])) {
                drawing = false;
                continue;
            }
            const int cx = column(x[i]);
            const int cy = row(coefficient[i]);
            if (drawing) {
                canvas.lineTo(cx, cy);
            } else {
                canvas.moveTo(cx, cy);
            }
            canvas.setPixel(cx, cy, 0xff000000);
            drawing = true;
        }
        const QString low = fixedText(xMin, xDecimals);
        const QString high = fixedText(xMax, xDecimals);
        canvas.textOut(2, height - textHeight - 2, low);
        canvas.textOut(width - canvas.textWidth(high) - 2, height - textHeight - 2, high);
        const QString range =
            QStringLiteral("r ") + fixedText(yMin, 2) + QStringLiteral(" to ") + fixedText(yMax, 2);
        canvas.textOut(width - canvas.textWidth(range) - 2, 2, range);
    }
    canvas.textOut(2, 2, title);
    return canvas.image();
}

} // namespace quarvel
