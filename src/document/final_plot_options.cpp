#include "document/final_plot_options.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>

namespace quarvel {

int sectionTracesFromText(const std::string& text) {
    const std::optional<int> traces = numbers::tryParseInteger(text);
    if (!traces || *traces < 1 || *traces > MaxSectionTraces) {
        throw QuarvelError("The traces either side of the core's in the section excerpt must be "
                           "a whole number from 1 to " +
                           numbers::formatInteger(MaxSectionTraces) + ", not '" + text + "'.");
    }
    return *traces;
}

SectionExcerpt sectionExcerpt(SegyReader& reader, const ExcerptRequest& request) {
    const SegyLayout& layout = reader.layout();
    const int channels = std::max(layout.channels, 1);
    SectionRequest section;
    section.channel = request.trace % channels;
    section.firstTrace = std::max(section.channel, request.trace - request.either * channels);
    section.lastTrace = std::min(layout.traceCount - 1, request.trace + request.either * channels);
    const int traces = (section.lastTrace - section.firstTrace) / channels + 1;
    section.width = std::max(traces * ExcerptColumnsPerTrace, ExcerptMinWidth);
    section.height = request.height;
    section.timesMs = {request.firstMs, request.lastMs};
    section.intervalMs = request.intervalMs;
    SectionExcerpt excerpt{buildSegySection(reader, section), {}};
    excerpt.style.chosenTrace = request.trace;
    excerpt.style.stackTraces = request.stack;
    excerpt.style.channels = channels;
    return excerpt;
}

} // namespace quarvel
