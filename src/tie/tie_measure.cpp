#include "tie/tie_measure.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "tie/surrogates.h"
#include "tie/tie_match.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>

namespace quarvel::tie {
namespace {

constexpr double NoValue = std::numeric_limits<double>::quiet_NaN();

std::string fixed(double value, int decimals) {
    return std::isnan(value) ? std::string("n/a") : numbers::formatFixed(value, decimals);
}

// The trace linearly interpolated at first, first + dt, ... (count samples),
// all within its span.
std::vector<double> resample(const TimeSeries& trace, double first, double dt, std::size_t count) {
    const std::vector<double>& tt = trace.time;
    const std::vector<double>& tv = trace.value;
    std::vector<double> values(count);
    std::size_t j = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const double t = first + static_cast<double>(i) * dt;
        while (j + 2 < tt.size() && tt[j + 1] < t) {
            ++j;
        }
        const double w = std::clamp((t - tt[j]) / (tt[j + 1] - tt[j]), 0.0, 1.0);
        values[i] = tv[j] + w * (tv[j + 1] - tv[j]);
    }
    return values;
}

// Every step of the search in one place: the comparison grid, the trace on
// it, and the synthetic's window at any factor.
class Search {
public:
    Search(const TieRequest& request, const TimeSeries& trace, const TieProgress& progress)
        : synthesiser_(*request.synthesiser), progress_(progress) {
        const TieSynthetic one = synthesiser_(1.0);
        if (one.value.size() < 2) {
            throw QuarvelError("The log gives no synthetic to compare with the trace.");
        }
        // Both series are envelopes low-passed below the chirp's centre
        // frequency: a grid of a quarter of its period holds them whole, at a
        // fraction of the samples.
        const double centre = synthesiser_.centreFrequency();
        step_ = std::max<std::size_t>(
            1, static_cast<std::size_t>(std::floor(1 / (4 * centre) / one.interval + 1e-9)));
        interval_ = one.interval * static_cast<double>(step_);
        first_ = (one.seaFloorSamples + step_ - 1) / step_;
        const auto count =
            static_cast<std::size_t>(std::floor(trace.time.back() / interval_ + 1e-9)) + 1;
        if (count < first_ + 2) {
            throw QuarvelError("The trace ends within the sea floor's own arrival; there is "
                               "nothing below it to compare.");
        }
        traceValues_ =
            resample(trace, static_cast<double>(first_) * interval_, interval_, count - first_);
        one_ = windowValues(one);
    }

    double interval() const { return interval_; }
    std::size_t first() const { return first_; }
    std::size_t traceCount() const { return traceValues_.size(); }
    const std::vector<double>& traceValues() const { return traceValues_; }
    const std::vector<double>& windowAtOne() const { return one_; }

    // The synthetic's compared window at the factor: from below the sea
    // floor's arrival to the core base, on the comparison grid.
    std::vector<double> window(double factor) const { return windowValues(synthesiser_(factor)); }

    void tick(double done) const {
        if (progress_ && !progress_(done)) {
            throw QuarvelError("The measurement was cancelled.", ErrorKind::Cancelled);
        }
    }

private:
    std::vector<double> windowValues(const TieSynthetic& synthetic) const {
        std::vector<double> values;
        for (std::size_t i = first_ * step_; i < synthetic.value.size(); i += step_) {
            values.push_back(synthetic.value[i]);
        }
        return values;
    }

