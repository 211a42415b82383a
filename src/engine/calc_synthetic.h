#pragma once

#include "engine/synthetic.h"
#include "platform/work_dir.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>

// "Calc. Synthetic" on the working files: log.dat and klauder.dat in, the
// five stage files out.
namespace quarvel::MathFun {

// The texts of the five files of SyntheticFileNames for a computed run:
// refl.dat from the first grid time, normalised to the largest reflection
// coefficient, the other four as WriteSeries writes them, each from its
// strongest sample or from its sea-floor sample.
std::array<std::string, 5> syntheticFileTexts(const SyntheticSeries& series,
                                              TimeZero timeZero = TimeZero::Strongest);

// Reads log.dat and klauder.dat from the working directory and the start
// frequency, end frequency and sampling interval texts of the chirp window,
// computes on the engine and writes the five files of SyntheticFileNames, all
// of them or, when anything is refused or fails, none. Throws QuarvelError
// with the reason. Given newLogDat, the run computes from that text instead
// of log.dat, and the text becomes log.dat with the five files: all six are
// replaced or none, so a refused run never leaves a log beside stage files
// made from another.
SyntheticCounts CalcSynthetic(Engine& engine, const WorkDir& workDir, std::string_view startText,
                              std::string_view endText, std::string_view intervalText,
                              const kernels::KernelOptions& options = {},
                              TimeZero timeZero = TimeZero::Strongest,
                              const std::optional<std::string>& newLogDat = std::nullopt,
                              bool antiAliased = false);

} // namespace quarvel::MathFun
