#include "survey/log_cleaning.h"

#include <algorithm>
#include <cmath>

namespace quarvel {
namespace {

// Median absolute deviations on either side of the median that still count
// as the same core; scaled so that it matches a standard deviation for
// normally spread readings.
constexpr double DeviationsKept = 6 * 1.4826;
// Whatever the spread of the readings, the range reaches this share of the
// median below it and above it: a core of layers (silt, sand, gravel) spreads
// its velocities far more than one layer does, and upwards more than
// downwards, while a logger's spikes lie far beyond.
constexpr double ShareBelow = 0.2;
constexpr double ShareAbove = 0.5;
// The range never cuts more of the readings than this share, half at each end.
constexpr double ShareKept = 0.95;
// Range ends are round numbers of m/s.
constexpr double RoundTo = 10;

double median(std::vector<double> values) {
    const std::size_t middle = values.size() / 2;
    std::nth_element(values.begin(), values.begin() + static_cast<std::ptrdiff_t>(middle),
                     values.end());
    double result = values[middle];
    if (values.size() % 2 == 0) {
        result =
            (result + *std::max_element(values.begin(),
                                        values.begin() + static_cast<std::ptrdiff_t>(middle))) /
            2;
    }
    return result;
}

// The value below which the given share of the sorted values lies.
double quantile(const std::vector<double>& sorted, double share) {
    const double position = share * static_cast<double>(sorted.size() - 1);
    const auto below = static_cast<std::size_t>(std::floor(position));
    const std::size_t above = std::min(below + 1, sorted.size() - 1);
    const double weight = position - static_cast<double>(below);
    return sorted[below] + (sorted[above] - sorted[below]) * weight;
}

bool isGood(double value) {
    return !std::isnan(value);
}

} // namespace

Verdict judgeVelocity(double velocity, double amplitude, const CleaningRules& rules) {
    if (rules.minAmplitude && !std::isnan(amplitude) && amplitude < *rules.minAmplitude) {
        return Verdict::WeakSignal;
    }
    if ((rules.minVelocity && velocity < *rules.minVelocity) ||
        (rules.maxVelocity && velocity > *rules.maxVelocity)) {
        return Verdict::OutOfRange;
    }
    return Verdict::Kept;
}

RuleCounts countRemoved(const VelocityReadings& readings, const CleaningRules& rules) {
    RuleCounts counts;
    counts.readings = static_cast<int>(readings.velocities.size());
    for (std::size_t i = 0; i < readings.velocities.size(); ++i) {
        const double velocity = readings.velocities[i];
        const double amplitude =
            i < readings.amplitudes.size() ? readings.amplitudes[i] : std::nan("");
        switch (judgeVelocity(velocity, amplitude, rules)) {
        case Verdict::WeakSignal:
            ++counts.byAmplitude;
            break;
        case Verdict::OutOfRange:
            ++counts.byRange;
            break;
        case Verdict::Kept:
            break;
        }
    }
    return counts;
}

double largestAmplitude(const VelocityReadings& readings) {
    double largest = 0;
    for (const double amplitude : readings.amplitudes) {
        if (!std::isnan(amplitude)) {
            largest = std::max(largest, amplitude);
        }
    }
    return largest;
}

CleaningRules proposeCleaningRules(const VelocityReadings& readings) {
    CleaningRules rules;
    if (readings.hasAmplitude) {
        rules.minAmplitude = largestAmplitude(readings) * DefaultAmplitudePercent / 100;
    }
    if (readings.velocities.empty()) {
        return rules;
    }
    const double middle = median(readings.velocities);
    std::vector<double> deviations;
    deviations.reserve(readings.velocities.size());
    for (const double velocity : readings.velocities) {
        deviations.push_back(std::abs(velocity - middle));
    }
    const double spread = DeviationsKept * median(deviations);
    const double below = std::max(spread, ShareBelow * std::abs(middle));
    const double above = std::max(spread, ShareAbove * std::abs(middle));
    std::vector<double> sorted = readings.velocities;
    std::sort(sorted.begin(), sorted.end());
    const double cut = (1 - ShareKept) / 2;
    const double low = std::min(middle - below, quantile(sorted, cut));
    const double high = std::max(middle + above, quantile(sorted, 1 - cut));
    rules.minVelocity = std::max(0.0, std::floor(low / RoundTo) * RoundTo);
    rules.maxVelocity = std::ceil(high / RoundTo) * RoundTo;
    return rules;
}

FilledValues fillEndsAndSingleGaps(const std::vector<double>& depths, std::vector<double>& values) {
    FilledValues filled;
    const auto first = std::find_if(values.begin(), values.end(), isGood);
    if (first == values.end()) {
        return filled;
    }
    const auto firstGood = static_cast<std::size_t>(first - values.begin());
    std::size_t lastGood = values.size() - 1;
    while (!isGood(values[lastGood])) {
        --lastGood;
    }
    for (std::size_t i = 0; i < firstGood; ++i) {
        values[i] = values[firstGood];
        ++filled.atEnds;
    }
    for (std::size_t i = lastGood + 1; i < values.size(); ++i) {
        values[i] = values[lastGood];
        ++filled.atEnds;
    }
    for (std::size_t i = firstGood + 1; i < lastGood; ++i) {
        if (isGood(values[i]) || !isGood(values[i + 1]) || !isGood(values[i - 1])) {
            continue;
        }
        const double span = depths[i + 1] - depths[i - 1];
        const double weight =
            span != 0 ? std::clamp((depths[i] - depths[i - 1]) / span, 0.0, 1.0) : 0.5;
        values[i] = values[i - 1] + (values[i + 1] - values[i - 1]) * weight;
        ++filled.single;
    }
    return filled;
}

} // namespace quarvel
