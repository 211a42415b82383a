#pragma once

#include <string>

namespace quarvel::synth {

// A wrong command line: quarvel-synth says what is wrong, points to --help
// and exits with status 2.
struct UsageError {
    std::string message;
};

} // namespace quarvel::synth
