#pragma once

#include "formats/capacity.h"

#include <cstddef>
#include <cstdlib>
#include <memory>
#include <new>
#include <span>
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
// it must outlive the series made in it.
//
// The block is mapped from the system on its own and asks for 2 MiB pages
// where the system offers them: the first touch of each page of memory costs
// a trip into the system (several microseconds on a virtual machine), and a
// run touches every series, so with 4 KiB pages the trips alone took longer
// than the arithmetic of a short run; a 2 MiB page takes one trip and is
// zeroed at memory speed. Where 2 MiB pages are not to be had the block
// works the same with small pages.
class SeriesBlock {
public:
    explicit SeriesBlock(int count);
    ~SeriesBlock();
    SeriesBlock(const SeriesBlock&) = delete;
    SeriesBlock& operator=(const SeriesBlock&) = delete;

    // The next unused slot.
    double* next() { return take(1).data(); }

    // The next `count` unused slots, as one span of doubles: working space
    // for what is not a series.
    std::span<double> take(int count) {
        if (count < 0 || count > count_ - used_) {
            throw std::length_error("a series block holds fewer series than are made in it");
        }
        double* first = values_ + static_cast<std::size_t>(used_) * Series::Slot;
        used_ += count;
        return {first, static_cast<std::size_t>(count) * Series::Slot};
    }

private:
    int count_;
    int used_ = 0;
    std::size_t bytes_ = 0; // mapped
    double* values_ = nullptr;
};

inline Series::Series(SeriesBlock& block) : values_(block.next(), Free{false}) {}

} // namespace quarvel
