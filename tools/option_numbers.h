#pragma once

#include <string>
#include <string_view>

// Number options of quarvel-synth, converted with their ranges checked, so that
// no value from the command line can overflow or index outside what it names.
namespace quarvel::synth {

// Traces averaged on each side at most: a stack wider than this smears a
// sub-bottom line beyond use and reads a large part of the file.
inline constexpr int MaxStack = 500;

// The option's text as a whole number from min to max; anything else is a
// wrong command line (UsageError).
int wholeNumberOption(std::string_view option, std::string_view text, int min, int max);

// The option's text as a number from low to high (in `unit`, for the
// message); anything else is refused with a QuarvelError naming the option.
double numberOption(std::string_view option, const std::string& text, double low, double high,
                    std::string_view unit);

} // namespace quarvel::synth
