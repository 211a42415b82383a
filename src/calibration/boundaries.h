#pragma once

#include <array>
#include <filesystem>
#include <string>
#include <string_view>

namespace quarvel {

// The calibration of a core photograph as the eight texts the user typed, in
// the order of a boundary file. The texts are kept exactly as typed; whoever
// needs a number converts the text at that moment.
struct Boundaries {
    std::string Top = "0";       // mm at pixel row ymin
    std::string Bottom = "1000"; // mm at pixel row ymax
    std::string Left = "1";      // mm at pixel column xmin
    std::string Right = "1000";  // mm at pixel column xmax
    std::string xmin = "25";
    std::string xmax = "1000";
    std::string ymin = "25";
    std::string ymax = "1000";

    static constexpr std::size_t FieldCount = 8;

    // All eight texts empty: what a boundary file that cannot be opened gives.
    static Boundaries empty();

    // The texts in file order (Top, Bottom, Left, Right, xmin, xmax, ymin, ymax).
    std::array<std::string, FieldCount> texts() const;
    static Boundaries fromTexts(const std::array<std::string, FieldCount>& texts);

    bool operator==(const Boundaries&) const = default;
};

// A boundary file is tiny; anything larger than this is not one.
inline constexpr std::uintmax_t MaxBoundaryFileBytes = 1024 * 1024;

// The file's text: one line per field in file order, each ended by CR LF.
std::string boundaryFileText(const Boundaries& boundaries);

// The fields from a file's text: line n becomes field n whole (blanks
// included); missing lines give empty fields, lines after the eighth are
// ignored. Throws when the text holds NUL characters (not a text file).
Boundaries parseBoundaryText(std::string_view text, const std::string& fileName);

// Writes the file in one step (the old file stays as it was when that fails).
// Throws "Cannot create file ...".
void writeBoundaryFile(const std::filesystem::path& path, const Boundaries& boundaries);

// Reads a boundary file. A file that does not exist reads as an empty one (all
// eight fields empty). A file that exists but cannot be read, is too large or
// is not text throws "Cannot open file ..." with the reason.
Boundaries readBoundaryFile(const std::filesystem::path& path);

// The boundary file that belongs to a photograph: its path with the extension
// replaced by ".BND". When that exact name does not exist but a file in the
// same folder matches it without regard to letter case ("core.bnd"), that
// file is the one.
std::filesystem::path boundaryFileFor(const std::filesystem::path& imagePath);

// True for an existing entry that is not a folder.
bool boundaryFileExists(const std::filesystem::path& path);

} // namespace quarvel
