#include "tie/tied_synthetic.h"

namespace quarvel::tie {

TimeSeries bulkTiedSynthetic(const TieSynthetic& synthetic, double shift) {
    TimeSeries placed;
    placed.value = synthetic.value;
    placed.time.reserve(synthetic.value.size());
    for (std::size_t k = 0; k < synthetic.value.size(); ++k) {
        placed.time.push_back(static_cast<double>(k) * synthetic.interval + shift);
    }
    return placed;
}

TimeSeries alignedSynthetic(const WarpRequest& warp, const Alignment& alignment) {
    TimeSeries placed;
    placed.value = warp.synthetic.value;
    placed.time.reserve(warp.synthetic.time.size());
    for (const double t : warp.synthetic.time) {
        const double bulk = t + warp.shift;
        placed.time.push_back(alignment.knotTime.empty() ? bulk : bulk + alignment.lagAt(bulk));
    }
    return placed;
}

} // namespace quarvel::tie
