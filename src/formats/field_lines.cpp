#include "formats/field_lines.h"

#include "formats/field_cursor.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace quarvel {
namespace {

class FieldReader {
public:
    FieldReader(std::string_view text, const FieldLineFormat& format, FieldSink& sink)
        : cursor_(text), format_(format), sink_(sink),
          fields_(static_cast<std::size_t>(format.width)),
          record_(static_cast<std::size_t>(format.width)) {
        sink_.reserve(expectedRecords(text));
    }

    FieldSummary perLine() {
        while (!cursor_.atEnd()) {
            const int count = cursor_.lineFields(fields_);
            cursor_.skipLineEnd();
            endLine(count);
        }
        return result_;
    }

    FieldSummary tokens() {
        const bool skipRest = format_.rule == FieldRule::TokensToLineEnd;
        while (true) {
            if (skipRest) {
                cursor_.skipBlanks();
            }
            if (cursor_.atEnd()) {
                break;
            }
            if (!room()) {
                break;
            }
            for (double& value : record_) {
                cursor_.skipBlanks();
                value = numbers::parseNumber(cursor_.field());
            }
            sink_.add(record_);
            if (skipRest) {
                cursor_.skipToLineEnd();
                cursor_.skipLineEnd();
            }
        }
        return result_;
    }

private:
    // One record a line at most under the per-line rules, and about that
    // under the others; a record takes at least `width` characters and a
    // separator after each but the last. Bounded by the text's size, so a
    // text of nothing but line ends asks no more than a real one would.
    std::size_t expectedRecords(std::string_view text) const {
        auto lineEnds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
        if (lineEnds == 0) {
            lineEnds = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\r'));
        }
        const std::size_t fitting =
            (text.size() + 1) / (2 * std::max<std::size_t>(record_.size(), 1));
        return std::min({lineEnds + 1, fitting, format_.maxRecords});
    }

    // Whether another record may be kept; refuses it when the format says so.
    bool room() {
        if (records_ < format_.maxRecords) {
            ++records_;
            return true;
        }
        if (!format_.tooMany.empty()) {
            throw QuarvelError(std::string(format_.tooMany), ErrorKind::Capacity);
        }
        result_.truncated = true;
        return false;
    }

    void endLine(int count) {
        ++line_;
        if (count == 0) {
            if (firstBlank_ == 0) {
                firstBlank_ = line_;
            }
            return;
        }
        if (firstBlank_ != 0) {
            refuse(firstBlank_, 0);
        }
        if (count != format_.width) {
            refuse(line_, count);
        }
        if (!room()) {
            return;
        }
        for (std::size_t c = 0; c < record_.size(); ++c) {
            record_[c] = value(fields_[c]);
        }
        sink_.add(record_);
    }

    double value(std::string_view field) {
        const std::optional<double> whole = numbers::tryParseNumber(field);
        if (whole && std::isfinite(*whole)) {
            return *whole;
        }
        if (format_.rule == FieldRule::NumericPrefixPerLine) {
            ++result_.inexact;
            const double prefix = numbers::parseNumber(field);
            return std::isfinite(prefix) ? prefix : 0.0;
        }
        const std::string lineText = numbers::formatInteger(line_);
        if (!whole) {
            throw QuarvelError(formatMessage("Line %s of \"%s\": \"%s\" is not a number.",
                                             {lineText, format_.fileName, shownField(field)}),
                               ErrorKind::InvalidData);
        }
        throw QuarvelError(formatMessage("Line %s of \"%s\" holds a number out of range (\"%s\").",
                                         {lineText, format_.fileName, shownField(field)}),
                           ErrorKind::InvalidData);
    }

    [[noreturn]] void refuse(int line, int count) const {
        const std::string lineText = numbers::formatInteger(line);
        const std::string widthText = numbers::formatInteger(format_.width);
        if (count == 0) {
            throw QuarvelError(
                formatMessage(
                    "Line %s of \"%s\" is blank; every line up to the last holds %s numbers (%s).",
                    {lineText, format_.fileName, widthText, format_.fields}),
                ErrorKind::InvalidData);
        }
        throw QuarvelError(
            formatMessage(
                "Line %s of \"%s\" holds %s %s; every line holds exactly %s numbers (%s).",
                {lineText, format_.fileName, numbers::formatInteger(count),
                 count == 1 ? "field" : "fields", widthText, format_.fields}),
            ErrorKind::InvalidData);
    }

    FieldCursor cursor_;
    const FieldLineFormat& format_;
    FieldSink& sink_;
    std::vector<std::string_view> fields_;
    std::vector<double> record_;
    FieldSummary result_;
    std::size_t records_ = 0;
    int line_ = 0;       // lines ended so far
    int firstBlank_ = 0; // the first of the blank lines since the last record
};

// The records one after the other, as FieldRecords keeps them.
class ValueSink final : public FieldSink {
public:
    ValueSink(std::vector<double>& values, int width)
        : values_(values), width_(static_cast<std::size_t>(width)) {}
    void reserve(std::size_t records) override { values_.reserve(records * width_); }
    void add(std::span<const double> record) override {
        values_.insert(values_.end(), record.begin(), record.end());
    }

private:
    std::vector<double>& values_;
    std::size_t width_;
};

} // namespace

FieldRecords readFieldLines(std::string_view text, const FieldLineFormat& format) {
    FieldRecords records;
    ValueSink sink(records.values, format.width);
    static_cast<FieldSummary&>(records) = readFieldLines(text, format, sink);
    return records;
}

FieldSummary readFieldLines(std::string_view text, const FieldLineFormat& format, FieldSink& sink) {
    FieldReader reader(text, format, sink);
    switch (format.rule) {
    case FieldRule::WholeNumbersPerLine:
    case FieldRule::NumericPrefixPerLine:
        return reader.perLine();
    case FieldRule::TokensToLineEnd:
    case FieldRule::TokensWhileAnyCharacter:
        return reader.tokens();
    }
    return {};
}

std::string shownField(std::string_view field) {
    constexpr std::size_t Shown = 40;
    std::string shown(field.substr(0, Shown));
    if (field.size() > Shown) {
        shown += "...";
    }
    return shown;
}

} // namespace quarvel
