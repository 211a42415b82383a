// Trace files and synthetic listings: any bytes read as a series within the
// panel's capacity, and the panel either draws it or refuses it with the
// program's message (a series that spans no time or no amplitude).
#include "formats/quarvel_error.h"
#include "plot/series_panel.h"

#include <QFont>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Text is drawn with the platform's fonts, which need the application.
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    const quarvel::SeriesData series = quarvel::readSeries(in);
    if (series.count() > quarvel::SeriesCapacity || series.time.size() != series.amplitude.size()) {
        __builtin_trap();
    }
    const quarvel::SeriesExtents extents = quarvel::seriesExtents(series);
    try {
        const QImage panel = quarvel::renderSeriesPanel(
            series, extents, QStringLiteral("Seismic Trace"), 151, 120, QFont());
        if (panel.width() != 151 || panel.height() != 120) {
            __builtin_trap();
        }
    } catch (const quarvel::QuarvelError&) {
        // A series with no time or amplitude span: refused with a message.
    }
    return 0;
}
