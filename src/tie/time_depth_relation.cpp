#include "tie/time_depth_relation.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace quarvel::tie {
namespace {

// The index of the interval [i, i + 1] to read x in: the one holding it, or
// the end interval beyond which it lies.
template <typename Key>
std::size_t intervalOf(const std::vector<TimeDepthPoint>& points, double x, Key key) {
    const auto above =
        std::upper_bound(points.begin() + 1, points.end() - 1, x,
                         [&](double v, const TimeDepthPoint& p) { return v < key(p); });
    return static_cast<std::size_t>(above - points.begin()) - 1;
}

} // namespace

TimeDepthRelation::TimeDepthRelation(std::vector<TimeDepthPoint> points)
    : points_(std::move(points)) {
    if (points_.size() < 2) {
        throw QuarvelError("A time-depth relation needs at least two points.");
    }
    for (std::size_t i = 1; i < points_.size(); ++i) {
        if (!(points_[i].depth > points_[i - 1].depth) || !(points_[i].twt > points_[i - 1].twt)) {
            throw QuarvelError("Point " + numbers::formatInteger(static_cast<long long>(i + 1)) +
                               " of the time-depth relation is not deeper and later than the point "
                               "above.");
        }
    }
}

double TimeDepthRelation::twtAt(double depth) const {
    const std::size_t i =
        intervalOf(points_, depth, [](const TimeDepthPoint& p) { return p.depth; });
    const TimeDepthPoint& a = points_[i];
    const TimeDepthPoint& b = points_[i + 1];
    return a.twt + (depth - a.depth) * (b.twt - a.twt) / (b.depth - a.depth);
}

double TimeDepthRelation::depthAt(double twt) const {
    const std::size_t i = intervalOf(points_, twt, [](const TimeDepthPoint& p) { return p.twt; });
    const TimeDepthPoint& a = points_[i];
    const TimeDepthPoint& b = points_[i + 1];
    return a.depth + (twt - a.twt) * (b.depth - a.depth) / (b.twt - a.twt);
}

std::vector<double> TimeDepthRelation::intervalVelocities() const {
    std::vector<double> velocities;
    for (std::size_t i = 1; i < points_.size(); ++i) {
        // Two-way time in ms: v = 2 dz / (dt / 1000).
        velocities.push_back(2000 * (points_[i].depth - points_[i - 1].depth) /
                             (points_[i].twt - points_[i - 1].twt));
    }
    return velocities;
}

TimeDepthRelation TimeDepthRelation::scaled(double factor, double shiftMs) const {
    std::vector<TimeDepthPoint> points = points_;
    for (TimeDepthPoint& p : points) {
        p.twt = p.twt / factor + shiftMs;
    }
    return TimeDepthRelation(std::move(points));
}

std::string relationCsv(const TimeDepthRelation& relation,
                        const std::vector<std::string>& comments) {
    std::string text;
    for (const std::string& comment : comments) {
        text += "# " + comment + "\r\n";
    }
    return text + timeDepthCsv(relation.points());
}

} // namespace quarvel::tie
