#pragma once

#include "formats/capacity.h"

#include <QFont>
#include <QImage>
#include <QString>
#include <filesystem>
#include <istream>
#include <vector>

namespace quarvel {

// A time series as the synthetic and trace panels read it: one sample per
// line, time then amplitude, the rest of each line skipped.
struct SeriesData {
    std::vector<double> time;
    std::vector<double> amplitude;
    // Largest time with the search starting from 0, smallest with it starting
    // from 100000 (the trace panel keeps both, times 1000).
    double runningTimeMax = 0.0;
    double runningTimeMin = 100000.0;
    // The file held more than SeriesCapacity samples; the rest was left out.
    bool truncated = false;

    int count() const { return static_cast<int>(time.size()); }
};

// Reads pairs until nothing but blanks and line ends is left, so a blank line
// at the end adds no sample. A line holding a single number takes the first
// number of the next line as its amplitude. Words that are not numbers read
// as 0.
SeriesData readSeries(std::istream& in);

// The same from a file; a missing or unreadable file is an empty series.
SeriesData readSeriesFile(const std::filesystem::path& path);

// First and last time in file order, smallest and largest amplitude; all 0
// for an empty series.
struct SeriesExtents {
    double timeFirst = 0.0;
    double timeLast = 0.0;
    double ampMin = 0.0;
    double ampMax = 0.0;
};

SeriesExtents seriesExtents(const SeriesData& series);

// The panel picture: a black frame on white, the wiggle line from (0, 0)
// through every sample (smallest amplitude at x = 0, largest at x = width,
// first time at y = 0, last at y = height), and the title at (5, 5) on an
// opaque white background over the curve. An empty series gives the frame
// and title only. Throws "Floating point division by zero", before drawing
// anything, when a non-empty series spans no time or no amplitude, or when
// the panel has no width or height.
QImage renderSeriesPanel(const SeriesData& series, const SeriesExtents& extents,
                         const QString& title, int width, int height, const QFont& font);

} // namespace quarvel
