#include "engine/series.h"

#include <cstdint>
#include <sys/mman.h>

namespace quarvel {
namespace {

constexpr std::size_t HugePage = std::size_t{2} << 20;

} // namespace

SeriesBlock::SeriesBlock(int count) : count_(count) {
    if (count < 0) {
        throw std::length_error("a series block cannot hold a negative number of series");
    }
    const std::size_t bytes = static_cast<std::size_t>(count) * Series::Slot * sizeof(double);
    // Whole 2 MiB pages, starting on a 2 MiB boundary: the mapping is made a
    // page longer and trimmed to the boundary.
    const std::size_t wanted = (bytes + HugePage - 1) / HugePage * HugePage;
    void* mapped = mmap(nullptr, wanted + HugePage, PROT_READ | PROT_WRITE,
                        MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) {
        throw std::bad_alloc();
    }
    auto* start = static_cast<char*>(mapped);
    const auto address = reinterpret_cast<std::uintptr_t>(start);
    const std::size_t head = (HugePage - address % HugePage) % HugePage;
    if (head > 0) {
        munmap(start, head);
    }
    munmap(start + head + wanted, HugePage - head);
    // Advice only: without it the pages are small.
    madvise(start + head, wanted, MADV_HUGEPAGE);
    bytes_ = wanted;
    values_ = reinterpret_cast<double*>(start + head);
}

SeriesBlock::~SeriesBlock() {
    munmap(values_, bytes_);
}

} // namespace quarvel
