#pragma once

#include <QImage>
#include <QPoint>
#include <QString>
#include <filesystem>
#include <vector>

namespace quarvel {

// The values of klauder.dat or chirp.dat as the chirp window's graphs read
// them (readWaveletGraphFile): a file ending in a line break gives one last
// (0, 0) pair, which counts like the others; a file that cannot be read gives
// no pairs. Only the values are kept; the time column plays no part in the
// drawing.
std::vector<double> readChirpGraphValues(const std::filesystem::path& path);

struct ChirpGraph {
    QImage image;
    // The end point of every segment of the curve, in drawing order; the
    // curve starts at the top-left corner (0, 0).
    std::vector<QPoint> polyline;
};

// One graph of the chirp window: a white width x height picture with a black
// frame, the values as a polyline from the top-left corner, spread over the
// width and scaled so the mean of the two extremes' magnitudes spans half the
// height, and the caption at (5, 5). With no value the picture holds its frame
// and caption only.
ChirpGraph renderChirpGraph(const std::vector<double>& values, int width, int height,
                            const QString& caption);

} // namespace quarvel
