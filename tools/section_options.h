#pragma once

#include "survey/section_raster.h"
#include "survey/segy_section.h"

#include <string>

// The options of quarvel-synth section, checked before the line is read.
namespace quarvel::synth {

// The option texts of "section", as given on the command line (empty: not
// given).
struct SegySectionOptions {
    std::string segy;
    std::string out;
    std::string width;
    std::string height;
    std::string traces; // "A-B", from 1
    std::string clip;   // percentile
    std::string colours;
    std::string across;  // "trace" or "distance"
    std::string flatten; // "yes" when given
    std::string channel;
    std::string trace; // the chosen trace, marked
    std::string stack;
};

// What the options ask for.
struct SectionSettings {
    SectionRequest request;
    SectionStyle style;
    bool distance = false; // distance along the line across, not trace numbers
};

// The settings the options give, as far as they can be checked without the
// line; a wrong command line raises UsageError, a number out of range a
// QuarvelError naming the option.
SectionSettings sectionSettings(const SegySectionOptions& options);

} // namespace quarvel::synth
