#include "editor/listing_file.h"

#include "formats/field_lines.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <algorithm>
#include <system_error>

namespace quarvel {
namespace {

std::string readText(const std::filesystem::path& path, std::uintmax_t limit) {
    std::string text = readTextFile(path, limit);
    if (text.find('\0') != std::string::npos) {
        throwCannotOpen(path.string(), "It is not a text file.", ErrorKind::InvalidData);
    }
    return text;
}

[[noreturn]] void throwExceedsCapacity() {
    throw QuarvelError(std::string(msg::TextExceedsMemo), ErrorKind::Capacity);
}

[[noreturn]] void refuseTrace(std::string_view reason) {
    throw QuarvelError(formatMessage("The trace listing cannot be drawn: %s. \"trace.txt\" "
                                     "was left as it was.",
                                     {reason}));
}

} // namespace

void checkTraceListing(std::string_view text) {
    // Read as the trace panel reads it, so that what passes is what it draws.
    const Listing listing =
        readListing(text, {"trace.txt", ListingRule::Drawn, SeriesCapacity, 1.0});
    if (listing.unplaceableLine != 0) {
        refuseTrace(
            formatMessage("line %s holds %s", {numbers::formatInteger(listing.unplaceableLine),
                                               shownField(listing.unplaceableField)}));
    }
    const SeriesData& series = listing.series;
    const auto differs = [](const std::vector<double>& values) {
        return std::ranges::any_of(values, [&](double v) { return v != values.front(); });
    };
    if (!differs(series.time)) {
        refuseTrace("the trace needs at least two samples with different times");
    }
    if (!differs(series.amplitude)) {
        refuseTrace("the trace needs at least two samples with different amplitudes");
    }
    // The panel and the tie place samples by time: one going back would
    // draw the trace over itself, and the tie refuses it.
    for (std::size_t i = 1; i < series.time.size(); ++i) {
        if (!(series.time[i] > series.time[i - 1])) {
            refuseTrace(formatMessage(
                "the times must increase from sample to sample; sample %s (%s ms) is not later "
                "than the one before (%s ms)",
                {numbers::formatInteger(static_cast<long long>(i) + 1),
                 numbers::formatSignificant(series.time[i], 9),
                 numbers::formatSignificant(series.time[i - 1], 9)}));
        }
    }
    if (series.truncated) {
        refuseTrace(formatMessage("it holds more than %s samples",
                                  {numbers::formatInteger(SeriesCapacity)}));
    }
}

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

} // namespace quarvel
