#include "engine/impedance.h"

#include "engine/math_fun.h"

#include <cstddef>

namespace quarvel::MathFun {
namespace {

// The integral of the impedance from the first row's time to any time, for
// times visited in ascending order: velocity and density are straight lines
// within a segment, so their product is a parabola, which Simpson's rule
// integrates exactly.
class ImpedanceIntegral {
public:
    ImpedanceIntegral(std::span<const double> tw, std::span<const double> v,
                      std::span<const double> rho)
        : tw_(tw), v_(v), rho_(rho) {}

    double at(double t) {
        const std::size_t n = tw_.size();
        if (t <= tw_[0]) {
            return impedance(0) * (t - tw_[0]);
        }
        while (seg_ + 1 < n && t > tw_[seg_ + 1]) {
            cumulative_ += segment(seg_, tw_[seg_ + 1]);
            ++seg_;
        }
        if (seg_ + 1 == n) {
            return cumulative_ + impedance(n - 1) * (t - tw_[n - 1]);
        }
        return cumulative_ + segment(seg_, t);
    }

private:
    double impedance(std::size_t row) const { return v_[row] * rho_[row]; }

    // The integral over [tw[j], t], t within segment j.
    double segment(std::size_t j, double t) const {
        const double t0 = tw_[j];
        const double span = tw_[j + 1] - t0;
        const auto line = [&](std::span<const double> y, double x) {
            return y[j] + (x - t0) * (y[j + 1] - y[j]) / span;
        };
        const double mid = (t0 + t) / 2;
        const double zMid = line(v_, mid) * line(rho_, mid);
        const double zEnd = line(v_, t) * line(rho_, t);
        return (t - t0) / 6 * (impedance(j) + 4 * zMid + zEnd);
    }

    std::span<const double> tw_, v_, rho_;
    std::size_t seg_ = 0;
    double cumulative_ = 0.0;
};

} // namespace

void RowTwoWayTimes(std::span<const double> depth, std::span<const double> velocity,
                    std::span<double> out) {
    double oneWay = 0.0;
    for (std::size_t i = 0; i < depth.size(); ++i) {
        oneWay = i == 0 ? depth[0] / velocity[0] : oneWay + (depth[i] - depth[i - 1]) / velocity[i];
        out[i] = 2 * oneWay;
    }
}

void CellAveragedReflectivity(std::span<const double> twoWayTime, std::span<const double> velocity,
                              std::span<const double> density, std::span<const double> grid,
                              double dt, std::span<double> out) {
    ImpedanceIntegral integral(twoWayTime, velocity, density);
    double lower = integral.at(grid[0]);
    double above = WaterImpedance;
    for (std::size_t i = 0; i < grid.size(); ++i) {
        // The grid's times were accumulated step by step; the next one is the
        // cell's lower edge, so neighbouring cells share it exactly.
        const double edge = i + 1 < grid.size() ? grid[i + 1] : grid[i] + dt;
        const double upper = integral.at(edge);
        const double below = (upper - lower) / (edge - grid[i]);
        out[i] = (below - above) / (below + above);
        above = below;
        lower = upper;
    }
}

} // namespace quarvel::MathFun
