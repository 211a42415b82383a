#include "survey/log_import_preview.h"

#include <algorithm>
#include <array>

namespace quarvel {
namespace {

// Shares of the largest amplitude, and ranges that suit sediment, offered
// beside the log's own range.
constexpr std::array<double, 4> AmplitudePercents{5, DefaultAmplitudePercent, 25, 50};
struct Range {
    double low;
    double high;
};
constexpr std::array<Range, 4> SedimentRanges{
    {{1300, 3000}, {1400, 2000}, {1450, 1800}, {1200, 5000}}};

// The options' values for the readings; their counts are filled later.
void offerOptions(const VelocityReadings& readings, ImportPreview& preview) {
    if (readings.hasAmplitude) {
        const double largest = largestAmplitude(readings);
        for (const double percent : AmplitudePercents) {
            preview.amplitudeOptions.push_back({percent, largest * percent / 100, 0});
        }
    }
    const CleaningRules proposed = proposeCleaningRules(readings);
    if (proposed.minVelocity && proposed.maxVelocity) {
        preview.rangeOptions.push_back({*proposed.minVelocity, *proposed.maxVelocity, true, 0});
    }
    for (const Range& range : SedimentRanges) {
        preview.rangeOptions.push_back({range.low, range.high, false, 0});
    }
}

template <typename Option>
const Option* optionAt(const std::vector<Option>& options, std::optional<std::size_t> index) {
    return index && *index < options.size() ? &options[*index] : nullptr;
}

CleaningRules rulesOf(const ImportPreview& preview, const CleaningChoice& cleaning) {
    CleaningRules rules;
    if (const auto* amplitude = optionAt(preview.amplitudeOptions, cleaning.amplitude)) {
        rules.minAmplitude = amplitude->threshold;
    }
    if (const auto* range = optionAt(preview.rangeOptions, cleaning.range)) {
        rules.minVelocity = range->low;
        rules.maxVelocity = range->high;
    }
    return rules;
}

template <typename Option, typename Matches>
std::optional<std::size_t> findOption(const std::vector<Option>& options, Matches matches) {
    const auto found = std::find_if(options.begin(), options.end(), matches);
    return found == options.end()
               ? std::nullopt
               : std::optional(static_cast<std::size_t>(found - options.begin()));
}

} // namespace

ImportPreview previewImport(const ColumnTable& table, const ColumnChoice& choice,
                            const CleaningChoice& cleaning, std::size_t rows) {
    ImportPreview preview;
    preview.firstRows.assign(table.rows.begin(),
                             table.rows.begin() +
                                 static_cast<std::ptrdiff_t>(std::min(rows, table.rows.size())));
    const VelocityReadings readings = velocityReadings(table, choice);
    preview.readings = static_cast<int>(readings.velocities.size());
    offerOptions(readings, preview);
    preview.rules = rulesOf(preview, cleaning);
    // Each amplitude option alone; each range after the amplitude rule chosen,
    // as the import judges a velocity by the amplitude first.
    for (AmplitudeOption& option : preview.amplitudeOptions) {
        option.removes = countRemoved(readings, {option.threshold, {}, {}}).byAmplitude;
    }
    for (RangeOption& option : preview.rangeOptions) {
        option.removes =
            countRemoved(readings, {preview.rules.minAmplitude, option.low, option.high}).byRange;
    }
    preview.series = convertSeries(table, choice, preview.rules, preview.counts);
    return preview;
}

CleaningChoice cleaningChoiceFor(const ColumnTable& table, const ColumnChoice& choice,
                                 const std::optional<CleaningRules>& rules) {
    const VelocityReadings readings = velocityReadings(table, choice);
    ImportPreview offered;
    offerOptions(readings, offered);
    const CleaningRules proposed = proposeCleaningRules(readings);
    const auto find = [&offered](const CleaningRules& wanted) {
        return CleaningChoice{findOption(offered.amplitudeOptions,
                                         [&](const AmplitudeOption& o) {
                                             return wanted.minAmplitude == o.threshold;
                                         }),
                              findOption(offered.rangeOptions, [&](const RangeOption& o) {
                                  return wanted.minVelocity == o.low &&
                                         wanted.maxVelocity == o.high;
                              })};
    };
    const CleaningChoice fallback = find(proposed);
    CleaningChoice found = find(rules.value_or(proposed));
    if (rules && !found.amplitude && rules->minAmplitude) {
        found.amplitude = fallback.amplitude;
    }
    if (rules && !found.range && (rules->minVelocity || rules->maxVelocity)) {
        found.range = fallback.range;
    }
    return found;
}

} // namespace quarvel
