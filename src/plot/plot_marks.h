#pragma once

#include <optional>
#include <string>

namespace quarvel {

// One flag for each of the five panels the final plot can hold: the panels
// the selection bar picks, the panels holding a picture, or the panels a mark
// lies on.
struct PanelSet {
    bool photo = false;
    bool synthetic = false;
    bool pwave = false;
    bool density = false;
    bool trace = false;

    bool any() const { return photo || synthetic || pwave || density || trace; }
    bool operator==(const PanelSet&) const = default;
};

// The photograph's panel is 103 pixels wide, the others 151.
inline constexpr int CorePanelWidth = 103;
inline constexpr int SeriesPanelWidth = 151;
// Every panel's height until a photograph gives them its own.
inline constexpr int StartPanelHeight = 600;

// A correlation mark as a click left it: a line across each of its panels at
// the photograph's row, labelled with the depth on the synthetic and log
// panels; on the trace, a line at the row of its two-way time, labelled with
// the time and the depth.
struct PlotMark {
    int row = 0;
    std::string depthText;
    PanelSet panels;
    std::optional<double> traceTwt; // ms; set when the trace holds the mark
    int traceRow = 0;

    bool operator==(const PlotMark&) const = default;
};

} // namespace quarvel
