#pragma once

#include "tie/time_depth.h"

#include <string>
#include <vector>

namespace quarvel::tie {

// Depth below the core top against two-way time, linear between its points:
// the log's own relation, the bulk tie's, or a depth-varying tie's. Depth and
// time both increase strictly from point to point, so every interval has a
// positive velocity and the relation can be read either way.
class TimeDepthRelation {
public:
    TimeDepthRelation() = default;
    // Throws QuarvelError for fewer than two points or for a depth or time
    // that does not increase, naming the point.
    explicit TimeDepthRelation(std::vector<TimeDepthPoint> points);

    const std::vector<TimeDepthPoint>& points() const { return points_; }
    bool empty() const { return points_.empty(); }

    // Linear between the points and along the end intervals beyond them.
    double twtAt(double depth) const; // ms
    double depthAt(double twt) const; // m

    // The velocity of each interval between neighbouring points, m/s.
    std::vector<double> intervalVelocities() const;

    // Every time divided by the factor (the velocities multiplied by it), then
    // shifted by shiftMs.
    TimeDepthRelation scaled(double factor, double shiftMs) const;

private:
    std::vector<TimeDepthPoint> points_;
};

// CSV text: each comment as a "# " line, then the table as timeDepthCsv
// writes it.
std::string relationCsv(const TimeDepthRelation& relation,
                        const std::vector<std::string>& comments);

} // namespace quarvel::tie
