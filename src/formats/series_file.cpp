#include "formats/series_file.h"

#include "formats/field_cursor.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <cctype>
#include <cmath>
#include <optional>

namespace quarvel {
namespace {

// Whether the text, its case aside, is the word or starts with it.
bool startsWithWord(std::string_view text, std::string_view word) {
    if (text.size() < word.size()) {
        return false;
    }
    for (std::size_t i = 0; i < word.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != word[i]) {
            return false;
        }
    }
    return true;
}

// "nan", "-inf", "Infinity": words that stand for a value no panel can place,
// though they read as 0. (A number too large, "1e999", reads as infinite.)
bool namesNonFinite(std::string_view field) {
    if (field.starts_with('-') || field.starts_with('+')) {
        field.remove_prefix(1);
    }
    const auto is = [&](std::string_view word) {
        return field.size() == word.size() && startsWithWord(field, word);
    };
    return is("inf") || is("infinity") || startsWithWord(field, "nan");
}

class ListingReader {
public:
    ListingReader(std::string_view text, const ListingReading& reading)
        : cursor_(text), reading_(reading) {}

    Listing drawn() {
        while (true) {
            line_ += cursor_.skipBlanks();
            if (cursor_.atEnd()) {
                break;
            }
            if (samples().time.size() >= reading_.maxSamples) {
                samples().truncated = true;
                break;
            }
            const double time = drawnField();
            const double amplitude = drawnField();
            cursor_.skipToLineEnd();
            if (cursor_.skipLineEnd()) {
                ++line_;
            }
            add(time * reading_.timeScale, amplitude);
        }
        return std::move(result_);
    }

    Listing strict() {
        while (!cursor_.atEnd()) {
            ++line_;
            std::string_view fields[2];
            const int count = cursor_.lineFields(fields);
            cursor_.skipLineEnd();
            if (count != 0) {
                strictSample(count, fields[0], fields[1]);
            }
        }
        return std::move(result_);
    }

private:
    SeriesData& samples() { return result_.series; }

    double drawnField() {
        line_ += cursor_.skipBlanks();
        const std::string_view field = cursor_.field();
        const double value = numbers::parseNumber(field);
        if (result_.unplaceableLine == 0 && (!std::isfinite(value) || namesNonFinite(field))) {
            result_.unplaceableLine = line_ + 1;
            result_.unplaceableField = std::string(field);
        }
        return value;
    }

    void strictSample(int count, std::string_view timeField, std::string_view amplitudeField) {
        const std::optional<double> time = numbers::tryParseNumber(timeField);
        const std::optional<double> amplitude = numbers::tryParseNumber(amplitudeField);
        if (count != 2 || !time || !amplitude || !std::isfinite(*time) ||
            !std::isfinite(*amplitude)) {
            refuseLine("is not a time and an amplitude.");
        }
        const double scaled = *time * reading_.timeScale;
        if (!samples().time.empty() && !(scaled > samples().time.back())) {
            refuseLine("has a time that is not later than the line before.");
        }
        if (samples().time.size() == reading_.maxSamples) {
            throw QuarvelError(
                formatMessage("\"%s\" holds more than %s samples.",
                              {reading_.fileName, numbers::formatInteger(static_cast<long long>(
                                                      reading_.maxSamples))}),
                ErrorKind::Capacity);
        }
        add(scaled, *amplitude);
    }

    void add(double time, double amplitude) {
        SeriesData& series = samples();
        series.time.push_back(time);
        series.amplitude.push_back(amplitude);
        if (time > series.runningTimeMax) {
            series.runningTimeMax = time;
        }
        if (time < series.runningTimeMin) {
            series.runningTimeMin = time;
        }
    }

    [[noreturn]] void refuseLine(std::string_view why) const {
        throw QuarvelError(formatMessage("Line %s of \"%s\" %s",
                                         {numbers::formatInteger(line_), reading_.fileName, why}),
                           ErrorKind::InvalidData);
    }

    FieldCursor cursor_;
    const ListingReading& reading_;
    Listing result_;
    int line_ = 0; // lines ended so far (Strict: the line being read)
};

} // namespace

SeriesExtents seriesExtents(const SeriesData& series) {
    SeriesExtents extents;
    if (series.time.empty()) {
        return extents;
    }
    extents.timeFirst = series.time.front();
    extents.timeLast = series.time.back();
    extents.ampMin = series.amplitude.front();
    extents.ampMax = series.amplitude.front();
    for (const double amplitude : series.amplitude) {
        if (amplitude > extents.ampMax) {
            extents.ampMax = amplitude;
        }
        if (amplitude < extents.ampMin) {
            extents.ampMin = amplitude;
        }
    }
    return extents;
}

Listing readListing(std::string_view text, const ListingReading& reading) {
    ListingReader reader(text, reading);
    return reading.rule == ListingRule::Strict ? reader.strict() : reader.drawn();
}

SeriesData readSeriesFile(const std::filesystem::path& path) {
    return readListing(readTextPrefix(path, ListingCapacity),
                       {path.string(), ListingRule::Drawn, SeriesCapacity, 1.0})
        .series;
}

void appendSeriesLine(std::string& text, double time, double amplitude, SeriesTimeForm timeForm) {
    if (timeForm == SeriesTimeForm::E23) {
        numbers::appendE23(text, time);
    } else {
        text += numbers::formatFixed(time, 6);
    }
    text += ' ';
    numbers::appendE23(text, amplitude);
    text += LineEnd;
}

} // namespace quarvel
