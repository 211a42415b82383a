#include "tie/proposed_ties.h"

#include "tie/warp_series.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace quarvel::tie {

std::vector<ProposedTie> proposeTies(const Warper& warper, const Alignment& alignment,
                                     double spacing) {
    const std::vector<double>& times = warper.times();
    const std::vector<double>& synthetic = warper.synthetic();
    std::vector<double> depths;
    for (const double t : times) {
        depths.push_back(warper.depthAt(t));
    }
    struct Candidate {
        double height;
        ProposedTie tie;
    };
    std::vector<Candidate> candidates;
    for (std::size_t i = std::max<std::size_t>(1, warper.firstCompared()); i + 1 < times.size();
         ++i) {
        if (!(synthetic[i] > 0) || synthetic[i] < synthetic[i - 1] ||
            synthetic[i] <= synthetic[i + 1] || !std::isfinite(alignment.aligned[i])) {
            continue;
        }
        const auto first = static_cast<std::size_t>(
            std::lower_bound(depths.begin(), depths.end(), depths[i] - spacing) - depths.begin());
        const auto last = static_cast<std::size_t>(
            std::upper_bound(depths.begin(), depths.end(), depths[i] + spacing) - depths.begin());
        const double r = pearson(synthetic, alignment.aligned, first, last);
        if (std::isfinite(r) && r >= MinLocalCoefficient) {
            const double traceTime = times[i] + alignment.lagAt(times[i]);
            candidates.push_back({synthetic[i], {depths[i], times[i] * 1000, traceTime * 1000, r}});
        }
    }
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const Candidate& a, const Candidate& b) { return a.height > b.height; });
    std::vector<ProposedTie> chosen;
    for (const Candidate& c : candidates) {
        if (std::none_of(chosen.begin(), chosen.end(), [&](const ProposedTie& t) {
                return std::abs(t.depth - c.tie.depth) < spacing;
            })) {
            chosen.push_back(c.tie);
        }
    }
    std::sort(chosen.begin(), chosen.end(),
              [](const ProposedTie& a, const ProposedTie& b) { return a.depth < b.depth; });
    return chosen;
}

} // namespace quarvel::tie
