#pragma once

#include "survey/segy_reader.h"

#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quarvel {

// Which part of a line the section shows, and at what size.
struct SectionRequest {
    int firstTrace = 0; // from 0, in file order
    int lastTrace = -1; // -1: to the line's end
    int channel = 0;    // from 0, when shots have several channels
    int width = 1200;   // columns
    int height = 600;   // rows
    // Two-way time counted from each trace's sea-floor pick.
    bool flatten = false;
    // When set, the rows span these times (ms) rather than every shown
    // trace's whole record, so the section can share another picture's time
    // scale; a sea-floor pick outside them is not drawn.
    std::optional<std::pair<double, double>> timesMs = std::nullopt;
    // Above 0: replaces the headers' sample interval, as a trace's listing
    // may, so the section keeps that listing's times.
    double intervalMs = 0;
};

// One column of the section: the trace drawn there.
struct SectionColumn {
    int trace = 0; // from 0, in file order
    int fieldRecord = 0;
    double x = 0;
    double y = 0;
    // Along the line from the first column, from the coordinates: metres
    // for positions in seconds of arc or degrees, else the header's unit.
    double distance = 0;
    // Row of the sea-floor pick, or -1 when none could be picked.
    int seaFloorRow = -1;
    // How far the trace was moved up to flatten the section on the sea floor.
    double shiftMs = 0;
};

// A line decimated to the screen: one trace per column (the one nearest the
// column's middle; a line shorter than the width gives each trace several
// columns), and per row the sample of largest magnitude among those the row
// covers, so thin reflectors stay visible.
struct SegySection {
    int width = 0;
    int height = 0;
    double firstTimeMs = 0; // the top of row 0
    double lastTimeMs = 0;  // the bottom of the last row
    std::vector<SectionColumn> columns;
    // Row by row; NaN where a column's trace holds no sample.
    std::vector<float> values;
    bool hasNegative = false;
    bool flattened = false;

    float value(int column, int row) const {
        return values[static_cast<std::size_t>(row) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(column)];
    }
    // The time at the middle of a row.
    double rowTimeMs(int row) const;
};

// Called after each column with the count done and the total; returning
// false stops the building.
using SectionProgress = std::function<bool(int done, int total)>;

// Builds the section by reading only the traces it shows. Returns nothing
// drawn (width 0) when stopped. Throws with the reason when the request
// does not fit the line.
SegySection buildSegySection(SegyReader& reader, const SectionRequest& request,
                             const SectionProgress& progress = {});

// The magnitude below which `percent` per cent of the section's samples lie:
// the amplitude drawn at full strength. Never 0 for a section holding a
// sample other than 0.
double sectionClip(const SegySection& section, double percent);

// The traces a view of the line shows, first to last from 0.
struct TraceSpan {
    int first = 0;
    int last = 0;
};

// The span after zooming by `factor` (below 1 zooms in) about trace `about`,
// which stays where it was in the view; never fewer than `fewest` traces,
// never beyond the line's `traceCount`.
TraceSpan zoomedSpan(TraceSpan shown, int about, double factor, int traceCount, int fewest);

// The span moved by `traces` (positive: later traces come into view), kept
// within the line and as wide as it was.
TraceSpan pannedSpan(TraceSpan shown, long long traces, int traceCount);

// "1-500" or "250" (from 1) as first and last trace from 0; throws naming
// the text when it is not such a range within the line's `traceCount`.
void parseTraceRange(const std::string& text, int traceCount, SectionRequest& request);

} // namespace quarvel
