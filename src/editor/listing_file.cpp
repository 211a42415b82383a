#include "editor/listing_file.h"

#include "formats/field_lines.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <cctype>
#include <cmath>
#include <optional>
#include <system_error>

namespace quarvel {
namespace {

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

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

// The next field of a line from pos on, or an empty view.
std::string_view nextField(std::string_view line, std::size_t& pos) {
    while (pos < line.size() && isBlank(line[pos])) {
        ++pos;
    }
    const std::size_t start = pos;
    while (pos < line.size() && !isBlank(line[pos])) {
        ++pos;
    }
    return line.substr(start, pos - start);
}

// "nan", "-inf", "Infinity", "1e999": texts that stand for a value no panel
// can place.
bool isNonFiniteText(std::string_view field) {
    if (!std::isfinite(numbers::parseNumber(field))) {
        return true;
    }
    std::string lower;
    for (const char c : field.substr(field.starts_with('-') || field.starts_with('+') ? 1 : 0)) {
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return lower == "inf" || lower == "infinity" || lower.starts_with("nan");
}

[[noreturn]] void refuseTrace(std::string_view reason) {
    throw QuarvelError(formatMessage("The trace listing cannot be drawn: %s. \"trace.txt\" "
                                     "was left as it was.",
                                     {reason}));
}

} // namespace

void checkTraceListing(std::string_view text) {
    std::optional<double> firstTime;
    std::optional<double> firstAmplitude;
    bool timesDiffer = false;
    bool amplitudesDiffer = false;
    int lineNumber = 0;
    for (std::size_t start = 0; start < text.size();) {
        std::size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        const std::string_view line = text.substr(start, end - start);
        start = end + (text.substr(end).starts_with("\r\n") ? 2 : 1);
        ++lineNumber;
        std::size_t pos = 0;
        const std::string_view timeField = nextField(line, pos);
        if (timeField.empty()) {
            continue;
        }
        const std::string_view amplitudeField = nextField(line, pos);
        for (const std::string_view field : {timeField, amplitudeField}) {
            if (isNonFiniteText(field)) {
                refuseTrace(formatMessage("line %s holds %s",
                                          {numbers::formatInteger(lineNumber), shownField(field)}));
            }
        }
        // Fields are read as the panel reads them: as far as they are numbers.
        const double time = numbers::parseNumber(timeField);
        const double amplitude = numbers::parseNumber(amplitudeField);
        if (!firstTime) {
            firstTime = time;
            firstAmplitude = amplitude;
        }
        timesDiffer = timesDiffer || time != *firstTime;
        amplitudesDiffer = amplitudesDiffer || amplitude != *firstAmplitude;
    }
    if (!timesDiffer) {
        refuseTrace("the trace needs at least two samples with different times");
    }
    if (!amplitudesDiffer) {
        refuseTrace("the trace needs at least two samples with different amplitudes");
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
