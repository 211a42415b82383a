#include "plot/series_panel.h"

#include "formats/quarvel_error.h"
#include "platform/canvas.h"
#include "plot/pixel_coordinate.h"

#include <string>

namespace quarvel {

QImage renderSeriesPanel(const SeriesData& series, const SeriesExtents& extents,
                         const QString& title, int width, int height, const QFont& font) {
    const double ampPerPixel = (extents.ampMax - extents.ampMin) / width;
    const double timePerPixel = (extents.timeLast - extents.timeFirst) / height;
    // The first sample would divide by a zero scale; stop before drawing so
    // the panel keeps its previous picture.
    const bool zeroScale = series.count() > 0 && (ampPerPixel == 0 || timePerPixel == 0);
    if (width <= 0 || height <= 0 || zeroScale) {
        throw QuarvelError(std::string(msg::DivisionByZero));
    }

    Canvas canvas(width, height);
    canvas.setBrushColor(0xffffffff);
    canvas.rectangle(0, 0, width, height);
    canvas.moveTo(0, 0);
    for (int i = 0; i < series.count(); ++i) {
        canvas.lineTo(truncToPixel((series.amplitude[i] - extents.ampMin) / ampPerPixel),
                      truncToPixel((series.time[i] - extents.timeFirst) / timePerPixel));
    }

    canvas.setFont(font);
    canvas.textOut(5, 5, title);
    return canvas.image();
}

} // namespace quarvel
