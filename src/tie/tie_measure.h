#pragma once

#include "tie/tie_match.h"
#include "tie/tie_series.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

// One measurement of the tie, as the Tie window and quarvel-synth tie make
// it: the trace prepared, the shifts scanned against the synthetic and, when
// a synthesiser is given, the velocity factors scanned.
namespace quarvel::tie {

struct TieRequest {
    TimeSeries synthetic; // as in ampl.dat: seconds from its first sample
    TimeSeries trace;     // as recorded: seconds, a full waveform or an envelope
    double maxShift = 2e-3;
    double minFactor = 0.80;
    double maxFactor = 1.25;
    Synthesiser synthesise; // empty: no factor scan
};

struct TieMeasurement {
    bool traceEnveloped = false;
    ShiftScan shifts;
    std::optional<FactorScan> factors;
};

// Limits of the options, wide enough for any record Quarvel handles.
inline constexpr double MaxShiftLimit = 0.1; // s
inline constexpr double MinFactorLimit = 0.5;
inline constexpr double MaxFactorLimit = 2.0;

// The option texts as numbers (shift in ms), or a QuarvelError naming the
// option and its range.
double shiftLimitFromText(const std::string& ms, const std::string& optionName);
std::pair<double, double> factorRangeFromTexts(const std::string& min, const std::string& max,
                                               const std::string& optionName);

TieMeasurement measureTie(const TieRequest& request);

// The measurement as "key value" pairs: zero_shift_coefficient,
// bulk_shift_ms, bulk_shift_coefficient, and with a factor scan
// best_velocity_factor, best_shift_ms and best_coefficient (the joint
// optimum); without one, best_shift_ms and best_coefficient are the bulk
// shift's.
std::vector<std::pair<std::string, std::string>> tieReport(const TieMeasurement& measurement);

} // namespace quarvel::tie
