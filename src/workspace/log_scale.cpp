#include "workspace/log_scale.h"

#include "formats/token_reader.h"

#include <cmath>
#include <fstream>
#include <limits>
#include <sstream>

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

LogScaleResult calcLogScale(std::istream& in, const LogScaleSettings& settings) {
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

    TokenReader reader(in);
    while (!reader.onlySeparatorsLeft()) {
        if (result.records.size() >= static_cast<std::size_t>(LogCapacity)) {
            result.truncated = true;
            break;
        }
        LogRecord record;
        record.Depth = reader.readNumber();
        record.Velocity = reader.readNumber();
        record.Density = reader.readNumber();
        reader.skipLine();
        result.records.push_back(record);
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
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        std::istringstream empty;
        return calcLogScale(empty, settings);
    }
    return calcLogScale(file, settings);
}

void applyLogScale(const LogScaleResult& result, WorkspaceState& state) {
    state.LogTable = result.records;
    state.LogCount = static_cast<int>(result.records.size());
    state.LogTopDepth = result.topDepth;
    state.LogBottomDepth = result.bottomDepth;
    state.MeanVelocity = result.meanVelocity;
}

} // namespace quarvel
