#include "probe/log_scale.h"

#include "formats/log_file.h"
#include "formats/text_file.h"

#include <cmath>
#include <limits>
#include <system_error>

namespace quarvel {
namespace {

// Truncation toward zero into a bound. A log value beyond the int range
// (a typing slip such as 1e12) saturates instead of overflowing.
int truncToBound(double value) {
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (value <= lowest) {
        return std::numeric_limits<int>::min();
    }
    if (value >= highest) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(std::trunc(value));
}

// Widens min/max with one value; NaN compares false and widens nothing.
void widen(double value, int& minBound, int& maxBound) {
    if (value > maxBound) {
        maxBound = truncToBound(value);
    }
    if (value < minBound) {
        minBound = truncToBound(value);
    }
}

} // namespace

LogScaleResult calcLogScale(std::string_view logText, const LogScaleSettings& settings) {
    LogScaleResult result;
    result.scales = settings;
    LogScaleSettings& s = result.scales;
    if (s.autoVel) {
        s.maxVel = 0;
        s.minVel = 10000;
    }
    if (s.autoDens) {
        s.maxDens = 1;
        s.minDens = 100000;
    }

    LogFile log = parseLogFile(
        logText,
        {"log.dat", FieldRule::TokensToLineEnd, static_cast<std::size_t>(LogCapacity), {}});
    result.records = std::move(log.records);
    result.truncated = log.truncated;
    for (const LogRecord& record : result.records) {
        if (record.Depth > 0) {
            if (s.autoVel) {
                widen(record.Velocity, s.minVel, s.maxVel);
            }
            if (s.autoDens) {
                widen(record.Density * 1000, s.minDens, s.maxDens);
            }
        }
    }

    // In double, so bounds near the int limits cannot overflow the sum.
    result.meanVelocity = (static_cast<double>(s.maxVel) + static_cast<double>(s.minVel)) / 2;
    if (!result.records.empty()) {
        result.topDepth = result.records.front().Depth;
        result.bottomDepth = result.records.back().Depth;
    }
    return result;
}

LogScaleResult calcLogScaleFile(const std::filesystem::path& path,
                                const LogScaleSettings& settings) {
    // Until a log is loaded there is no log.dat: an empty log.
    std::error_code ec;
    if (!std::filesystem::exists(path, ec)) {
        return calcLogScale("", settings);
    }
    return calcLogScale(readTextFile(path, LogFileLimit), settings);
}

void applyLogScale(const LogScaleResult& result, WorkspaceState& state) {
    state.LogTable = result.records;
    state.LogCount = static_cast<int>(result.records.size());
    state.LogTopDepth = result.topDepth;
    state.LogBottomDepth = result.bottomDepth;
    state.MeanVelocity = result.meanVelocity;
}

} // namespace quarvel