    const TieSynthesiser& synthesiser_;
    const TieProgress& progress_;
    std::size_t step_ = 1;
    double interval_ = 0.0;
    std::size_t first_ = 0;
    std::vector<double> traceValues_;
    std::vector<double> one_;
};

struct Candidate {
    double factor;
    std::vector<double> window;
};

// The factors of the coarse pass: the range in coarse steps, its top end
// included.
std::vector<double> coarseFactors(double low, double high) {
    std::vector<double> factors;
    const auto steps = static_cast<long long>(std::floor((high - low) / CoarseFactorStep + 1e-9));
    for (long long i = 0; i <= steps; ++i) {
        factors.push_back(low + static_cast<double>(i) * CoarseFactorStep);
    }
    if (high - factors.back() > 1e-9) {
        factors.push_back(high);
    }
    return factors;
}

// The contiguous run round `at` where the values stay at or above the
// threshold: its first and last index.
std::pair<std::size_t, std::size_t> runAbove(const std::vector<double>& values, std::size_t at,
                                             double threshold) {
    std::size_t lo = at;
    std::size_t hi = at;
    while (lo > 0 && values[lo - 1] >= threshold) {
        --lo;
    }
    while (hi + 1 < values.size() && values[hi + 1] >= threshold) {
        ++hi;
    }
    return {lo, hi};
}

// A parabola through the peak and its neighbours: where between the samples
// it lies, from -0.5 to 0.5.
double peakOffset(const std::vector<double>& values, std::size_t at) {
    if (at == 0 || at + 1 >= values.size() || std::isnan(values[at - 1]) ||
        std::isnan(values[at + 1])) {
        return 0.0;
    }
    const double curvature = values[at - 1] - 2 * values[at] + values[at + 1];
    if (!(curvature < 0)) {
        return 0.0;
    }
    return std::clamp(0.5 * (values[at - 1] - values[at + 1]) / curvature, -0.5, 0.5);
}

} // namespace

double shiftLimitFromText(const std::string& ms, const std::string& optionName) {
    const std::optional<double> value = numbers::tryParseNumber(ms);
    if (!value || !(*value >= 0) || *value > MaxShiftLimit * 1000) {
        throw QuarvelError(optionName + " must be a number of ms from 0 to " +
                           fixed(MaxShiftLimit * 1000, 0) + ", not '" + ms + "'.");
    }
    return *value / 1000;
}

std::pair<double, double> factorRangeFromTexts(const std::string& min, const std::string& max,
                                               const std::string& optionName) {
    const std::optional<double> low = numbers::tryParseNumber(min);
    const std::optional<double> high = numbers::tryParseNumber(max);
    if (!low || !high || !(*low >= MinFactorLimit) || !(*high <= MaxFactorLimit) ||
        !(*low <= *high)) {
        throw QuarvelError(optionName + " must be two numbers, the smaller first, from " +
                           fixed(MinFactorLimit, 2) + " to " + fixed(MaxFactorLimit, 2) +
                           ", not '" + min + " " + max + "'.");
    }
    return {*low, *high};
}

std::pair<double, double> defaultFactorRange(double meanVelocity) {
    // Rounded outwards to the coarse step, so the range reads as typed.
    const double low =
        std::floor(SedimentVelocityLow / meanVelocity / CoarseFactorStep) * CoarseFactorStep;
    const double high =
        std::ceil(SedimentVelocityHigh / meanVelocity / CoarseFactorStep) * CoarseFactorStep;
    return {std::clamp(std::min(DefaultMinFactor, low), MinFactorLimit, MaxFactorLimit),
            std::clamp(std::max(DefaultMaxFactor, high), MinFactorLimit, MaxFactorLimit)};
}

