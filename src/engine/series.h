#pragma once

#include <cstdlib>
#include <memory>
#include <new>

namespace quarvel {

// A fixed-capacity series of doubles indexed from 1, as the engine's
// arithmetic is written. Its storage is allocated once, when it is made, and
// never grows; a run overwrites the samples it computes and reads nothing
// beyond them. Index 0 exists but is never used.
//
// Every sample starts at 0. The storage comes from calloc, which for a block
// this size takes fresh pages from the system that are zero without being
// written: pages of samples a run never reaches are never touched, so making
// a set of series costs next to nothing however little of them is used.
class Series {
public:
    // Every series holds up to this many samples.
    static constexpr int Capacity = 64000;

    Series() : values_(static_cast<double*>(std::calloc(Capacity + 1, sizeof(double)))) {
        if (values_ == nullptr) {
            throw std::bad_alloc();
        }
    }

    double& operator[](int i) { return values_[static_cast<std::size_t>(i)]; }
    double operator[](int i) const { return values_[static_cast<std::size_t>(i)]; }

    // Sample 1 and those after it, contiguous.
    double* samples() { return values_.get() + 1; }
    const double* samples() const { return values_.get() + 1; }

private:
    struct Free {
        void operator()(double* p) const { std::free(p); }
    };
    std::unique_ptr<double[], Free> values_;
};

} // namespace quarvel
