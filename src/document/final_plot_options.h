#pragma once

#include "plot/final_plot_source.h"
#include "survey/segy_reader.h"

#include <string>

namespace quarvel {

// Wider excerpts would crowd the plot far beyond its panels.
inline constexpr int MaxSectionTraces = 100;
// Each trace of an excerpt takes this many columns, and an excerpt of few
// traces is widened to a panel's width.
inline constexpr int ExcerptColumnsPerTrace = 3;
inline constexpr int ExcerptMinWidth = 151;

// The traces either side as typed: a whole number from 1 to
// MaxSectionTraces; throws naming the text otherwise.
int sectionTracesFromText(const std::string& text);

// Where the excerpt comes from: the core's trace on the line (from 0), the
// traces stacked on each side of it, and the span of the trace panel in the
// trace's own time (ms).
struct ExcerptRequest {
    int trace = 0;
    int stack = 0;
    int either = 0;
    double firstMs = 0;
    double lastMs = 0;
    int height = 0;
    double intervalMs = 0; // above 0: the listing's, in place of the headers'
};

// The traces of the core's channel either side of its trace (fewer at the
// line's ends), as the section is built for the window, its rows spanning
// the trace panel's times; the core's trace and its stack marked.
SectionExcerpt sectionExcerpt(SegyReader& reader, const ExcerptRequest& request);

} // namespace quarvel
