#include "engine/math_fun.h"
#include "engine/series_kernels.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <memory>
#include <mutex>
#include <random>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace quarvel::MathFun {
namespace {

std::unique_ptr<Series> seriesOf(const std::vector<double>& values) {
    auto s = std::make_unique<Series>();
    for (std::size_t i = 0; i < values.size(); ++i) {
        (*s)[static_cast<int>(i) + 1] = values[i];
    }
    return s;
}

std::unique_ptr<Series> randomSeries(int n, unsigned seed) {
    std::mt19937 gen(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    auto s = std::make_unique<Series>();
    for (int i = 1; i <= n; ++i) {
        (*s)[i] = dist(gen);
    }
    return s;
}

// The convolution exactly as written: every output starts at 0 and gains
// a[i] * b[j] with i ascending.
std::vector<double> naiveConvolve(int na, const Series& a, int nb, const Series& b, int nOut) {
    std::vector<double> out(static_cast<std::size_t>(nOut) + 1, 0.0);
    for (int i = 1; i <= na; ++i) {
        for (int j = 1; j <= nb; ++j) {
            if (i + j - 1 <= nOut) {
                out[static_cast<std::size_t>(i + j - 1)] += a[i] * b[j];
            }
        }
    }
    return out;
}

struct ConvolveCase {
    int na, nb, nOut;
};

// Series made in one block start at 0, do not overlap (the last sample of one
// and index 0 of the next are neighbours), and the block refuses one more
// series than it was made for.
TEST(SeriesBlock, SeriesInOneBlockAreSeparate) {
    SeriesBlock block(2);
    Series first(block);
    Series second(block);
    EXPECT_EQ(first[1], 0.0);
    EXPECT_EQ(second[Series::Capacity], 0.0);
    first[Series::Capacity] = 1.5;
    second[1] = -2.0;
    EXPECT_EQ(second[0], 0.0);
    EXPECT_EQ(first[Series::Capacity], 1.5);
    EXPECT_EQ(second[1], -2.0);
    EXPECT_THROW(Series{block}, std::length_error);
}

// Working space taken from a block follows the series made before it, spans
// whole slots, starts at 0 and can be written to its last double; the block
// refuses more slots than it has left.
TEST(SeriesBlock, WorkingSpaceFollowsTheSeries) {
    SeriesBlock block(4);
    Series series(block);
    const std::span<double> work = block.take(2);
    ASSERT_EQ(work.size(), 2 * Series::Slot);
    EXPECT_EQ(work.data(), series.samples() + Series::Capacity);
    EXPECT_EQ(work.front(), 0.0);
    EXPECT_EQ(work.back(), 0.0);
    work.back() = 3.0;
    series[Series::Capacity] = 1.0;
    EXPECT_EQ(work.front(), 0.0);
    EXPECT_THROW(block.take(2), std::length_error);
    EXPECT_EQ(block.take(1).front(), 0.0);
}

TEST(Convolve, EqualsTheDirectSumBitForBitAtEveryThreadCount) {
    const ConvolveCase cases[] = {
        {0, 5, 4},          {5, 0, 4},         {1, 1, 1},    {3, 7, 9},          {7, 3, 9},
        {50, 90, 139},      {50, 91, 140},     {33, 33, 33}, {64, 200, 263},     {200, 64, 263},
        {1, 100, 100},      {100, 1, 100},     {5, 5, 20},   {1300, 1300, 1300}, {900, 1200, 2099},
        {3000, 3000, 3000}, {1800, 2500, 4299}};
    // The last two are large enough to be shared between two threads.
    static_assert(3000LL * 3001 / 2 > kernels::ThreadingThreshold);
    static_assert(1800LL * 2500 > kernels::ThreadingThreshold);
    for (const ConvolveCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.na << " x " << c.nb << " -> " << c.nOut);
        const auto a = randomSeries(c.na, 1);
        const auto b = randomSeries(c.nb, 2);
        const std::vector<double> expected = naiveConvolve(c.na, *a, c.nb, *b, c.nOut);
        for (const int variant : {1, 2, 3}) {
            const int threads = variant == 1 ? 1 : 2;
            const kernels::KernelOptions options{threads, variant != 3};
            auto out = std::make_unique<Series>();
            for (int k = 1; k <= c.nOut; ++k) {
                (*out)[k] = 99.0; // stale values from an earlier run
            }
            Convolve(c.na, *a, c.nb, *b, c.nOut, *out, options);
            int mismatches = 0;
            for (int k = 1; k <= c.nOut; ++k) {
                mismatches += (*out)[k] != expected[static_cast<std::size_t>(k)];
            }
            EXPECT_EQ(mismatches, 0) << threads << " thread(s), AVX2 " << (variant != 3);
        }
    }
}

// A job is shared between threads only from the options' threshold on: a
// job of 10 million multiply-adds is cut in two blocks by default and runs
// whole on one thread with the threshold of a one-run process.
TEST(RunInBlocks, SharesAJobOnlyFromTheThreshold) {
    static_assert(kernels::ThreadingThreshold < 10'000'000);
    static_assert(kernels::OneRunThreadingThreshold > 10'000'000);
    for (const bool oneRun : {false, true}) {
        kernels::KernelOptions options{2};
        if (oneRun) {
            options.threadingThreshold = kernels::OneRunThreadingThreshold;
        }
        std::mutex lock;
        std::vector<std::pair<int, int>> blocks;
        kernels::runInBlocks(
            10'000, options, [](int) { return 1000LL; },
            [&](int first, int last) {
                const std::lock_guard<std::mutex> guard(lock);
                blocks.emplace_back(first, last);
            });
        std::sort(blocks.begin(), blocks.end());
        if (oneRun) {
            EXPECT_EQ(blocks, (std::vector<std::pair<int, int>>{{0, 10'000}}));
        } else {
            EXPECT_EQ(blocks, (std::vector<std::pair<int, int>>{{0, 5'000}, {5'000, 10'000}}));
        }
    }
}

TEST(Convolve, OutputMayBeOneOfItsInputs) {
    auto a = seriesOf({1, 2, 3});
    const auto b = seriesOf({1, -1});
    Convolve(3, *a, 2, *b, 4, *a);
    EXPECT_EQ((std::vector<double>{(*a)[1], (*a)[2], (*a)[3], (*a)[4]}),
              (std::vector<double>{1, 1, 1, -3}));
}

TEST(Deconvolve, StabilisedLongDivision) {
    const auto a = seriesOf({1, 0, 0, 0, 0, 0});
    const auto b = seriesOf({0.9, 0.5, 0.25});
    auto q = std::make_unique<Series>();
    auto r = std::make_unique<Series>();
    Deconvolve(*a, 6, *b, 3, *q, *r);
    std::vector<double> qs, rs;
    for (int k = 1; k <= 6; ++k) {
        qs.push_back((*q)[k]);
        rs.push_back((*r)[k]);
    }
    EXPECT_EQ(qs, (std::vector<double>{1, -0.5, 0, 0.125, 0, 0}));
    EXPECT_EQ(rs, (std::vector<double>{1, -0.5, 0, 0, 0, 0}));
}

TEST(Deconvolve, ShortDividendIsCopiedToTheRemainder) {
    const auto a = seriesOf({2, 3});
    const auto b = seriesOf({1, 1, 1});
    auto q = seriesOf({7, 7});
    auto r = std::make_unique<Series>();
    Deconvolve(*a, 2, *b, 3, *q, *r);
    EXPECT_EQ((std::vector<double>{(*q)[1], (*q)[2], (*r)[1], (*r)[2]}),
              (std::vector<double>{0, 0, 2, 3}));
}

TEST(Deconvolve, ZeroDivisorIsAnError) {
    const auto a = seriesOf({1, 0, 0, 0});
    const auto b = seriesOf({-0.1, 0.5});
    auto q = std::make_unique<Series>();
    auto r = std::make_unique<Series>();
    EXPECT_THROW(Deconvolve(*a, 4, *b, 2, *q, *r), QuarvelError);
}

std::string lineOf(double time, double value) {
    return numbers::formatE23(time) + " " + numbers::formatE23(value) + "\r\n";
}

struct WriteCase {
    const char* name;
    std::vector<double> values;
    double timeLimit;
    std::string expected;
};

TEST(WriteSeries, NormalisesAndStartsAtTheStrongestSample) {
    const WriteCase cases[] = {
        {"last of equal peaks", {0.5, -2, 1, 2}, 1.0, lineOf(0, 1)},
        {"limit not above 0", {0.5, -2, 1, 2}, 0.0, ""},
        {"negative peak",
         {1, -4, 2, 1},
         1.0,
         lineOf(0, -1) + lineOf(0.001, 0.5) + lineOf(0.002, 0.25)},
        {"time limit cuts", {4, 2, 1, 3}, 0.002, lineOf(0, 1) + lineOf(0.001, 0.5)},
        {"all zeros from the first sample",
         {0, 0, 0},
         1.0,
         lineOf(0, 0) + lineOf(0.001, 0) + lineOf(0.002, 0)},
        {"no samples", {}, 1.0, ""},
    };
    for (const WriteCase& c : cases) {
        TextBuilder text;
        WriteSeries(text, c.values, 0.001, c.timeLimit);
        EXPECT_EQ(text.text(), c.expected) << c.name;
    }
}

TEST(WriteSeries, ExampleLineLayout) {
    TextBuilder text;
    WriteSeries(text, std::vector<double>{-0.473, 0.2}, 0.000025, 1.0);
    EXPECT_EQ(text.text(), " 0.00000000000000E+0000 -1.00000000000000E+0000\r\n"
                           " 2.50000000000000E-0005 " +
                               numbers::formatE23(0.2 / 0.473) + "\r\n");
}

} // namespace
} // namespace quarvel::MathFun
