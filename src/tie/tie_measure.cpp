#include "tie/tie_measure.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

namespace quarvel::tie {
namespace {

std::string fixed(double value, int decimals) {
    return numbers::formatFixed(value, decimals);
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

TieMeasurement measureTie(const TieRequest& request) {
    TieMeasurement measurement;
    const PreparedTrace trace = prepareTrace(request.trace);
    measurement.traceEnveloped = trace.enveloped;
    measurement.shifts = scanShifts(request.synthetic, trace.series, request.maxShift);
    if (request.synthesise) {
        measurement.factors = scanFactors(request.synthesise, trace.series, request.maxShift,
                                          request.minFactor, request.maxFactor);
    }
    return measurement;
}

std::vector<std::pair<std::string, std::string>> tieReport(const TieMeasurement& measurement) {
    const ShiftScan& shifts = measurement.shifts;
    std::vector<std::pair<std::string, std::string>> report{
        {"trace_envelope", measurement.traceEnveloped ? "yes" : "no"},
        {"zero_shift_coefficient", fixed(shifts.coefficient[shifts.zero], 4)},
        {"bulk_shift_ms", fixed(shifts.shift[shifts.best] * 1000, 4)},
        {"bulk_shift_coefficient", fixed(shifts.coefficient[shifts.best], 4)},
    };
    if (measurement.factors) {
        const FactorPoint& best = measurement.factors->points[measurement.factors->best];
        report.emplace_back("best_velocity_factor", fixed(best.factor, 4));
        report.emplace_back("best_shift_ms", fixed(best.shift * 1000, 4));
        report.emplace_back("best_coefficient", fixed(best.coefficient, 4));
    } else {
        report.emplace_back("best_shift_ms", fixed(shifts.shift[shifts.best] * 1000, 4));
        report.emplace_back("best_coefficient", fixed(shifts.coefficient[shifts.best], 4));
    }
    return report;
}

} // namespace quarvel::tie
