#pragma once

#include <span>

// The impedance model below the sea floor, shared by the engine and the tie:
// the rows' two-way times and the reflectivity of the model sampled without
// aliasing.
namespace quarvel::MathFun {

// The two-way time of each row (s): the span from the core top to the first
// row at the first row's velocity, every later interval at its lower row's
// velocity. The spans are the log's columns, in order; out holds as many.
void RowTwoWayTimes(std::span<const double> depth, std::span<const double> velocity,
                    std::span<double> out);

// The reflection coefficients at the grid times (ascending, from 0, dt
// apart), each between the impedance averaged over the cell above it,
// [t - dt, t], and over the cell below it, [t, t + dt]: sea water above the
// first. Velocity and density run on straight lines between the rows' times
// and hold their end rows' values beyond them, so the average is exact.
// A thin bed then contributes in proportion to the share of a cell it fills,
// and the coefficients change smoothly as the rows' times move, where
// sampling the lines at single times makes an interface jump from one
// sample to the next. density in kg/m3; out holds as many as grid.
void CellAveragedReflectivity(std::span<const double> twoWayTime, std::span<const double> velocity,
                              std::span<const double> density, std::span<const double> grid,
                              double dt, std::span<double> out);

} // namespace quarvel::MathFun
