#pragma once

#include <optional>
#include <ostream>

namespace quarvel {

// --version and --help, answered before Qt starts: they need no display, so
// they work on a server and help2man can read them to write the manual page.
// Returns the exit status when the command line asks for either, nothing
// when the program should start as usual.
std::optional<int> answerInformationOption(int argc, char** argv, std::ostream& out);

} // namespace quarvel
