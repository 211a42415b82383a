#pragma once

#include <cstddef>
#include <vector>

namespace quarvel {

// A fixed-capacity series of doubles indexed from 1, as the engine's
// arithmetic is written. Its storage is allocated once, when it is made, and
// never grows; a run overwrites the samples it computes and reads nothing
// beyond them. Index 0 exists but is never used.
class Series {
public:
    // Every series holds up to this many samples.
    static constexpr int Capacity = 64000;

    Series() : values_(static_cast<std::size_t>(Capacity) + 1, 0.0) {}

    double& operator[](int i) { return values_[static_cast<std::size_t>(i)]; }
    double operator[](int i) const { return values_[static_cast<std::size_t>(i)]; }

    // Sample 1 and those after it, contiguous.
    double* samples() { return values_.data() + 1; }
    const double* samples() const { return values_.data() + 1; }

private:
    std::vector<double> values_;
};

} // namespace quarvel
