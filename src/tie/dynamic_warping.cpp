#include "tie/dynamic_warping.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "tie/warp_series.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

namespace quarvel::tie {
namespace {

constexpr double Infinite = std::numeric_limits<double>::infinity();

// The alignment's sample interval: the synthetic's own, or a whole multiple of
// it near 10 us. Finer steps cost time and buy nothing against a trace
// sampled every few tens of microseconds.
constexpr double AlignmentStep = 10e-6;

// The errors along a path are those of predicting the synthetic from the
// trace by one straight line (a scale and an offset) fitted at the bulk tie.
// For any path, the least sum of squared errors a line can reach is the
// synthetic's variance times 1 - r^2, so a path that sums to less than the
// bulk tie under the bulk tie's line has a higher coefficient than the bulk
// tie over the same samples. A plain difference of the two standardised
// series would also pay paths for lingering on quiet trace, and the
// alignment could then match worse than where it started. A trace that
// matches worse than this at the bulk tie (noise, a surrogate) is fitted as
// if it matched this well, so that its alignment still seeks agreement.
constexpr double WeakestFit = 0.5;

// The most lags times samples the alignment weighs (their running sums take
// eight bytes each): a 10 m core at the widest limit needs a million.
constexpr double MaxCells = 16e6;

// What changing the lag's slope costs from one interval to the next, per
// lag step of the change, in the errors' units (squared differences of
// standardised series, summed per sample). Where the two series differ in
// shape (another wavelet, noise) a slightly different lag often fits a
// little better; each bend must be paid for by that much better a fit, so
// the alignment keeps its slope where the data say nothing (between beds,
// below the last one) instead of wandering.
constexpr double SlopeStepCost = 2.0;

std::string fixed(double value, int decimals) {
    return numbers::formatFixed(value, decimals);
}

// The runs of constant lag along the path from lag index ja at sample a
// (not included) to jb at sample b, its lag linear in between and rounded to
// the nearest index: visit(from, to, j) for samples [from, to) at index j.
template <typename Visit>
void forEachRun(std::size_t a, std::size_t b, std::size_t ja, std::size_t jb, Visit visit) {
    if (b <= a) {
        return;
    }
    if (ja == jb) {
        visit(a + 1, b + 1, ja);
        return;
    }
    const std::size_t n = b - a;
    const std::size_t steps = ja < jb ? jb - ja : ja - jb;
    std::size_t from = a + 1;
    for (std::size_t k = 0; k <= steps; ++k) {
        // The first sample whose rounded offset exceeds k.
        const std::size_t to =
            k == steps ? b + 1 : a + ((2 * k + 1) * n + 2 * steps - 1) / (2 * steps);
        if (to > from) {
            visit(from, to, ja < jb ? ja + k : ja - k);
            from = to;
        }
    }
}

// The line that predicts the synthetic from the trace read at one lag
// (values g[i]) over the compared samples the trace covers, its slope
// that of a coefficient of at least WeakestFit.
struct Line {
    double slope = WeakestFit;
    double offset = 0.0;
};

Line predictingLine(const std::vector<double>& synthetic, const double* g, std::size_t first,
                    std::size_t last) {
    double count = 0, ss = 0, sg = 0;
    for (std::size_t i = first; i < last; ++i) {
        if (std::isfinite(g[i])) {
            ss += synthetic[i];
            sg += g[i];
            ++count;
        }
    }
    double sxy = 0, sxx = 0, syy = 0;
    for (std::size_t i = first; i < last; ++i) {
        if (std::isfinite(g[i])) {
            sxy += (synthetic[i] - ss / count) * (g[i] - sg / count);
            sxx += (synthetic[i] - ss / count) * (synthetic[i] - ss / count);
            syy += (g[i] - sg / count) * (g[i] - sg / count);
        }
    }
    Line line;
    if (count >= 3 && sxx > 0 && syy > 0) {
        line.slope = std::max(sxy / std::sqrt(sxx * syy), WeakestFit) * std::sqrt(sxx / syy);
        line.offset = (ss - line.slope * sg) / count;
    }
    return line;
}

} // namespace

double velocityLimitFromText(const std::string& percent, const std::string& optionName) {
    const std::optional<double> value = numbers::tryParseNumber(percent);
    if (!value || !(*value > 0) || !(*value <= MaxVelocityChange * 100)) {
        throw QuarvelError(optionName + " must be a percentage above 0 and at most " +
                           numbers::formatFixed(MaxVelocityChange * 100, 0) + ", not '" + percent +
                           "'.");
    }
    return *value / 100;
}

double Alignment::lagAt(double time) const {
    if (time <= knotTime.front()) {
        return knotLag.front();
    }
    if (time >= knotTime.back()) {
        return knotLag.back();
    }
    const auto above = std::upper_bound(knotTime.begin(), knotTime.end(), time);
    const auto q = static_cast<std::size_t>(above - knotTime.begin());
    const double w = (time - knotTime[q - 1]) / (knotTime[q] - knotTime[q - 1]);
    return knotLag[q - 1] + w * (knotLag[q] - knotLag[q - 1]);
}

Warper::Warper(const WarpRequest& request)
    : synthDepth_(request.synthDepth), shift_(request.shift), traceTimes_(request.trace.time) {
    const WarpLimits& limits = request.limits;
    if (!(limits.velocityChange > 0) || !(limits.velocityChange <= MaxVelocityChange)) {
        throw QuarvelError("The velocity limit must lie above 0 % and at most " +
                           fixed(MaxVelocityChange * 100, 0) + " %.");
    }
    if (!(limits.interval > 0) || !(limits.maxLag >= 0) || !(limits.maxLag <= 0.1)) {
        throw QuarvelError("The alignment's interval must be above 0 m and its largest lag "
                           "from 0 to 100 ms.");
    }
    if (synthDepth_.empty() || request.synthetic.time.size() < 2 || traceTimes_.size() < 2) {
        throw QuarvelError("The synthetic, the trace and the log's time-depth relation are all "
                           "needed for a depth-varying tie.");
    }
    const std::vector<double>& st = request.synthetic.time;
    const double dt = st[1] - st[0];
    step_ = dt * std::max(1.0, std::round(AlignmentStep / dt));
    const double base = synthDepth_.points().back().twt / 1000;
    if (st.back() < base - step_) {
        throw QuarvelError("The synthetic ends at " + fixed(st.back() * 1000, 3) +
                           " ms, before the core base at " + fixed(base * 1000, 3) +
                           " ms; compute it again from the same log.");
    }
    const auto count = static_cast<std::size_t>(std::floor(base / step_ + 1e-9)) + 1;
    if (count < 2) {
        throw QuarvelError("The core spans less than two alignment samples.");
    }
    Interpolator synthetic(st, request.synthetic.value);
    for (std::size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) * step_;
        times_.push_back(t + shift_);
        synthetic_.push_back(synthetic.at(std::clamp(t, st.front(), st.back())));
    }
    firstCompared_ = std::min(
        count - 2, static_cast<std::size_t>(std::ceil(request.seaFloorArrival / step_ - 1e-9)));
    matchResolutions(request.trace);
    if (!standardise(synthetic_, firstCompared_)) {
        throw QuarvelError("The synthetic does not vary over the core's span; there is nothing "
                           "to align.");
    }
    const double p = limits.velocityChange;
    // Velocity v (1 + c) for c within +-p: time per metre divided by (1 + c),
    // so the lag's slope lies within 1 / (1 + p) - 1 and 1 / (1 - p) - 1.
    strainLow_ = 1 / (1 + p) - 1;
    strainHigh_ = 1 / (1 - p) - 1;
    layKnots(request);

