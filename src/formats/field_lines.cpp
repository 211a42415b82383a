#include "formats/field_lines.h"

#include "formats/field_cursor.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <cmath>
#include <optional>

namespace quarvel {
namespace {

class FieldReader {
public:
    FieldReader(std::string_view text, const FieldLineFormat& format)
        : cursor_(text), format_(format), fields_(static_cast<std::size_t>(format.width)) {}

    FieldRecords perLine() {
        while (!cursor_.atEnd()) {
            const int count = cursor_.lineFields(fields_);
            cursor_.skipLineEnd();
            endLine(count);
        }
        return std::move(result_);
    }

    FieldRecords tokens() {
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
            for (int c = 0; c < format_.width; ++c) {
                cursor_.skipBlanks();
                result_.values.push_back(numbers::parseNumber(cursor_.field()));
            }
            if (skipRest) {
                cursor_.skipToLineEnd();
                cursor_.skipLineEnd();
            }
        }
        return std::move(result_);
    }

private:
    // Whether another record may be kept; refuses it when the format says so.
    bool room() {
        if (records_ < format_.maxRecords) {
            ++records_;
            return true;
        }
        if (!format_.tooMany.empty()) {
            throw QuarvelError(std::string(format_.tooMany));
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
        for (int c = 0; c < format_.width; ++c) {
            result_.values.push_back(value(fields_[static_cast<std::size_t>(c)]));
        }
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
                                             {lineText, format_.fileName, shownField(field)}));
        }
        throw QuarvelError(formatMessage("Line %s of \"%s\" holds a number out of range (\"%s\").",
                                         {lineText, format_.fileName, shownField(field)}));
    }

    [[noreturn]] void refuse(int line, int count) const {
        const std::string lineText = numbers::formatInteger(line);
        const std::string widthText = numbers::formatInteger(format_.width);
        if (count == 0) {
            throw QuarvelError(formatMessage(
                "Line %s of \"%s\" is blank; every line up to the last holds %s numbers (%s).",
                {lineText, format_.fileName, widthText, format_.fields}));
        }
        throw QuarvelError(formatMessage(
            "Line %s of \"%s\" holds %s %s; every line holds exactly %s numbers (%s).",
            {lineText, format_.fileName, numbers::formatInteger(count),
             count == 1 ? "field" : "fields", widthText, format_.fields}));
    }

    FieldCursor cursor_;
    const FieldLineFormat& format_;
    std::vector<std::string_view> fields_;
    FieldRecords result_;
    std::size_t records_ = 0;
    int line_ = 0;       // lines ended so far
    int firstBlank_ = 0; // the first of the blank lines since the last record
};

} // namespace

FieldRecords readFieldLines(std::string_view text, const FieldLineFormat& format) {
    FieldReader reader(text, format);
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
