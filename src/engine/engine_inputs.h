#pragma once

#include "engine/synthetic.h"
#include "platform/work_dir.h"

#include <string>
#include <string_view>

// The engine's two input files, read the way the rest of the program writes
// them: one row per line, its numbers separated by blanks. Blank lines after
// the last row are no row.
namespace quarvel::engine {

// The rows of log.dat (densities as written, in g/cm3). Refuses, before
// anything is computed, a missing file, more rows than a series holds, a line
// that does not hold three numbers, a field that is not a number as a whole,
// numbers out of range, and what checkSyntheticLog refuses (naming the file).
// A first depth above the core top (below 0) is refused as well.
MathFun::SyntheticLog readLog(const WorkDir& workDir);

// The same from a text that is to become log.dat (fileName names it in
// messages).
MathFun::SyntheticLog readLogText(std::string_view text, const std::string& fileName);

// The amplitudes (second column) of klauder.dat in file order. Refuses a
// missing or empty file, more rows than the engine's series allow (twice the
// rows and the closing 0 must fit), a line that does not hold two numbers,
// and a wavelet sampled at another interval than the synthetic's
// (intervalText is the field's text, for the message): a wavelet of the wrong
// interval would be stretched or squeezed without a word.
MathFun::SyntheticWavelet readWavelet(const WorkDir& workDir, double interval,
                                      std::string_view intervalText);

// Refuses a start or end frequency other than those klauder.dat was made
// with, as the chirp source recorded them beside it; a wavelet without that
// record (made before it was kept) is taken as it is.
void checkWaveletSweep(const WorkDir& workDir, double start, double end);

} // namespace quarvel::engine
