#include "formats/series_file.h"

namespace quarvel {

SeriesExtents seriesExtents(const SeriesData& series) {
    SeriesExtents extents;
    if (series.time.empty()) {
        return extents;
    }
    extents.timeFirst = series.time.front();
    extents.timeLast = series.time.back();
    extents.ampMin = series.amplitude.front();
    extents.ampMax = series.amplitude.front();
    for (const double amplitude : series.amplitude) {
        if (amplitude > extents.ampMax) {
            extents.ampMax = amplitude;
        }
        if (amplitude < extents.ampMin) {
            extents.ampMin = amplitude;
        }
    }
    return extents;
}

} // namespace quarvel
