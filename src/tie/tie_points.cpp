#include "tie/tie_points.h"

#include "formats/numbers.h"
#include "formats/text_file.h"

namespace quarvel::tie {

std::string tiePointsCsv(const std::vector<TiePoint>& points) {
    TextBuilder text;
    text.line("row,depth_m,est_twt_ms,trace_twt_ms");
    for (const TiePoint& point : points) {
        std::string line = numbers::formatInteger(point.row);
        line += ',';
        line += point.depthText;
        line += ',';
        line += numbers::formatFixed(point.estTwt, 3);
        line += ',';
        if (point.traceTwt) {
            line += numbers::formatFixed(*point.traceTwt, 3);
        }
        text.line(line);
    }
    return text.text();
}

} // namespace quarvel::tie
