#pragma once

#include "chirp/chirp_source.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

// Chirp signal files (".SIG"): the chirp window's four parameter texts, one
// per line in the order Signal Width, Start Frequency, End Frequency,
// Sampling Interval. Each line is saved back in the encoding it was loaded in,
// so a file from an older system keeps its bytes.
namespace quarvel {

// A chirp signal file is four short lines; anything much larger is not one.
inline constexpr std::uintmax_t MaxSignalFileBytes = 64 * 1024;

struct SignalFile {
    ChirpTexts texts;
    // Each line was read as Latin-1 (see decodeLine) and goes back as such.
    std::array<bool, 4> latin1{};
};

// The texts of a file's whole text: each line a field's text as it stands
// (CR LF, a lone CR and a lone LF end lines), missing lines at the end
// leaving their fields empty, lines after the fourth ignored. Throws
// "Cannot open file ... It is not a chirp signal file." (naming `path`) when
// the text holds NUL characters.
SignalFile parseSignalFile(std::string_view content, std::string_view path);

// The same from a file; one that cannot be read, or is larger than
// MaxSignalFileBytes, is refused with "Cannot open file ...".
SignalFile readSignalFile(const std::filesystem::path& path);

// The four texts as they stand, one per line, each ended with CR LF.
std::string formatSignalFile(const SignalFile& file);

// Writes formatSignalFile's text; throws "Cannot create file ..." when the
// file cannot be written.
void writeSignalFile(const std::filesystem::path& path, const SignalFile& file);

} // namespace quarvel
