#include "tie/time_depth.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <cstddef>

namespace quarvel::tie {

std::vector<TimeDepthPoint> timeDepthTable(const std::vector<double>& depths,
                                           const std::vector<double>& velocities) {
    std::vector<TimeDepthPoint> table{{0.0, 0.0}};
    double oneWay = 0.0;
    double above = 0.0;
    for (std::size_t i = 0; i < depths.size() && i < velocities.size(); ++i) {
        const std::string row = numbers::formatInteger(static_cast<long long>(i + 1));
        if (!(velocities[i] > 0)) {
            throw QuarvelError("Row " + row +
                                   " of the log has a P-wave velocity that is not above 0; it has "
                                   "no two-way time.",
                               ErrorKind::InvalidData);
        }
        if (i > 0 && !(depths[i] > above)) {
            throw QuarvelError("Row " + row + " of the log is not deeper than the row above.",
                               ErrorKind::InvalidData);
        }
        oneWay += (depths[i] - above) / velocities[i];
        above = depths[i];
        table.push_back({depths[i], 2000 * oneWay});
    }
    return table;
}

std::string timeDepthCsv(const std::vector<TimeDepthPoint>& table) {
    TextBuilder text;
    text.line("depth_m,twt_ms");
    for (const TimeDepthPoint& point : table) {
        text.line(numbers::formatFixed(point.depth, 4) + "," + numbers::formatFixed(point.twt, 3));
    }
    return text.text();
}

} // namespace quarvel::tie
