#include "probe/depth_twt.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quarvel::depth_twt {

using numbers::formatFixed;
using numbers::formatInteger;

namespace {

// Division that stops the command where C++ would carry on with an infinity
// or a NaN and show a meaningless read-out: x / 0 stops it with "division by
// zero", 0 / 0 with "invalid operation".
double divide(double numerator, double denominator) {
    if (denominator == 0.0) {
        const bool undefined = numerator == 0.0 || std::isnan(numerator);
        throw QuarvelError(std::string(undefined ? msg::InvalidOperation : msg::DivisionByZero));
    }
    return numerator / denominator;
}

double perPixel(double span, int pixels) {
    return pixels > 0 ? span / pixels : 0.0;
}

std::string readoutNumber(double value) {
    return formatFixed(value, 4, 3);
}

} // namespace

double probeDepth(std::string_view topText, std::string_view bottomText, int ymin, int ymax,
                  long long dy, double previousDepth) {
    const std::optional<double> bottom = numbers::tryParseNumber(bottomText);
    if (!bottom) {
        return previousDepth;
    }
    const double top = numbers::parseNumber(topText);
    const double mmPerRow =
        divide(*bottom - top, static_cast<double>(ymax) - static_cast<double>(ymin));
    return (top + mmPerRow * static_cast<double>(dy)) / 1000.0;
}

TwtEstimate estimateTwt(const std::vector<LogRecord>& table, int logCount, double depth) {
    const auto count = static_cast<std::size_t>(
        std::clamp<long long>(logCount, 0, static_cast<long long>(table.size())));
    TwtEstimate out;
    if (count == 0) {
        return out;
    }
    const double target = depth < 0.0 ? 0.0 : depth;
    double oneWaySeconds = 0.0;
    double reached = 0.0;
    std::size_t i = 1; // 1-based: the record the read-outs will show
    while (reached < target && i < count) {
        const LogRecord& upper = table[i - 1];
        const LogRecord& lower = table[i];
        reached = lower.Depth;
        const double meanVelocity = (lower.Velocity + upper.Velocity) / 2.0;
        if (meanVelocity > 0.0) {
            oneWaySeconds += (lower.Depth - upper.Depth) / meanVelocity;
        }
        ++i;
    }
    const LogRecord& shown = table[i - 1];
    if (reached < target && i == count && target > shown.Depth) {
        // Below the log the last record's velocity carries on to the depth.
        out.belowLog = true;
        if (shown.Velocity > 0.0) {
            oneWaySeconds += (target - shown.Depth) / shown.Velocity;
        }
    }
    out.estTwt = oneWaySeconds * 2000.0;
    out.instVelocity = shown.Velocity;
    out.instDensity = shown.Density;
    out.velocityText = formatFixed(shown.Velocity, 2, 2);
    out.densityText = formatFixed(shown.Density, 3, 2);
    out.record = static_cast<int>(i);
    return out;
}

PointTexts pointTexts(long long x, long long y, int red, int green, int blue, double depth,
                      double estTwt) {
    PointTexts out;
    out.depthText = formatFixed(depth, 4, 3);
    out.twtText = formatFixed(estTwt, 3, 1);
    out.status0 = "Image: (" + formatInteger(x) + ", " + formatInteger(y) +
                  ")  R:" + formatInteger(red) + "  G:" + formatInteger(green) +
                  "  B:" + formatInteger(blue);
    out.status1 = "Depth :" + out.depthText + " m" + "    Est. TWT:" + out.twtText + " msec";
    return out;
}

PanelReadout synthReadout(int x, int y, int width, int height, const SeriesExtents& synth) {
    const double ampPerPixel = perPixel(synth.ampMax - synth.ampMin, width);
    const double timePerPixel = perPixel(synth.timeLast - synth.timeFirst, height);
    const double timeMs = (y * timePerPixel + synth.timeFirst) * 1000.0;
    const double amplitude = x * ampPerPixel + synth.ampMin;
    return {"Image: (" + formatInteger(x) + ", " + formatInteger(y) + ")",
            "TWT :" + readoutNumber(timeMs) + " msec." + "    AMP :" + readoutNumber(amplitude)};
}

PanelReadout traceReadout(int x, int y, int width, int height, const SeriesExtents& trace,
                          double timeMinMs) {
    const double ampPerPixel = perPixel(trace.ampMax - trace.ampMin, width);
    const double timePerPixel = perPixel(trace.timeLast - trace.timeFirst, height);
    const double relative = y * timePerPixel;
    const double absolute = timeMinMs / 1000.0 + relative;
    const double amplitude = x * ampPerPixel + trace.ampMin;
    return {"Image: (" + formatInteger(x) + ", " + formatInteger(y) + ")",
            "TWT :" + readoutNumber(relative) + " (" + readoutNumber(absolute) + ")  msec." +
                "    AMP :" + readoutNumber(amplitude)};
}

int traceMarkRow(double markTwt, double timeFirst, double timeLast, int height) {
    if (timeLast == timeFirst) {
        throw QuarvelError(std::string(NoTraceToMark));
    }
    const double msPerRow = divide(timeLast - timeFirst, height);
    const double row = std::trunc(divide(markTwt, msPerRow));
    if (!(std::abs(row) <= static_cast<double>(std::numeric_limits<int>::max()))) {
        throw QuarvelError(std::string(msg::InvalidOperation));
    }
    return static_cast<int>(row);
}

double traceTimeAtRow(int row, double timeFirst, double timeLast, int height) {
    return row * divide(timeLast - timeFirst, height);
}

std::string traceMarkLabel(double markTwt, std::string_view depthText) {
    return formatFixed(markTwt, 3, 2) + " (" + std::string(depthText) + ")";
}

} // namespace quarvel::depth_twt
