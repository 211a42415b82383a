#include "plot/depth_varying_plot.h"

#include "formats/numbers.h"
#include "platform/canvas.h"

#include <QString>
#include <algorithm>
#include <cmath>
#include <functional>

namespace quarvel {
namespace {

constexpr QRgb Black = 0xff000000;

// One series as a line down its column, its values spread over the column.
void drawColumn(Canvas& canvas, const TimedSeries& series, int left, int right,
                const std::function<int(double)>& row) {
    double low = 0.0;
    double high = 0.0;
    bool any = false;
    for (const double v : series.value) {
        if (std::isfinite(v)) {
            low = any ? std::min(low, v) : v;
            high = any ? std::max(high, v) : v;
            any = true;
        }
    }
    const double span = high > low ? high - low : 1.0;
    canvas.setPenColor(Black);
    bool drawing = false;
    for (std::size_t i = 0; i < series.time.size() && i < series.value.size(); ++i) {
        if (!std::isfinite(series.value[i])) {
            drawing = false;
            continue;
        }
        const int x =
            left + static_cast<int>(std::lround((series.value[i] - low) / span * (right - left)));
        const int y = row(series.time[i]);
        if (drawing) {
            canvas.lineTo(x, y);
        } else {
            canvas.moveTo(x, y);
        }
        canvas.setPixel(x, y, Black);
        drawing = true;
    }
}

} // namespace

QImage renderDepthVaryingPlot(const TimedSeries& before, const TimedSeries& trace,
                              const TimedSeries& after, const std::vector<JoinedTie>& ties,
                              int width, int height, const QFont& font) {
    Canvas canvas(width, height);
    canvas.setFont(font);
    canvas.rectangle(0, 0, width, height);
    const int textHeight = canvas.textHeight(QStringLiteral("0"));
    const int top = textHeight + 6;
    const int bottom = height - textHeight - 6;
    const int column = (width - 8) / 3;
    const QString titles[] = {QStringLiteral("bulk"), QStringLiteral("trace"),
                              QStringLiteral("aligned")};
    for (int c = 0; c < 3; ++c) {
        canvas.textOut(4 + c * column, 2, titles[c]);
    }
    if (trace.time.size() < 2 || bottom <= top || column < 8) {
        return canvas.image();
    }
    const double first = trace.time.front();
    const double last = trace.time.back() > first ? trace.time.back() : first + 1;
    const auto row = [&](double t) {
        return top + static_cast<int>(std::lround((t - first) / (last - first) * (bottom - top)));
    };
    // The ties first, so that the series stay readable over them.
    for (const JoinedTie& tie : ties) {
        canvas.setPenColor(tie.accepted ? AcceptedTieColor : ProposedTieColor);
        canvas.moveTo(4, row(tie.bulkTwt));
        canvas.lineTo(4 + column, row(tie.bulkTwt));
        canvas.lineTo(4 + 2 * column, row(tie.traceTwt));
        canvas.lineTo(4 + 3 * column, row(tie.traceTwt));
    }
    drawColumn(canvas, before, 6, 2 + column, row);
    drawColumn(canvas, trace, 6 + column, 2 + 2 * column, row);
    drawColumn(canvas, after, 6 + 2 * column, 2 + 3 * column, row);
    canvas.setPenColor(Black);
    canvas.textOut(2, height - textHeight - 2,
                   QString::fromStdString(numbers::formatFixed(first, 2) + " to " +
                                          numbers::formatFixed(last, 2) + " ms"));
    return canvas.image();
}

} // namespace quarvel
