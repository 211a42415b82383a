#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quarvel {

// Measurements a core logger takes badly: a weak P-wave signal, and a
// velocity far from the rest of the core. Each velocity they catch becomes
// missing.
struct CleaningRules {
    std::optional<double> minAmplitude;
    std::optional<double> minVelocity;
    std::optional<double> maxVelocity;

    bool operator==(const CleaningRules&) const = default;
};

// The velocities a log holds (m/s, missing ones left out), each with the
// P-wave amplitude it was measured with (NaN without one).
struct VelocityReadings {
    std::vector<double> velocities;
    std::vector<double> amplitudes;
    bool hasAmplitude = false;
};

// Which rule a velocity fails; the amplitude rule is asked first. A missing
// amplitude (NaN) fails no amplitude rule.
enum class Verdict { Kept, WeakSignal, OutOfRange };
Verdict judgeVelocity(double velocity, double amplitude, const CleaningRules& rules);

// How many velocities each rule takes away; a velocity both rules catch
// counts for the amplitude rule.
struct RuleCounts {
    int byAmplitude = 0;
    int byRange = 0;
    int readings = 0;
};
RuleCounts countRemoved(const VelocityReadings& readings, const CleaningRules& rules);

// A signal weaker than this share of the strongest in the log is too weak,
// whatever scale the logger records amplitudes on.
inline constexpr double DefaultAmplitudePercent = 10;

// The largest amplitude of the readings (0 when none is above 0).
double largestAmplitude(const VelocityReadings& readings);

// Rules that fit the core in hand: the amplitude rule at its default share,
// and a velocity range around the log's own median (a generous multiple of
// the median absolute deviation, at least 20 % of the median below it and
// 50 % above), never so narrow that it removes more than 5 % of the
// readings. No velocity rule for a log without velocities.
CleaningRules proposeCleaningRules(const VelocityReadings& readings);

// P-waves slower than in sea water mean a logger that was not calibrated:
// the impedance model puts sea water above the core.
inline constexpr double SeaWaterVelocity = 1500;

// Fills the missing values (NaN) of a column of a log the cleaning cannot
// leave to Interpolate Series: those before the first and after the last
// good reading take that reading; a single missing value between two good
// ones is interpolated linearly in depth. Longer runs stay missing.
struct FilledValues {
    int atEnds = 0;
    int single = 0;
};
FilledValues fillEndsAndSingleGaps(const std::vector<double>& depths, std::vector<double>& values);

} // namespace quarvel
