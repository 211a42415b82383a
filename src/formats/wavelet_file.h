#pragma once

#include "formats/field_lines.h"

#include <filesystem>
#include <string_view>
#include <vector>

// klauder.dat and chirp.dat, the files the chirp source writes: one (time,
// value) pair per line (the lag time and the Klauder wavelet's amplitude, the
// time and the sweep's value), written with appendSeriesLine.
namespace quarvel {

inline constexpr std::string_view WaveletFields = "lag time, amplitude";

struct WaveletFile {
    std::vector<double> time;
    std::vector<double> value;
};

// The pairs of a file's whole text, read by the rule. Throws QuarvelError.
// The engine reads klauder.dat by whole numbers per line and refuses more than
// maxRecords with `tooMany` (a wrong number would silently change the
// synthetic); the chirp window's graphs read both files by tokens while any
// character is left, so a file ending in a line break gives one last (0, 0)
// pair, drawn like the others.
WaveletFile parseWaveletFile(std::string_view text, const RecordReading& reading);

// A file as the chirp window's graphs read it (TokensWhileAnyCharacter). A
// file that is missing, not a regular file or cannot be read gives no pairs;
// of a file larger than ListingCapacity only that much is read.
WaveletFile readWaveletGraphFile(const std::filesystem::path& path);

} // namespace quarvel
