#include "section_options.h"

#include "option_numbers.h"
#include "usage_error.h"

namespace quarvel::synth {

SectionSettings sectionSettings(const SegySectionOptions& options) {
    if (options.segy.empty() || options.out.empty()) {
        throw UsageError{"'section' needs --segy FILE and --out FILE.png"};
    }
    SectionSettings settings;
    SectionRequest& request = settings.request;
    SectionStyle& style = settings.style;
    if (!options.width.empty()) {
        request.width = wholeNumberOption("--width", options.width, 1, 8192);
    }
    if (!options.height.empty()) {
        request.height = wholeNumberOption("--height", options.height, 1, 8192);
    }
    if (!options.channel.empty()) {
        request.channel = wholeNumberOption("--channel", options.channel, 1, SegyMaxChannels) - 1;
    }
    if (!options.clip.empty()) {
        style.clipPercent = numberOption("--clip", options.clip, 1, 100, "per cent");
    }
    if (options.colours == "diverging") {
        style.colours = SectionColours::Diverging;
    } else if (!options.colours.empty() && options.colours != "grey") {
        throw UsageError{"option '--colours' takes grey or diverging, not '" + options.colours +
                         "'"};
    }
    if (!options.stack.empty()) {
        style.stackTraces = wholeNumberOption("--stack", options.stack, 0, MaxStack);
    }
    settings.distance = options.across == "distance";
    if (!settings.distance && !options.across.empty() && options.across != "trace") {
        throw UsageError{"option '--across' takes trace or distance, not '" + options.across + "'"};
    }
    request.flatten = options.flatten == "yes";
    return settings;
}

} // namespace quarvel::synth
