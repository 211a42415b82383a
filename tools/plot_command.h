#pragma once

#include <ostream>
#include <string>

// quarvel-synth plot: the final plot of a session, drawn without windows.
namespace quarvel::tools {

struct PlotTexts {
    std::string session; // the session file (.qvs)
    std::string out;     // the bitmap to write
};

// Reopens the session in a document of its own, working in a temporary
// folder (the user's working files stay as they are), and writes its final
// plot, title included, as "Final Plot" in the program shows it. A session
// that cannot be opened whole is refused, naming what is missing, and
// nothing is written.
void writeSessionPlot(const PlotTexts& texts, std::ostream& out, std::ostream& err);

} // namespace quarvel::tools
