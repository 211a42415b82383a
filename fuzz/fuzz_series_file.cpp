// Trace files and synthetic listings: any bytes read as the panels draw them
// within the panel's capacity, and the panel either draws the series or
// refuses it with the program's message (a series that spans no time or no
// amplitude). Read strictly, as the tie reads them, they are refused with a
// message or give the same samples as the panels read.
#include "formats/quarvel_error.h"
#include "formats/series_file.h"
#include "plot/series_panel.h"

#include <QFont>
#include <QGuiApplication>
#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Text is drawn with the platform's fonts, which need the application.
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const quarvel::Listing drawn = quarvel::readListing(
        text, {"fuzz.txt", quarvel::ListingRule::Drawn, quarvel::SeriesCapacity, 1.0});
    const quarvel::SeriesData& series = drawn.series;
    if (series.count() > quarvel::SeriesCapacity || series.time.size() != series.amplitude.size()) {
        __builtin_trap();
    }
    try {
        const quarvel::Listing strict = quarvel::readListing(
            text, {"fuzz.txt", quarvel::ListingRule::Strict, quarvel::SeriesCapacity, 1.0});
        if (strict.series.time != series.time || strict.series.amplitude != series.amplitude ||
            drawn.unplaceableLine != 0) {
            __builtin_trap();
        }
    } catch (const quarvel::QuarvelError&) {
        // Not a listing the tie can compare: refused with a message.
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
