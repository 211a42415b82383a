#pragma once

#include <string_view>

// The chirp window's parameter texts, converted for a computation that must
// not run on a text that is not a number or on a value outside its range.
namespace quarvel {

// The fields as messages name them.
inline constexpr std::string_view SignalWidthField = "Signal Width";
inline constexpr std::string_view StartFrequencyField = "Start Frequency";
inline constexpr std::string_view EndFrequencyField = "End Frequency";
inline constexpr std::string_view SamplingIntervalField = "Sampling Interval";

namespace msg {
inline constexpr std::string_view FieldNotANumber =
    "%s: \"%s\" is not a number (write it with \".\" as the decimal point, like 0.00001).";
inline constexpr std::string_view FieldNotAboveZero = "%s must be above 0; it is \"%s\".";
} // namespace msg

// The text's value when the whole text (blanks around it allowed) is a finite
// number; otherwise throws FieldNotANumber naming the field.
double requireNumber(std::string_view text, std::string_view field);

// As requireNumber, and the value must be above 0 (FieldNotAboveZero).
double requireAboveZero(std::string_view text, std::string_view field);

} // namespace quarvel
