#pragma once

#include <string>
#include <string_view>

// Lines of a user's text file shown in a field and saved back. Files from
// older tools are often Latin-1; reading them as UTF-8 would turn each such
// byte into U+FFFD and save back three other bytes in its place.
namespace quarvel {

// Whether the bytes are well-formed UTF-8 (no overlong forms, no surrogates,
// nothing above U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// A line as UTF-8 text: valid UTF-8 as it stands, anything else read as
// Latin-1 (every byte one character).
struct DecodedLine {
    std::string text;
    bool latin1 = false;
};
DecodedLine decodeLine(std::string_view bytes);

// The bytes to save for a field's UTF-8 text: Latin-1 when the line was read
// as Latin-1 and every character fits it, so an unchanged line goes back
// byte for byte; UTF-8 otherwise.
std::string encodeLine(std::string_view text, bool latin1);

} // namespace quarvel
