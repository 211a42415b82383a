#include "survey/las_reader.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <optional>
#include <vector>

namespace quarvel {
namespace {

constexpr std::string_view CannotReadLas = "Cannot read the LAS file \"%s\". %s";

// "MNEM.UNIT  VALUE : DESCRIPTION", the line of every header section.
struct HeaderLine {
    std::string mnemonic;
    std::string unit;
    std::string value;
};

std::optional<HeaderLine> parseHeaderLine(std::string_view line) {
    const std::size_t dot = line.find('.');
    if (dot == std::string_view::npos) {
        return std::nullopt;
    }
    HeaderLine header;
    header.mnemonic = std::string(trimmed(line.substr(0, dot)));
    const std::string_view rest = line.substr(dot + 1);
    const std::size_t unitEnd = rest.find_first_of(" \t:");
    header.unit = std::string(rest.substr(0, unitEnd));
    const std::string_view after = unitEnd == std::string_view::npos ? "" : rest.substr(unitEnd);
    header.value = std::string(trimmed(after.substr(0, after.rfind(':'))));
    return header;
}

std::vector<std::string_view> tokens(std::string_view line) {
    std::vector<std::string_view> found;
    std::size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && static_cast<unsigned char>(line[i]) <= ' ') {
            ++i;
        }
        const std::size_t start = i;
        while (i < line.size() && static_cast<unsigned char>(line[i]) > ' ') {
            ++i;
        }
        if (i > start) {
            found.push_back(line.substr(start, i - start));
        }
    }
    return found;
}

std::string text(std::size_t value) {
    return numbers::formatInteger(static_cast<long long>(value));
}

class LasParser {
public:
    explicit LasParser(const std::string& fileName) : fileName_(fileName) {}

    ColumnTable parse(std::string_view content) {
        const std::vector<std::string> lines = splitLines(content);
        for (std::size_t i = 0; i < lines.size() && !table_.truncated; ++i) {
            lineNumber_ = i + 1;
            readLine(trimmed(lines[i]));
        }
        finish();
        return std::move(table_);
    }

private:
    [[noreturn]] void fail(const std::string& reason) const {
        throw QuarvelError(formatMessage(CannotReadLas, {fileName_, reason}),
                           ErrorKind::InvalidData);
    }

    [[noreturn]] void failAtLine(std::string_view pattern,
                                 std::initializer_list<std::string_view> args) const {
        fail("Line " + text(lineNumber_) + ": " + formatMessage(pattern, args));
    }

    void readLine(std::string_view line) {
        if (line.empty() || line.front() == '#') {
            return;
        }
        if (line.front() == '~') {
            section_ = line.size() > 1 ? upperCase(line.substr(1, 1)).front() : ' ';
            if (section_ == 'A') {
                startData();
            }
            return;
        }
        switch (section_) {
        case 'V':
            readVersionLine(line);
            break;
        case 'W':
            readWellLine(line);
            break;
        case 'C':
            readCurveLine(line);
            break;
        case 'A':
            readDataLine(line);
            break;
        default:
            break;
        }
    }

    void readVersionLine(std::string_view line) {
        const auto header = parseHeaderLine(line);
        if (!header) {
            return;
        }
        const std::string mnemonic = upperCase(header->mnemonic);
        if (mnemonic == "VERS" && !header->value.empty() && header->value.front() != '1' &&
            header->value.front() != '2') {
            fail(formatMessage("It is a LAS %s file; Quarvel reads LAS 1.2 and 2.0 files.",
                               {header->value}));
        }
        if (mnemonic == "WRAP") {
            wrapped_ = upperCase(header->value) == "YES";
        }
    }

    void readWellLine(std::string_view line) {
        const auto header = parseHeaderLine(line);
        if (header && upperCase(header->mnemonic) == "NULL") {
            nullValue_ = numbers::tryParseNumber(header->value);
        }
    }

    void readCurveLine(std::string_view line) {
        const auto header = parseHeaderLine(line);
        if (!header || header->mnemonic.empty()) {
            failAtLine("\"%s\" is not a curve of the ~Curve section.", {line});
        }
        table_.columns.push_back({header->mnemonic, header->unit});
    }

    void startData() {
        if (table_.columns.empty()) {
            fail("Its ~ASCII section comes before a ~Curve section naming its curves.");
        }
        seenData_ = true;
    }

    void readDataLine(std::string_view line) {
        const std::vector<std::string_view> values = tokens(line);
        const std::size_t curves = table_.columns.size();
        if (!wrapped_ && values.size() != curves) {
            failAtLine("it holds %s values, but the ~Curve section names %s curves.",
                       {text(values.size()), text(curves)});
        }
        for (const std::string_view token : values) {
            const auto number = finiteNumber(token);
            if (!number) {
                failAtLine("\"%s\" is not a number.", {token});
            }
            pending_.push_back(nullValue_ && *number == *nullValue_ ? MissingValue : *number);
            if (pending_.size() == curves) {
                addRow();
            }
        }
    }

    void addRow() {
        if (table_.rows.size() == TableRowLimit) {
            table_.truncated = true;
        } else {
            table_.rows.push_back(std::move(pending_));
        }
        pending_.clear();
    }

    void finish() {
        if (table_.columns.empty()) {
            fail("It has no ~Curve section naming its curves.");
        }
        if (!seenData_) {
            fail("It has no ~ASCII section holding the data.");
        }
        if (!pending_.empty() && !table_.truncated) {
            fail(formatMessage("Its last wrapped record holds %s values of %s.",
                               {text(pending_.size()), text(table_.columns.size())}));
        }
        if (table_.rows.empty()) {
            fail("Its ~ASCII section holds no data.");
        }
    }

    const std::string& fileName_;
    ColumnTable table_;
    std::vector<double> pending_;
    std::optional<double> nullValue_;
    std::size_t lineNumber_ = 0;
    char section_ = ' ';
    bool wrapped_ = false;
    bool seenData_ = false;
};

} // namespace

bool looksLikeLas(std::string_view content) {
    content = withoutByteOrderMark(content);
    for (const std::string& line : splitLines(content.substr(0, 64 * 1024))) {
        const std::string_view text = trimmed(line);
        if (text.empty() || text.front() == '#') {
            continue;
        }
        return text.size() > 1 && text.front() == '~' && (text[1] == 'V' || text[1] == 'v');
    }
    return false;
}

ColumnTable readLas(std::string_view content, const std::string& fileName) {
    return LasParser(fileName).parse(withoutByteOrderMark(content));
}

} // namespace quarvel
