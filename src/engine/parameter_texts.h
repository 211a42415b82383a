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
inline constexpr std::string_view FrequencyBelowZero = "%s must not be below 0 Hz; it is \"%s\".";
inline constexpr std::string_view FrequenciesBothZero =
    "Start Frequency and End Frequency are both 0 Hz: a sweep needs a frequency above 0.";
inline constexpr std::string_view FrequencyAboveNyquist =
    "%s must not be above the Nyquist frequency of the Sampling Interval, 1 / (2 x %s s) = "
    "%s Hz; it is \"%s\".";
} // namespace msg

// The text's value when the whole text (blanks around it allowed) is a finite
// number; otherwise throws FieldNotANumber naming the field.
double requireNumber(std::string_view text, std::string_view field);

// As requireNumber, and the value must be above 0 (FieldNotAboveZero).
double requireAboveZero(std::string_view text, std::string_view field);

// The start and end frequencies and the sampling interval as converted from
// the fields, with the texts for the messages.
struct SweepFields {
    double start = 0.0;
    double end = 0.0;
    double interval = 0.0;
    std::string_view startText, endText, intervalText;
};

// Refuses frequencies that make no sweep a synthetic can be drawn from: a
// frequency below 0, both frequencies 0 (an all-zero synthetic), and a
// frequency above the Nyquist frequency 1 / (2 interval), which the sampling
// cannot represent. The interval must be above 0.
void requireSweepFrequencies(const SweepFields& fields);

} // namespace quarvel
