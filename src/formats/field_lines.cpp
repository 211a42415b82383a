#include "formats/field_lines.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <iterator>
#include <vector>

namespace quarvel {
namespace {

// No number is longer; a longer field is kept only this far, so a line of
// binary junk costs no more memory than a line of numbers.
constexpr std::size_t FieldLimit = 256;

bool isBlank(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

class LineCollector {
public:
    LineCollector(const FieldLineFormat& format,
                  const std::function<void(int, std::span<const std::string>)>& onRecord)
        : format_(format), onRecord_(onRecord), fields_(static_cast<std::size_t>(format.width)) {}

    void character(char c) {
        if (isBlank(c)) {
            inField_ = false;
            return;
        }
        if (!inField_) {
            inField_ = true;
            ++count_;
            if (count_ <= format_.width) {
                fields_[static_cast<std::size_t>(count_ - 1)].clear();
            }
        }
        if (count_ <= format_.width) {
            std::string& field = fields_[static_cast<std::size_t>(count_ - 1)];
            if (field.size() <= FieldLimit) {
                field += c;
            }
        }
    }

    void endLine() {
        ++line_;
        inField_ = false;
        if (count_ == 0) {
            if (firstBlank_ == 0) {
                firstBlank_ = line_;
            }
            return;
        }
        if (firstBlank_ != 0) {
            refuse(firstBlank_, 0);
        }
        if (count_ != format_.width) {
            refuse(line_, count_);
        }
        if (records_ == format_.maxLines) {
            throw QuarvelError(std::string(format_.tooMany));
        }
        ++records_;
        onRecord_(line_, fields_);
        count_ = 0;
    }

    bool lineOpen() const { return count_ > 0; }

private:
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

    const FieldLineFormat& format_;
    const std::function<void(int, std::span<const std::string>)>& onRecord_;
    std::vector<std::string> fields_;
    int count_ = 0; // fields on the current line
    bool inField_ = false;
    int line_ = 0;       // lines ended so far
    int firstBlank_ = 0; // the first of the blank lines since the last record
    int records_ = 0;
};

} // namespace

void readFieldLines(std::istream& in, const FieldLineFormat& format,
                    const std::function<void(int, std::span<const std::string>)>& onRecord) {
    LineCollector lines(format, onRecord);
    std::istreambuf_iterator<char> it(in);
    const std::istreambuf_iterator<char> end;
    while (it != end) {
        const char c = *it;
        ++it;
        if (c == '\r' || c == '\n') {
            if (c == '\r' && it != end && *it == '\n') {
                ++it;
            }
            lines.endLine();
        } else {
            lines.character(c);
        }
    }
    if (lines.lineOpen()) {
        lines.endLine();
    }
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
