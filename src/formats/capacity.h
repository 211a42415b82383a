#pragma once

namespace quarvel {

// The most samples a series holds, and the most records of a log: the
// engine's series, the log table, the data editor's grid, the series panels
// and a SEG-Y trace all stop here.
inline constexpr int SeriesCapacity = 64000;

} // namespace quarvel
