#pragma once

#include <cmath>
#include <limits>

namespace quarvel {

// A scaled value as a pixel coordinate: the fraction dropped (toward zero).
// Values far off the panel saturate at the int range, where the canvas clips
// them like any other point outside; a NaN (from an infinite value in the
// file) lands on 0.
inline int truncToPixel(double value) {
    constexpr double lowest = std::numeric_limits<int>::min();
    constexpr double highest = std::numeric_limits<int>::max();
    if (std::isnan(value)) {
        return 0;
    }
    if (value <= lowest) {
        return std::numeric_limits<int>::min();
    }
    if (value >= highest) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(std::trunc(value));
}

} // namespace quarvel
