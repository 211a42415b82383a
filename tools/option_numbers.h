#pragma once

#include <string_view>

// Number options of quarvel-synth, converted with their ranges checked, so that
// no value from the command line can overflow or index outside what it names.
namespace quarvel::synth {

// The option's text as a whole number from min to max; anything else is a
// wrong command line (UsageError).
int wholeNumberOption(std::string_view option, std::string_view text, int min, int max);

} // namespace quarvel::synth
