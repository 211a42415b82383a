#pragma once

#include <cstddef>
#include <limits>
#include <span>
#include <string>
#include <string_view>
#include <vector>

// Files of numeric records: log.dat and the log files a user loads (depth,
// velocity, density), klauder.dat and chirp.dat (time, value). Each is read
// from its whole text in memory, in one pass, by one of the rules below; the
// reader of each format (log_file, wavelet_file) says which rule each of its
// consumers follows. The listings, whose readers report and refuse by rules
// of their own, are read by series_file; both walk the text with FieldCursor.
// Fields are separated by blanks (every character of code 32 or less but CR
// and LF); CR LF, a lone CR and a lone LF each end a line.
namespace quarvel {

// Records kept when the format sets no limit of its own.
inline constexpr std::size_t NoRecordLimit = std::numeric_limits<std::size_t>::max();

enum class FieldRule {
    // One record per line, exactly `width` fields, each a finite number as a
    // whole: "1,873" is not read as 1, nor "nan" as 0. Anything else is refused
    // naming the line, so a missing value cannot shift every later one into
    // the wrong column. Blank lines after the last record count as nothing.
    WholeNumbersPerLine,
    // One record per line, exactly `width` fields, as above; a field that is
    // not a finite number as a whole is read as far as it is numeric (0 when
    // that is not finite either) and counted in FieldRecords::inexact.
    NumericPrefixPerLine,
    // No line is checked: a record takes the next `width` fields wherever they
    // stand, each read as far as it is numeric (a word reads as 0, a field
    // missing at the end as 0), then skips the rest of its line. Reading ends
    // where nothing but blanks and line ends is left.
    TokensToLineEnd,
    // As TokensToLineEnd, but the rest of a line is not skipped and reading
    // goes on while any character is left: a text ending in a line break
    // gives one last record of zeros.
    TokensWhileAnyCharacter,
};

struct FieldLineFormat {
    std::string_view fileName; // as messages name the file
    int width = 0;             // fields of a record
    std::string_view fields;   // what they are, for messages: "depth, velocity, density"
    FieldRule rule = FieldRule::WholeNumbersPerLine;
    // Records beyond this many are refused with `tooMany` when it is not
    // empty; otherwise they are left out and FieldRecords::truncated is set.
    // The per-line rules still check every line after the last one kept.
    std::size_t maxRecords = NoRecordLimit;
    std::string_view tooMany;
};

// What reading left out or guessed.
struct FieldSummary {
    bool truncated = false; // records were left out beyond maxRecords
    int inexact = 0;        // fields read as far as they are numeric
};

struct FieldRecords : FieldSummary {
    std::vector<double> values; // `width` values per record, in file order

    std::size_t count(int width) const { return values.size() / static_cast<std::size_t>(width); }
};

// Takes the records as they are read, so that a consumer keeps them in its own
// form without copying them again: a log of the most rows is some 1.5 MB, and
// in a one-run process each fresh page costs a trip into the system.
class FieldSink {
public:
    virtual ~FieldSink() = default;
    // Room for about this many records, guessed from the text's lines before
    // any is read; never more than maxRecords.
    virtual void reserve(std::size_t records) = 0;
    // The next record's `width` values.
    virtual void add(std::span<const double> record) = 0;

protected:
    FieldSink() = default;
    FieldSink(const FieldSink&) = default;
    FieldSink& operator=(const FieldSink&) = default;
};

// What the reader of a format (log_file, wavelet_file) is asked for by one of
// its consumers: the rule it reads by and the records it keeps.
struct RecordReading {
    std::string_view fileName; // as messages name the file
    FieldRule rule = FieldRule::WholeNumbersPerLine;
    std::size_t maxRecords = NoRecordLimit;
    std::string_view tooMany; // see FieldLineFormat
};

// Reads the records of a whole text; a UTF-8 byte-order mark at its start is
// skipped. Throws QuarvelError as the rule says.
FieldRecords readFieldLines(std::string_view text, const FieldLineFormat& format);
FieldSummary readFieldLines(std::string_view text, const FieldLineFormat& format, FieldSink& sink);

// A field as a message shows it: cut short when it is long.
std::string shownField(std::string_view field);

} // namespace quarvel
