#include "editor/listing_file.h"

#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <system_error>

namespace quarvel {
namespace {

// A log of 64000 records takes a few megabytes; anything far larger is not
// a log and would only tie the program up.
constexpr std::uintmax_t LogFileLimit = 256ULL * 1024 * 1024;

std::string readText(const std::filesystem::path& path, std::uintmax_t limit) {
    std::string text = readTextFile(path, limit);
    if (text.find('\0') != std::string::npos) {
        throwCannotOpen(path.string(), "It is not a text file.");
    }
    return text;
}

[[noreturn]] void throwExceedsCapacity() {
    throw QuarvelError(std::string(msg::TextExceedsMemo));
}

} // namespace

std::string readListingFile(const std::filesystem::path& path) {
    std::error_code ec;
    const std::uintmax_t size = std::filesystem::file_size(path, ec);
    if (!ec && size > ListingCapacity) {
        throwExceedsCapacity();
    }
    std::string text = normaliseLineEnds(readText(path, ListingCapacity));
    if (text.size() > ListingCapacity) {
        throwExceedsCapacity();
    }
    return text;
}

std::string readLogFile(const std::filesystem::path& path) {
    return readText(path, LogFileLimit);
}

} // namespace quarvel
