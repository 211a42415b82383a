#pragma once

#include "tie/tie_series.h"
#include "tie/tie_synthesiser.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// One measurement of the tie, as the Tie window and quarvel-synth tie make
// it. The tie's synthetic (anti-aliased, anchored at the sea floor) is
// compared with the trace (cut at the sea floor) over the core's span below
// the sea floor's own arrival, for every velocity factor and shift of the
// search; the best score is then judged against the best scores that
// surrogate traces reach over the same search: traces with the recorded
// trace's amplitude spectrum and random phases, which no core explains.
namespace quarvel::tie {

// Limits of the options, wide enough for any record Quarvel handles.
inline constexpr double MaxShiftLimit = 0.1; // s
inline constexpr double MinFactorLimit = 0.5;
inline constexpr double MaxFactorLimit = 2.0;
// The factors the default range reaches: those that bring the log's mean
// velocity to what sea-floor sediment has, and never less than this.
inline constexpr double SedimentVelocityLow = 1450.0;  // m/s
inline constexpr double SedimentVelocityHigh = 1650.0; // m/s
inline constexpr double DefaultMinFactor = 0.80;
inline constexpr double DefaultMaxFactor = 1.25;
inline constexpr double CoarseFactorStep = 0.01;
inline constexpr double FineFactorStep = 0.001;
inline constexpr std::size_t DefaultSurrogates = 200;
inline constexpr std::uint64_t DefaultSeed = 1;
inline constexpr double DefaultLevel = 0.05;

struct TieSettings {
    // Unset: from the data (the factors above; shifts from a tenth of the
    // window upwards to as far as the trace reaches beyond it).
    std::optional<std::pair<double, double>> factorRange;
    std::optional<double> maxShift; // s: shifts from -maxShift to +maxShift
    std::size_t surrogates = DefaultSurrogates;
    std::uint64_t seed = DefaultSeed;
    double level = DefaultLevel;
};

struct TieRequest {
    TimeSeries trace; // as recorded: seconds, a full waveform or an envelope
    std::shared_ptr<const TieSynthesiser> synthesiser;
    TieSettings settings;
};

struct FactorPoint {
    double factor = 1.0;
    double shift = 0.0; // s: the best shift for this factor
    double coefficient = 0.0;
};

struct TieMeasurement {
    bool traceEnveloped = false;
    double interval = 0.0; // s, of the comparison grid
    // The compared window at the best factor, s below the sea floor.
    double windowStart = 0.0;
    double windowEnd = 0.0;
    std::size_t windowSamples = 0;
    double traceEnd = 0.0; // s
    // The search.
    double minFactor = 0.0;
    double maxFactor = 0.0;
    bool factorRangeFromData = false;
    double minShift = 0.0;
    double maxShift = 0.0;
    bool shiftRangeFromData = false;
    double meanVelocity = 0.0;
    std::vector<double> shifts;        // s, every shift searched
    std::vector<double> atBestFactor;  // the coefficient per shift (NaN: does not count)
    std::vector<double> atFactorOne;   // the same for the log as it is
    std::vector<FactorPoint> factors;  // ascending
    std::size_t best = 0;              // in factors
    double bestShift = 0.0;            // s, between grid samples
    double zeroShiftCoefficient = 0.0; // factor 1, shift 0 (NaN when it does not count)
    std::size_t bulkShift = 0;         // in shifts: the best at factor 1
    // The significance of the best score.
    TieSettings settings;
    std::size_t asGood = 0; // surrogates that scored at least as well
    double pValue = 0.0;
    double nullMean = 0.0;
    double nullSpread = 0.0; // the standard deviation of the surrogates' best scores
    bool significant = false;
    // Where the score stays within the null's spread of the best.
    double factorLow = 0.0;
    double factorHigh = 0.0;
    double shiftLow = 0.0;
    double shiftHigh = 0.0;
    bool atSearchEdge = false;

    const FactorPoint& bestPoint() const { return factors[best]; }
};

// Told how much of the work is done (0 to 1); answers false to stop it.
using TieProgress = std::function<bool(double done)>;

// The option texts as numbers (shift in ms), or a QuarvelError naming the
// option and its range.
double shiftLimitFromText(const std::string& ms, const std::string& optionName);
std::pair<double, double> factorRangeFromTexts(const std::string& min, const std::string& max,
                                               const std::string& optionName);

// The default factor range for a log of this mean velocity (m/s).
std::pair<double, double> defaultFactorRange(double meanVelocity);

// Throws QuarvelError when there is nothing to compare, and "The
// measurement was cancelled." when progress says stop.
TieMeasurement measureTie(const TieRequest& request, const TieProgress& progress = {});

// The measurement as "key value" pairs, in a fixed order.
std::vector<std::pair<std::string, std::string>> tieReport(const TieMeasurement& measurement);

// The verdict in words, for the window: how many unrelated traces score as
// well, and what follows.
std::string significanceText(const TieMeasurement& measurement);

} // namespace quarvel::tie
