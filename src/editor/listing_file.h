#pragma once

#include "formats/series_file.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

namespace quarvel {

// The whole text of a file for a listing, every line break made CR LF.
// Throws "Cannot open file ..." when the file cannot be read or is not text
// (it holds NUL characters), and "Text exceeds memo capacity" when the text
// is larger than ListingCapacity.
std::string readListingFile(const std::filesystem::path& path);

// Refuses a trace listing the trace panel cannot draw, before it replaces
// "trace.txt": read as the panel reads it (ListingRule::Drawn), a time or
// amplitude that is nan or infinite, fewer than two samples with different
// times, or amplitudes that are all the same. Throws QuarvelError naming the
// line or the reason.
void checkTraceListing(std::string_view text);

} // namespace quarvel