TieMeasurement measureTie(const TieRequest& request, const TieProgress& progress) {
    TieMeasurement m;
    m.settings = request.settings;
    const PreparedTrace prepared = prepareTrace(request.trace);
    m.traceEnveloped = prepared.enveloped;
    m.traceEnd = prepared.series.time.back();
    const Search search(request, prepared.series, progress);
    m.interval = search.interval();
    m.meanVelocity = request.synthesiser->meanVelocity();
    m.factorRangeFromData = !request.settings.factorRange;
    std::tie(m.minFactor, m.maxFactor) = request.settings.factorRange
                                             ? *request.settings.factorRange
                                             : defaultFactorRange(m.meanVelocity);

    const std::vector<double> coarse = coarseFactors(m.minFactor, m.maxFactor);
    const std::size_t fineCount = 19;
    const double total =
        static_cast<double>(coarse.size() + fineCount + request.settings.surrogates + 1);
    double done = 0;
    std::vector<Candidate> candidates;
    std::size_t longest = search.windowAtOne().size();
    std::size_t shortest = longest;
    for (const double factor : coarse) {
        search.tick(done++ / total);
        std::vector<double> window = search.window(factor);
        if (window.size() >= 2) {
            longest = std::max(longest, window.size());
            shortest = std::min(shortest, window.size());
            candidates.push_back({factor, std::move(window)});
        }
    }
    if (candidates.empty()) {
        throw QuarvelError("No velocity factor in the range gives a synthetic that can be "
                           "compared with the trace.");
    }

    // Shifts in comparison samples.
    const double dt = m.interval;
    const std::size_t first = search.first();
    const std::size_t traceCount = search.traceCount();
    long long minShift = 0;
    long long maxShift = 0;
    m.shiftRangeFromData = !request.settings.maxShift;
    const auto limit = static_cast<long long>(std::floor(MaxShiftLimit / dt + 1e-9));
    if (request.settings.maxShift) {
        maxShift = static_cast<long long>(std::floor(*request.settings.maxShift / dt + 1e-9));
        minShift = -maxShift;
    } else {
        // Earlier by the share of the window that may go uncovered; later as
        // far as the trace still covers the shortest window.
        minShift =
            -static_cast<long long>(std::floor((1 - MinCoverage) * static_cast<double>(shortest)));
        const auto needed =
            static_cast<long long>(std::ceil(MinCoverage * static_cast<double>(shortest) - 1e-9));
        maxShift = std::clamp(static_cast<long long>(traceCount) - needed, 0LL, limit);
    }
    m.minShift = static_cast<double>(minShift) * dt;
    m.maxShift = static_cast<double>(maxShift) * dt;
    const ShiftCorrelator correlator(minShift, maxShift, first + std::max(longest, traceCount));
    for (long long j = minShift; j <= maxShift; ++j) {
        m.shifts.push_back(static_cast<double>(j) * dt);
    }

    // Every candidate window's best score against a trace, two at a time.
    std::vector<ShiftCorrelator::Window> windows;
    windows.reserve(candidates.size());
    for (const Candidate& c : candidates) {
        windows.push_back(correlator.window(c.window, first));
    }
    const auto bestScores = [&](const ShiftCorrelator::Trace& trace,
                                std::vector<std::vector<double>>* curves) {
        std::vector<double> best(windows.size(), NoValue);
        std::vector<double> a;
        std::vector<double> b;
        for (std::size_t i = 0; i < windows.size(); i += 2) {
            const std::size_t k = std::min(i + 1, windows.size() - 1);
            correlator.coefficients(windows[i], windows[k], trace, a, b);
            const std::size_t ia = largest(a);
            const std::size_t ib = largest(b);
            best[i] = ia < a.size() ? a[ia] : NoValue;
            best[k] = ib < b.size() ? b[ib] : NoValue;
            if (curves != nullptr) {
                (*curves)[i] = a;
                (*curves)[k] = b;
            }
        }
        return best;
    };

    const ShiftCorrelator::Trace observed = correlator.trace(search.traceValues(), first);
    std::vector<std::vector<double>> curves(windows.size());
    const std::vector<double> coarseBest = bestScores(observed, &curves);
    const std::size_t coarseWinner = largest(coarseBest);
    if (coarseWinner == coarseBest.size()) {
        throw QuarvelError("The trace does not cover enough of the synthetic's window at any "
                           "shift of the search, so no coefficient can be computed.");
    }
    const double observedScore = coarseBest[coarseWinner];

    // The fine pass round the best coarse factor.
    std::map<long long, std::pair<double, std::vector<double>>> byFactor;
    const auto key = [](double factor) { return std::llround(factor * 1e6); };
    for (std::size_t i = 0; i < candidates.size(); ++i) {
        byFactor[key(candidates[i].factor)] = {candidates[i].factor, std::move(curves[i])};
    }
    const double centre = candidates[coarseWinner].factor;
    for (long long i = -9; i <= 9; ++i) {
        search.tick(done++ / total);
        const double factor =
            std::clamp(centre + static_cast<double>(i) * FineFactorStep, m.minFactor, m.maxFactor);
        if (byFactor.count(key(factor)) != 0) {
            continue;
        }
        const std::vector<double> window = search.window(factor);
        if (window.size() >= 2) {
            byFactor[key(factor)] = {
                factor, correlator.coefficients(correlator.window(window, first), observed)};
        }
    }
    const std::vector<double>* bestCurve = nullptr;
    for (auto& [k, entry] : byFactor) {
        const std::size_t at = largest(entry.second);
        if (at == entry.second.size()) {
            continue;
        }
        m.factors.push_back({entry.first, m.shifts[at], entry.second[at]});
        if (bestCurve == nullptr || entry.second[at] > m.factors[m.best].coefficient) {
            m.best = m.factors.size() - 1;
            bestCurve = &entry.second;
        }
    }
    m.atBestFactor = *bestCurve;
    const std::size_t bestAt = largest(m.atBestFactor);
    m.bestShift = (static_cast<double>(minShift + static_cast<long long>(bestAt)) +
                   peakOffset(m.atBestFactor, bestAt)) *
                  dt;
    const std::vector<double> bestWindow = search.window(m.bestPoint().factor);
    m.windowSamples = bestWindow.size();
    m.windowStart = static_cast<double>(first) * dt;
    m.windowEnd = static_cast<double>(first + bestWindow.size() - 1) * dt;

    // The log as it is.
    search.tick(done++ / total);
    m.atFactorOne =
        correlator.coefficients(correlator.window(search.windowAtOne(), first), observed);
    m.zeroShiftCoefficient = m.atFactorOne[static_cast<std::size_t>(-minShift)];
    m.bulkShift = largest(m.atFactorOne);
    if (m.bulkShift == m.atFactorOne.size()) {
        m.bulkShift = static_cast<std::size_t>(-minShift);
    }

    // The same search on surrogates of the trace.
    std::vector<double> nullScores;
    const AmplitudeAdjustedSurrogates surrogates(search.traceValues());
    for (std::size_t s = 0; s < request.settings.surrogates; ++s) {
        search.tick(done++ / total);
        const std::vector<double> surrogate = surrogates(request.settings.seed * 1'000'003 + s);
        const std::vector<double> scores = bestScores(correlator.trace(surrogate, first), nullptr);
        const std::size_t at = largest(scores);
        nullScores.push_back(at < scores.size() ? scores[at] : -1.0);
    }
    const auto n = static_cast<double>(nullScores.size());
    if (!nullScores.empty()) {
        for (const double score : nullScores) {
            m.asGood += score >= observedScore ? 1 : 0;
            m.nullMean += score / n;
        }
        for (const double score : nullScores) {
            m.nullSpread += (score - m.nullMean) * (score - m.nullMean) / n;
        }
        m.nullSpread = std::sqrt(m.nullSpread);
        m.pValue = (static_cast<double>(m.asGood) + 1) / (n + 1);
        m.significant = m.pValue <= request.settings.level;
    } else {
        m.pValue = NoValue;
    }

    // Uncertainty: where the score stays within the null's spread of the best.
    const double threshold = m.bestPoint().coefficient - m.nullSpread;
    std::vector<double> factorScores;
    for (const FactorPoint& p : m.factors) {
        factorScores.push_back(p.coefficient);
    }
    const auto [fLo, fHi] = runAbove(factorScores, m.best, threshold);
    m.factorLow = m.factors[fLo].factor;
    m.factorHigh = m.factors[fHi].factor;
    const auto [sLo, sHi] = runAbove(m.atBestFactor, bestAt, threshold);
    m.shiftLow = m.shifts[sLo];
    m.shiftHigh = m.shifts[sHi];
    const double tolerance = FineFactorStep / 2;
    const bool shiftEdge = bestAt == 0 || bestAt + 1 == m.atBestFactor.size() ||
                           std::isnan(m.atBestFactor[bestAt - 1]) ||
                           std::isnan(m.atBestFactor[bestAt + 1]);
    m.atSearchEdge = m.bestPoint().factor <= m.minFactor + tolerance ||
                     m.bestPoint().factor >= m.maxFactor - tolerance || shiftEdge;
    if (progress) {
        progress(1.0);
    }
    return m;
}

