#pragma once

#include "formats/series_file.h"
#include "survey/section_raster.h"
#include "survey/segy_section.h"

#include <QFont>
#include <QImage>
#include <QRgb>
#include <optional>

namespace quarvel {

// What the horizontal axis counts.
enum class SectionAcross { TraceNumber, Distance };

// Room around the section for the axes: time on the left, traces or
// distance below.
inline constexpr int SectionLeft = 56;
inline constexpr int SectionTop = 10;
inline constexpr int SectionRight = 10;
inline constexpr int SectionBottom = 36;

// The colour of the core's mark.
inline constexpr QRgb SectionCoreMark = 0xffe07000;

// The section picture: the coloured section (as sectionPixels draws it) with
// its top-left corner at (SectionLeft, SectionTop) inside a black frame,
// two-way time in ms down the left with ticks, and trace numbers (from 1)
// or distance along the line below, each tick at the column it names. Above
// the frame, the traces nearest the core are underlined and a triangle
// points down at their middle.
QImage renderSectionPicture(const SegySection& section, const SectionStyle& style,
                            SectionAcross across, const QFont& font);

// Half the width of the synthetic's inset, in pixels.
inline constexpr int SectionInsetHalfWidth = 16;

// The synthetic (times in seconds of the loaded trace's listing, as a tie
// puts it: a few may lie above its first sample) drawn into the picture as a
// narrow wiggle on white, centred on the chosen trace's columns, so that its
// events can be followed into the section. `zeroMs` is the trace's own time
// at the listing's time 0: where the listing was cut at the sea floor, or 0
// when the trace was kept whole (its listing then keeps the trace's own
// times); none (no SEG-Y trace loaded) puts time 0 at the chosen trace's
// sea-floor pick. Nothing is drawn without a chosen trace in view (with a
// pick when there is no zero), or a synthetic of two samples.
void drawSectionInset(QImage& picture, const SegySection& section, int chosenTrace,
                      const SeriesData& synthetic, std::optional<double> zeroMs);

// The column under x of the picture, or -1 outside the section.
int sectionColumnAt(const SegySection& section, int x);

// A step of 1, 2 or 5 times a power of ten, the smallest that leaves at
// least `minimum` between ticks.
double niceStep(double minimum);

} // namespace quarvel