    const double traceStep =
        (traceTimes_.back() - traceTimes_.front()) / static_cast<double>(traceTimes_.size() - 1);
    const double reach = limits.maxLag > 0 ? limits.maxLag : std::max(p * base / 2, 2 * traceStep);
    double low = -reach;
    double high = reach;
    for (const Knot& knot : knots_) {
        if (knot.fixed) {
            low = std::min(low, knot.fixedLag);
            high = std::max(high, knot.fixedLag);
        }
    }
    lagMin_ = std::floor(low / step_ + 1e-9) * step_;
    lagCount_ = static_cast<std::size_t>(std::ceil((high - lagMin_) / step_ - 1e-9)) + 1;
    if (static_cast<double>(lagCount_) * static_cast<double>(count + 1) > MaxCells) {
        throw QuarvelError("The alignment would weigh " +
                               numbers::formatInteger(static_cast<long long>(lagCount_)) +
                               " lags at each of " +
                               numbers::formatInteger(static_cast<long long>(count)) +
                               " samples, more than it can hold; tie a shorter core, lower the "
                               "velocity limit or the largest lag.",
                           ErrorKind::Capacity);
    }
}

// The two series' events are compared at the coarser of their two
// resolutions: the sharper one is smoothed until its events are as wide as
// the other's. A trace made with another wavelet than the synthetic's shows
// a thick bed's top and base apart where the synthetic shows one hump;
// compared as they are, the alignment would chase the difference. Widths are
// taken as Gaussian: a pulse of standard deviation s correlates with itself
// by a half at 2 s sqrt(ln 2).
void Warper::matchResolutions(const TimeSeries& trace) {
    std::vector<double> onGrid;
    Interpolator values(trace.time, trace.value);
    for (double t = trace.time.front(); t <= trace.time.back(); t += step_) {
        onGrid.push_back(values.at(t));
    }
    const double toSigma = 1 / (2 * std::sqrt(std::log(2.0)));
    const double synthetic = halfCorrelationWidth(synthetic_) * toSigma;
    const double recorded = halfCorrelationWidth(onGrid) * toSigma;
    if (recorded < synthetic) {
        traceSmoothing_ = std::sqrt(synthetic * synthetic - recorded * recorded);
    } else {
        smooth(synthetic_, std::sqrt(recorded * recorded - synthetic * synthetic));
    }
}

