#include "plot/chirp_graph.h"

#include "formats/wavelet_file.h"
#include "platform/canvas.h"

#include <algorithm>
#include <cmath>

namespace quarvel {
namespace {

// Pixel coordinates stay within what a 16-bit drawing surface would accept;
// anything beyond is far off the picture and clipped anyway. Non-numbers
// (from values such as "1e999" in the file) land on the far edge as well.
constexpr double CoordinateLimit = 32767.0;

// Rounds to the nearest integer with ties to even, then keeps the result in
// the coordinate range.
int roundCoordinate(double value) {
    if (std::isnan(value)) {
        return static_cast<int>(CoordinateLimit);
    }
    return static_cast<int>(std::nearbyint(std::clamp(value, -CoordinateLimit, CoordinateLimit)));
}

} // namespace

std::vector<double> readChirpGraphValues(const std::filesystem::path& path) {
    return readWaveletGraphFile(path).value;
}

ChirpGraph renderChirpGraph(const std::vector<double>& values, int width, int height,
                            const QString& caption) {
    Canvas canvas(width, height);
    canvas.rectangle(0, 0, width, height);

    ChirpGraph graph;
    if (!values.empty()) {
        const auto [minIt, maxIt] = std::minmax_element(values.begin(), values.end());
        const double halfRange = (std::fabs(*maxIt) + std::fabs(*minIt)) / 2.0;
        const double count = static_cast<double>(values.size());
        const double xScale = count / width;
        const double yScale = 2.0 * halfRange / height;
        graph.polyline.reserve(values.size());
        canvas.moveTo(0, 0);
        for (std::size_t i = 0; i < values.size(); ++i) {
            const int x = roundCoordinate(static_cast<double>(i + 1) / xScale);
            // A curve that is zero throughout has no range to scale by: it is
            // drawn along the middle, where zero lies on every other curve.
            const double fromBottom =
                yScale > 0.0 ? (halfRange + values[i]) / yScale : height / 2.0;
            const int y = height - roundCoordinate(fromBottom);
            canvas.lineTo(x, y);
            graph.polyline.emplace_back(x, y);
        }
    }
    canvas.textOut(5, 5, caption);
    graph.image = canvas.image();
    return graph;
}

} // namespace quarvel
