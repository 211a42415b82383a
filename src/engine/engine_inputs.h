#pragma once

#include "engine/series.h"
#include "platform/work_dir.h"

// The engine's two input files, read the way the rest of the program writes
// them: numbers separated by blanks and line breaks, one row per line, every
// row ending with a line break. What is found before the end of the file
// after the last row (only blanks and line breaks) is no row.
namespace quarvel::engine {

// log.dat into depth, velocity and density (as written, in g/cm3); returns
// the number of rows N. Refuses, before anything is computed, a missing file,
// fewer than two rows, more rows than a series holds, a last row that is
// short of numbers, numbers out of range, depths that do not increase
// strictly and velocities not above 0.
int readLog(const WorkDir& workDir, Series& depth, Series& velocity, Series& density);

// The amplitudes (second column) of klauder.dat in file order, followed by
// one 0; returns their count M, the number of rows plus 1. Refuses a missing
// or empty file, more rows than the engine's series allow (2M must fit), a
// last row that is short of numbers and amplitudes out of range.
int readWavelet(const WorkDir& workDir, Series& wavelet);

} // namespace quarvel::engine
