#pragma once

#include <cstdint>
#include <vector>

// Series of (time, amplitude) samples: the synthetic listing ampl.dat and the
// trace listing trace.txt as the panels hold them, and the extents the
// panels and their read-outs scale by.
namespace quarvel {

// A time series as the synthetic and trace panels read it.
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

// First and last time in file order, smallest and largest amplitude; all 0
// for an empty series, and until something is drawn.
struct SeriesExtents {
    double timeFirst = 0.0;
    double timeLast = 0.0;
    double ampMin = 0.0;
    double ampMax = 0.0;
};

SeriesExtents seriesExtents(const SeriesData& series);

// The most text a listing holds (bytes, CR LF line ends counted), and the
// most of a series file the program reads to draw it.
inline constexpr std::uintmax_t ListingCapacity = 64ULL * 1024 * 1024;

} // namespace quarvel
