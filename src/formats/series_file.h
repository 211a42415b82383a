#pragma once

#include "formats/capacity.h"

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

// Series files: one sample per line, a time and an amplitude separated by
// blanks (every character of code 32 or less), CR LF, a lone CR or a lone LF
// ending a line. The synthetic listing ampl.dat and the engine's other
// series, the trace listing trace.txt, and the chirp source's klauder.dat and
// chirp.dat all have this shape; the listings are read here, the chirp
// source's files in formats/wavelet_file.h.
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

enum class ListingRule {
    // As the panels draw a listing: a sample takes the next two fields
    // wherever they stand (a line holding one number takes the first of the
    // next line as its amplitude), each read as far as it is numeric (a word
    // reads as 0, an amplitude missing at the end as 0), then skips the rest
    // of its line. Reading ends where nothing but blanks and line ends is
    // left; samples beyond maxSamples are left out. A field standing for a
    // value no panel can place ("nan", "-inf", "1e999") is reported, not
    // refused: the panels draw what they read, the data editor refuses it.
    Drawn,
    // As the tie compares a listing: one sample per line, exactly two fields,
    // each a finite number as a whole, times increasing; blank lines anywhere
    // count as nothing. Anything else, and more than maxSamples samples, is
    // refused naming the file and the line.
    Strict,
};

struct ListingReading {
    std::string_view fileName; // as messages name the file
    ListingRule rule = ListingRule::Drawn;
    std::size_t maxSamples = SeriesCapacity;
    // Times are multiplied by it as they are read: 0.001 reads a listing in
    // milliseconds in seconds.
    double timeScale = 1.0;
};

struct Listing {
    SeriesData series;
    // The first field read that stands for a value no panel can place, and
    // its line (from 1); line 0 when there is none.
    int unplaceableLine = 0;
    std::string unplaceableField;
};

// The samples of a listing's whole text, read by the rule; a UTF-8
// byte-order mark at its start is skipped. Throws QuarvelError (Strict).
Listing readListing(std::string_view text, const ListingReading& reading);

// A working file's listing as the panels draw it (Drawn). A missing file, or
// one that is not a regular file or cannot be read, is an empty series; of a
// file larger than ListingCapacity only that much is read.
SeriesData readSeriesFile(const std::filesystem::path& path);

// How a series line gives its time: in E23 form like its amplitude (the
// engine's series, klauder.dat, chirp.dat), or with six decimals (a trace
// listing made from a SEG-Y trace, in milliseconds).
enum class SeriesTimeForm { E23, Fixed6 };

// Appends one line of a series file: the time, one blank, the amplitude in
// E23 form, CR LF.
void appendSeriesLine(std::string& text, double time, double amplitude,
                      SeriesTimeForm timeForm = SeriesTimeForm::E23);

} // namespace quarvel
