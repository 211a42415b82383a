#include "plot/series_panel.h"

#include "formats/quarvel_error.h"
#include "formats/token_reader.h"
#include "platform/canvas.h"
#include "plot/pixel_coordinate.h"

#include <fstream>
#include <sstream>
#include <string>

namespace quarvel {

SeriesData readSeries(std::istream& in) {
    SeriesData series;
    TokenReader reader(in);
    while (!reader.onlySeparatorsLeft()) {
        if (series.count() >= SeriesCapacity) {
            series.truncated = true;
            break;
        }
        const double time = reader.readNumber();
        const double amplitude = reader.readNumber();
        reader.skipLine();
        series.time.push_back(time);
        series.amplitude.push_back(amplitude);
        if (time > series.runningTimeMax) {
            series.runningTimeMax = time;
        }
        if (time < series.runningTimeMin) {
            series.runningTimeMin = time;
        }
    }
    return series;
}

SeriesData readSeriesFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::istringstream empty;
        return readSeries(empty);
    }
    return readSeries(file);
}

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
