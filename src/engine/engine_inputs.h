#pragma once

#include "engine/synthetic.h"
#include "platform/work_dir.h"

// The engine's two input files, read the way the rest of the program writes
// them: numbers separated by blanks and line breaks, one row per line, every
// row ending with a line break. What is found before the end of the file
// after the last row (only blanks and line breaks) is no row.
namespace quarvel::engine {

// The rows of log.dat (densities as written, in g/cm3). Refuses, before
// anything is computed, a missing file, more rows than a series holds, a last
// row that is short of numbers, numbers out of range, and what
// checkSyntheticLog refuses (naming the file).
MathFun::SyntheticLog readLog(const WorkDir& workDir);

// The amplitudes (second column) of klauder.dat in file order. Refuses a
// missing or empty file, more rows than the engine's series allow (twice the
// rows and the closing 0 must fit), a last row that is short of numbers and
// amplitudes out of range.
MathFun::SyntheticWavelet readWavelet(const WorkDir& workDir);

} // namespace quarvel::engine