void Warper::layKnots(const WarpRequest& request) {
    const double interval = request.limits.interval;
    const double bottom = synthDepth_.points().back().depth;
    std::vector<FixedTie> ties = request.fixed;
    std::sort(ties.begin(), ties.end(),
              [](const FixedTie& a, const FixedTie& b) { return a.depth < b.depth; });
    std::vector<Knot> knots;
    const auto knotAt = [&](double depth) {
        Knot knot;
        knot.depth = depth;
        knot.time = synthDepth_.twtAt(depth) / 1000 + shift_;
        const double index = std::round((knot.time - times_.front()) / step_);
        knot.sample = static_cast<std::size_t>(
            std::clamp(index, 0.0, static_cast<double>(times_.size() - 1)));
        return knot;
    };
    for (std::size_t k = 0; k < ties.size(); ++k) {
        const FixedTie& tie = ties[k];
        const std::string depth = fixed(tie.depth, 3);
        if (!(tie.depth >= 0) || !(tie.depth <= bottom)) {
            throw QuarvelError("The tie point at " + depth + " m lies outside the core (0 to " +
                               fixed(bottom, 3) + " m).");
        }
        if (k > 0 && (!(tie.depth > ties[k - 1].depth) || !(tie.twt > ties[k - 1].twt))) {
            throw QuarvelError("The tie point at " + depth +
                               " m is not later on the trace than "
                               "the one above it, or lies at the same depth.");
        }
        Knot knot = knotAt(tie.depth);
        knot.fixed = true;
        knot.fixedLag = tie.twt - knot.time;
        if (k > 0) {
            const Knot& above = knots.back();
            const double strain = (knot.fixedLag - above.fixedLag) / (knot.time - above.time);
            if (strain < strainLow_ - 1e-12 || strain > strainHigh_ + 1e-12) {
                throw QuarvelError("The tie points at " + fixed(above.depth, 3) + " m and " +
                                   depth + " m ask for an interval velocity " +
                                   fixed((1 / (1 + strain) - 1) * 100, 1) +
                                   " % from the bulk tie's, beyond the limit of " +
                                   fixed(request.limits.velocityChange * 100, 1) + " %.");
            }
        }
        knots.push_back(knot);
    }
    const auto nearTie = [&](double depth, double distance) {
        return std::any_of(ties.begin(), ties.end(), [&](const FixedTie& tie) {
            return std::abs(tie.depth - depth) < distance;
        });
    };
    // Knots every interval from the core top and one at the core base; those
    // near a tie point give way to it.
    std::vector<double> regular{0.0};
    for (int q = 1; q * interval < bottom - interval / 2; ++q) {
        regular.push_back(q * interval);
    }
    regular.push_back(bottom);
    for (std::size_t k = 0; k < regular.size(); ++k) {
        const bool end = k == 0 || k + 1 == regular.size();
        if (!nearTie(regular[k], end ? 1e-6 : interval / 2)) {
            knots.push_back(knotAt(regular[k]));
        }
    }
    std::sort(knots.begin(), knots.end(),
              [](const Knot& a, const Knot& b) { return a.depth < b.depth; });
    knots_ = std::move(knots);
}