std::vector<std::pair<std::string, std::string>> tieReport(const TieMeasurement& m) {
    const FactorPoint& best = m.bestPoint();
    const auto ms = [](double s, int decimals) { return fixed(s * 1000, decimals); };
    const bool tested = m.settings.surrogates > 0;
    return {
        {"time_zero", "sea-floor"},
        {"anti_aliased", "yes"},
        {"trace_envelope", m.traceEnveloped ? "yes" : "no"},
        {"comparison_interval_ms", ms(m.interval, 4)},
        {"window_start_ms", ms(m.windowStart, 3)},
        {"window_end_ms", ms(m.windowEnd, 3)},
        {"window_ms", ms(m.windowEnd - m.windowStart, 3)},
        {"window_samples", numbers::formatInteger(static_cast<long long>(m.windowSamples))},
        {"min_coverage", fixed(MinCoverage, 2)},
        {"trace_end_ms", ms(m.traceEnd, 3)},
        {"mean_velocity_m_s", fixed(m.meanVelocity, 1)},
        {"factor_range", fixed(m.minFactor, 3) + " " + fixed(m.maxFactor, 3)},
        {"factor_range_from", m.factorRangeFromData ? "data" : "option"},
        {"shift_range_ms", ms(m.minShift, 3) + " " + ms(m.maxShift, 3)},
        {"shift_range_from", m.shiftRangeFromData ? "data" : "option"},
        {"zero_shift_coefficient", fixed(m.zeroShiftCoefficient, 4)},
        {"bulk_shift_ms", ms(m.shifts[m.bulkShift], 4)},
        {"bulk_shift_coefficient", fixed(m.atFactorOne[m.bulkShift], 4)},
        {"best_velocity_factor", fixed(best.factor, 4)},
        {"factor_low", fixed(m.factorLow, 4)},
        {"factor_high", fixed(m.factorHigh, 4)},
        {"best_shift_ms", ms(m.bestShift, 4)},
        {"shift_low_ms", ms(m.shiftLow, 4)},
        {"shift_high_ms", ms(m.shiftHigh, 4)},
        {"best_coefficient", fixed(best.coefficient, 4)},
        {"surrogates", numbers::formatInteger(static_cast<long long>(m.settings.surrogates))},
        {"seed", numbers::formatInteger(static_cast<long long>(m.settings.seed))},
        {"null_mean", tested ? fixed(m.nullMean, 4) : "n/a"},
        {"null_spread", tested ? fixed(m.nullSpread, 4) : "n/a"},
        {"null_p_value", fixed(m.pValue, 4)},
        {"significance_level", fixed(m.settings.level, 3)},
        {"significant", tested ? (m.significant ? "yes" : "no") : "n/a"},
        {"at_search_edge", m.atSearchEdge ? "yes" : "no"},
    };
}

std::string significanceText(const TieMeasurement& m) {
    if (m.settings.surrogates == 0) {
        return "Not tested against unrelated traces.";
    }
    const double share =
        100.0 * static_cast<double>(m.asGood) / static_cast<double>(m.settings.surrogates);
    std::string text = numbers::formatFixed(share, 0) + " % of unrelated traces score as well";
    text += m.significant ? ": the tie is unlikely to be chance (p = " + fixed(m.pValue, 3) + ")."
                          : ": this tie could be chance (p = " + fixed(m.pValue, 3) + ").";
    return text;
}

} // namespace quarvel::tie
