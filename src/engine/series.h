#pragma once

#include "formats/capacity.h"

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <stdexcept>

namespace quarvel {

class SeriesBlock;

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
    static constexpr int Capacity = SeriesCapacity;
    // Doubles of storage per series, index 0 included.
    static constexpr std::size_t Slot = Capacity + 1;

    Series() : values_(allocate(1), Free{true}) {}
    // A series in the next slot of a block made for a set of series: one
    // allocation for all of them, and one release when the block goes.
    explicit Series(SeriesBlock& block);

    double& operator[](int i) { return values_[static_cast<std::size_t>(i)]; }
    double operator[](int i) const { return values_[static_cast<std::size_t>(i)]; }

    // Sample 1 and those after it, contiguous.
    double* samples() { return values_.get() + 1; }
    const double* samples() const { return values_.get() + 1; }

    static double* allocate(std::size_t series) {
        auto* values = static_cast<double*>(std::calloc(series * Slot, sizeof(double)));
        if (values == nullptr) {
            throw std::bad_alloc();
        }
        return values;
    }

private:
    struct Free {
        bool owned; // false for a slot of a block
        void operator()(double* p) const {
            if (owned) {
                std::free(p);
            }
        }
    };
    std::unique_ptr<double[], Free> values_;
};

// Storage for a fixed number of series, allocated (and released) at once;
// it must outlive the series made in it. Each separate series is a mapping of
// its own, which costs the system a call to make and another to release.
class SeriesBlock {
public:
    explicit SeriesBlock(int count)
        : count_(count), values_(Series::allocate(static_cast<std::size_t>(count))) {}

    // The next unused slot.
    double* next() {
        if (used_ == count_) {
            throw std::length_error("a series block holds fewer series than are made in it");
        }
        return values_.get() + static_cast<std::size_t>(used_++) * Series::Slot;
    }

private:
    struct Free {
        void operator()(double* p) const { std::free(p); }
    };
    int count_;
    int used_ = 0;
    std::unique_ptr<double[], Free> values_;
};

inline Series::Series(SeriesBlock& block) : values_(block.next(), Free{false}) {}

} // namespace quarvel
