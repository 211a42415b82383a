#pragma once

#include "survey/segy_section.h"

#include <cstdint>
#include <vector>

namespace quarvel {

enum class SectionColours {
    Grey,      // white to black with growing amplitude (negative ones white)
    Diverging, // blue through white to red
};

// How the section is coloured and what is marked on it.
struct SectionStyle {
    SectionColours colours = SectionColours::Grey;
    double clipPercent = 98; // amplitudes above this percentile are drawn at full strength
    int chosenTrace = -1;    // from 0; -1: none
    int stackTraces = 0;     // on each side of the chosen one, of its channel
    int channels = 1;
    bool seaFloor = true;
    // The traces nearest the core's position (from 0); -1: none.
    int coreFirst = -1;
    int coreLast = -1;
};

// The colours drawn, as 0xAARRGGBB.
inline constexpr std::uint32_t SectionNoData = 0xFFF0F0F0;
inline constexpr std::uint32_t SectionSeaFloor = 0xFF00B000;
inline constexpr std::uint32_t SectionChosen = 0xFFFF00FF;

// The colour of an amplitude already divided by the clip (so within -1 to 1
// at full strength); `signedData` spreads -1 to 1 over the map, else 0 to 1
// (grey) or 0 to 1 over the map's red half (diverging).
std::uint32_t sectionColour(double scaled, SectionColours colours, bool signedData);

// The section's pixels, row by row (section.width x section.height): the
// amplitudes coloured, the sea-floor pick joined column to column, the
// chosen trace's column edged and its stack's columns tinted.
std::vector<std::uint32_t> sectionPixels(const SegySection& section, const SectionStyle& style);

} // namespace quarvel
