#pragma once

#include "survey/log_import.h"

#include <cstddef>
#include <optional>
#include <vector>

namespace quarvel {

// A cleaning rule on offer, with what it would remove from the velocities
// chosen: a P-wave amplitude below a share of the largest, or a velocity
// outside a range (the log's own range first).
struct AmplitudeOption {
    double percent = 0;
    double threshold = 0;
    int removes = 0;
};
struct RangeOption {
    double low = 0;
    double high = 0;
    bool fromLog = false;
    int removes = 0;
};

// Which of the rules on offer are chosen, by their place in the preview's
// lists; nothing keeps every velocity.
struct CleaningChoice {
    std::optional<std::size_t> amplitude;
    std::optional<std::size_t> range;
    bool operator==(const CleaningChoice&) const = default;
};

// What the import shows of a file for the choices in hand, before anything
// is changed: the file's first rows as read, the rules on offer for the
// velocities chosen, the rules chosen, the log they make (missing values
// NaN) and what the import would say of it.
struct ImportPreview {
    std::vector<std::vector<double>> firstRows;
    std::vector<AmplitudeOption> amplitudeOptions; // none without an amplitude column
    std::vector<RangeOption> rangeOptions;
    int readings = 0; // velocities the rules judge
    CleaningRules rules;
    ConvertedSeries series;
    ConvertedLog counts; // without its text
};

// The preview of the table's import under the choices; at most `rows` first
// rows. A choice beyond the rules on offer keeps every velocity. Throws as
// the import does when no depth column is chosen.
ImportPreview previewImport(const ColumnTable& table, const ColumnChoice& choice,
                            const CleaningChoice& cleaning, std::size_t rows);

// The rules on offer that give `rules` (when nothing, those proposed) for
// the velocities chosen; where none does, those that give the rules proposed.
CleaningChoice cleaningChoiceFor(const ColumnTable& table, const ColumnChoice& choice,
                                 const std::optional<CleaningRules>& rules);

} // namespace quarvel