double Warper::depthAt(double time) const {
    return synthDepth_.depthAt((time - shift_) * 1000);
}

// The sum of errors along the path from lag index ja at sample a (not
// counted) to jb at sample b: each run of constant lag summed from the
// running sums of its lag.
double Warper::pathCost(const std::vector<double>& prefix, std::size_t a, std::size_t b,
                        std::size_t ja, std::size_t jb) const {
    const std::size_t row = times_.size() + 1;
    double sum = 0;
    forEachRun(a, b, ja, jb, [&](std::size_t from, std::size_t to, std::size_t j) {
        sum += prefix[j * row + to] - prefix[j * row + from];
    });
    return sum;
}

Alignment Warper::align(const std::vector<double>& traceValues) const {
    const std::size_t n = times_.size();
    const std::size_t m = lagCount_;
    // The trace on one grid reaching every sample at every lag: sample i at
    // lag index j reads grid point i + j.
    std::vector<double> grid(n + m - 1);
    {
        Interpolator trace(traceTimes_, traceValues);
        for (std::size_t k = 0; k < grid.size(); ++k) {
            grid[k] = trace.at(times_.front() + lagMin_ + static_cast<double>(k) * step_);
        }
    }
    Alignment result;
    smooth(grid, traceSmoothing_);
    if (!standardise(grid)) {
        throw QuarvelError("The trace does not vary where the synthetic could lie on it.");
    }
    // The errors of every sample at every lag, as running sums per lag. The
    // sea floor's arrival is not compared, and where the trace does not
    // reach it predicts nothing (the line's offset alone).
    const auto bulkLag = static_cast<std::size_t>(std::llround(-lagMin_ / step_));
    const Line line = predictingLine(synthetic_, &grid[bulkLag], firstCompared_, n);
    const std::size_t row = n + 1;
    std::vector<double> prefix(m * row);
    for (std::size_t j = 0; j < m; ++j) {
        double* p = &prefix[j * row];
        const double* g = &grid[j];
        std::fill(p, p + firstCompared_ + 1, 0.0);
        for (std::size_t i = firstCompared_; i < n; ++i) {
            const double d =
                synthetic_[i] - line.offset - (std::isfinite(g[i]) ? line.slope * g[i] : 0.0);
            p[i + 1] = p[i] + d * d;
        }
    }

    // Dynamic programming from knot to knot over the lags each may take: one
    // lag for a fixed tie, every grid lag otherwise.
    const std::size_t knotCount = knots_.size();
    const auto candidates = [&](std::size_t q) { return knots_[q].fixed ? std::size_t{1} : m; };
    const auto lagOf = [&](std::size_t q, std::size_t c) {
        return knots_[q].fixed ? knots_[q].fixedLag : lagMin_ + static_cast<double>(c) * step_;
    };
    const auto gridOf = [&](std::size_t q, std::size_t c) {
        if (!knots_[q].fixed) {
            return c;
        }
        const double index = std::round((knots_[q].fixedLag - lagMin_) / step_);
        return static_cast<std::size_t>(std::clamp(index, 0.0, static_cast<double>(m - 1)));
    };
    // A state is a knot's lag and the lag change that led to it, so that a
    // change of slope can be charged: where the data are silent the
    // alignment keeps the slope it had. After the first knot and around a
    // fixed tie there is no slope to keep (one state per lag).
    std::vector<long long> changeLow(knotCount, 0);
    std::vector<std::size_t> slots(knotCount, 1);
    std::vector<bool> sloped(knotCount, false);
    for (std::size_t q = 1; q < knotCount; ++q) {
        const double span = knots_[q].time - knots_[q - 1].time;
        changeLow[q] = static_cast<long long>(std::ceil(strainLow_ * span / step_ - 1e-9));
        const auto changeHigh =
            static_cast<long long>(std::floor(strainHigh_ * span / step_ + 1e-9));
        if (!knots_[q].fixed && !knots_[q - 1].fixed && changeHigh >= changeLow[q]) {
            slots[q] = static_cast<std::size_t>(changeHigh - changeLow[q] + 1);
            sloped[q] = true;
        }
    }
    std::vector<std::vector<std::size_t>> from(knotCount);
    std::vector<double> cost(candidates(0));
    for (std::size_t c = 0; c < cost.size(); ++c) {
        const std::size_t j = gridOf(0, c);
        cost[c] = prefix[j * row + knots_[0].sample + 1] - prefix[j * row];
    }
    std::vector<double> next;
    std::vector<double> entry;
    std::vector<std::size_t> origin;
    for (std::size_t q = 1; q < knotCount; ++q) {
        const Knot& above = knots_[q - 1];
        const Knot& below = knots_[q];
        const double span = below.time - above.time;
        const double low = strainLow_ * span;
        const double high = strainHigh_ * span;
        const std::size_t before = slots[q - 1];
        // The change that keeps the slope of the interval above, per slot.
        std::vector<double> kept(before, 0.0);
        if (sloped[q - 1]) {
            const double ratio = span / (above.time - knots_[q - 2].time);
            for (std::size_t t = 0; t < before; ++t) {
                kept[t] = static_cast<double>(changeLow[q - 1] + static_cast<long long>(t)) * ratio;
            }
        }
        const auto slopeCost = [&](std::size_t t, double change) {
            return sloped[q - 1] ? SlopeStepCost * std::abs(change - kept[t]) : 0.0;
        };
        next.assign(candidates(q) * slots[q], Infinite);
        entry.resize(slots[q]);
        origin.resize(slots[q]);
        from[q].assign(next.size(), 0);
        if (sloped[q]) {
            // For each lag above, the cheapest way in for every change: the
            // lower envelope of one cone per slot above (slope cost
            // |change - kept|), swept once upwards and once downwards.
            const double mu = sloped[q - 1] ? SlopeStepCost : 0.0;
            const auto changeOf = [&](std::size_t t) {
                return static_cast<double>(changeLow[q] + static_cast<long long>(t));
            };
            for (std::size_t k = 0; k < m; ++k) {
                const double* in = &cost[k * before];
                double run = Infinite;
                std::size_t arg = 0;
                std::size_t tp = 0;
                for (std::size_t t = 0; t < slots[q]; ++t) {
                    for (; tp < before && kept[tp] <= changeOf(t); ++tp) {
                        if (in[tp] - mu * kept[tp] < run) {
                            run = in[tp] - mu * kept[tp];
                            arg = tp;
                        }
                    }
                    entry[t] = run + mu * changeOf(t);
                    origin[t] = arg;
                }
                run = Infinite;
                tp = before;
                for (std::size_t t = slots[q]; t-- > 0;) {
                    for (; tp > 0 && kept[tp - 1] >= changeOf(t); --tp) {
                        if (in[tp - 1] + mu * kept[tp - 1] < run) {
                            run = in[tp - 1] + mu * kept[tp - 1];
                            arg = tp - 1;
                        }
                    }
                    if (run - mu * changeOf(t) < entry[t]) {
                        entry[t] = run - mu * changeOf(t);
                        origin[t] = arg;
                    }
                }
                for (std::size_t t = 0; t < slots[q]; ++t) {
                    const long long j =
                        static_cast<long long>(k) + changeLow[q] + static_cast<long long>(t);
                    if (entry[t] == Infinite || j < 0 || j >= static_cast<long long>(m)) {
                        continue;
                    }
                    const auto at = static_cast<std::size_t>(j) * slots[q] + t;
                    next[at] = entry[t] + pathCost(prefix, above.sample, below.sample, k,
                                                   static_cast<std::size_t>(j));
                    from[q][at] = k * before + origin[t];
                }
            }
        } else {
            for (std::size_t c = 0; c < candidates(q); ++c) {
                for (std::size_t k = 0; k < candidates(q - 1); ++k) {
                    const double change = lagOf(q, c) - lagOf(q - 1, k);
                    if (change < low - 1e-12 || change > high + 1e-12) {
                        continue;
                    }
                    const double path = pathCost(prefix, above.sample, below.sample,
                                                 gridOf(q - 1, k), gridOf(q, c));
                    for (std::size_t tp = 0; tp < before; ++tp) {
                        const double total =
                            cost[k * before + tp] + path + slopeCost(tp, change / step_);
                        if (total < next[c]) {
                            next[c] = total;
                            from[q][c] = k * before + tp;
                        }
                    }
                }
            }
        }
        cost.swap(next);
    }
    const auto best = std::min_element(cost.begin(), cost.end());
    if (*best == Infinite) {
        throw QuarvelError("No alignment within the velocity limit passes through every tie "
                           "point.");
    }
    result.knotDepth.resize(knotCount);
    result.knotTime.resize(knotCount);
    result.knotLag.resize(knotCount);
    std::vector<std::size_t> knotGrid(knotCount);
    auto state = static_cast<std::size_t>(best - cost.begin());
    for (std::size_t q = knotCount; q-- > 0;) {
        result.knotDepth[q] = knots_[q].depth;
        result.knotTime[q] = knots_[q].time;
        result.knotLag[q] = lagOf(q, state / slots[q]);
        knotGrid[q] = gridOf(q, state / slots[q]);
        state = q > 0 ? from[q][state] : 0;
    }

    // The coefficients compare the series as the search weighed them, along
    // the path it weighed: the relation's lags to the nearest lag step.
    std::vector<double> bulk(n);
    result.aligned.resize(n);
    const auto readAlong = [&](std::size_t from, std::size_t to, std::size_t j) {
        for (std::size_t i = from; i < to; ++i) {
            result.aligned[i] = grid[i + j];
        }
    };
    readAlong(0, knots_[0].sample + 1, knotGrid[0]);
    for (std::size_t q = 1; q < knotCount; ++q) {
        forEachRun(knots_[q - 1].sample, knots_[q].sample, knotGrid[q - 1], knotGrid[q], readAlong);
    }
    std::size_t inside = 0;
    for (std::size_t i = 0; i < n; ++i) {
        bulk[i] = grid[i + bulkLag];
        inside += std::isfinite(result.aligned[i]) ? 1 : 0;
    }
    result.coefficient = pearson(synthetic_, result.aligned, firstCompared_, n);
    result.bulkCoefficient = pearson(synthetic_, bulk, firstCompared_, n);
    result.covered = static_cast<double>(inside) / static_cast<double>(n);
    return result;
}

TimeDepthRelation Warper::relation(const Alignment& alignment) const {
    std::vector<double> depths{0.0};
    for (const TimeDepthPoint& point : synthDepth_.points()) {
        depths.push_back(point.depth);
    }
    depths.insert(depths.end(), alignment.knotDepth.begin(), alignment.knotDepth.end());
    std::sort(depths.begin(), depths.end());
    depths.erase(
        std::unique(depths.begin(), depths.end(), [](double a, double b) { return b - a < 1e-6; }),
        depths.end());
    std::vector<TimeDepthPoint> points;
    for (const double depth : depths) {
        const double time = synthDepth_.twtAt(depth) / 1000 + shift_;
        points.push_back({depth, (time + alignment.lagAt(time)) * 1000});
    }
    return TimeDepthRelation(std::move(points));
}

} // namespace quarvel::tie
