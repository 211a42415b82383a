#pragma once

#include "section_options.h"

#include <ostream>

// quarvel-synth section: a SEG-Y line drawn as the section window draws it,
// without windows.
namespace quarvel::synth {

// Draws the line (or the traces asked for) as a variable-density picture with
// its axes, two-way time down the left and trace numbers or distance along
// the line below, and writes it as PNG to --out; says what was drawn on
// `out`. Options that do not fit the line are refused before anything is
// written.
void writeSegySection(const SegySectionOptions& options, std::ostream& out);

} // namespace quarvel::synth
