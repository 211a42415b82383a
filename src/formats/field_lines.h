#pragma once

#include <functional>
#include <istream>
#include <span>
#include <string>
#include <string_view>

// Files of records, one record per line, each of a fixed number of fields
// separated by blanks (every character of code 32 or less but CR and LF).
// Reading a record per line, rather than so many fields at a time across
// line breaks, keeps a line with a missing or an extra field from shifting
// every later value into the wrong column.
namespace quarvel {

struct FieldLineFormat {
    std::string_view fileName; // as messages name the file
    int width = 0;             // fields on every line
    std::string_view fields;   // what they are, for messages: "depth, velocity, density"
    int maxLines = 0;          // records beyond this many are refused
    std::string_view tooMany;  // the message for that
};

// Hands each record to onRecord(line, fields), line counted from 1. Blank
// lines after the last record count as nothing; any other line that does not
// hold exactly format.width fields is refused with a message naming it. A CR
// LF pair, a lone CR and a lone LF each end a line. Throws QuarvelError.
void readFieldLines(std::istream& in, const FieldLineFormat& format,
                    const std::function<void(int, std::span<const std::string>)>& onRecord);

// A field as a message shows it: cut short when it is long.
std::string shownField(std::string_view field);

} // namespace quarvel
