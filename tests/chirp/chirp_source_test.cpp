#include "chirp/chirp_source.h"
#include "engine/math_fun.h"
#include "engine/series_kernels.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "support/temp_work_dir.h"

#include <cmath>
#include <gtest/gtest.h>
#include <memory>
#include <numbers>
#include <random>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using testing::TempWorkDir;

std::vector<std::string> linesOf(const TempWorkDir& dir, std::string_view name) {
    const std::string text = dir.read(name);
    const std::vector<std::string> lines = splitLines(text);
    EXPECT_EQ(text.size(), lines.size() * 49) << name << ": 23 + 1 + 23 + CR LF per line";
    return lines;
}

// The first sweep sample at t = dt, straight from the definition: a
// Blackman-Harris window centred on T/2 times a cosine whose frequency runs
// linearly from f0 at t = 0 to f1 at t = T.
double firstSample(double width, double f0, double f1, double dt) {
    const double pi = std::numbers::pi;
    const double u = dt - width / 2;
    const double window = 0.359 + 0.488 * std::cos(2 * pi * u / width) +
                          0.141 * std::cos(4 * pi * u / width) +
                          0.012 * std::cos(6 * pi * u / width);
    const double frequencyRate = (f1 - f0) / width;
    return window * std::cos(2 * pi * (f0 + frequencyRate * dt / 2) * dt);
}

TEST(ChirpSource, DefaultSweep) {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    const std::vector<std::string> chirp = linesOf(dir, "chirp.dat");
    ASSERT_EQ(chirp.size(), 1001U);
    const double s1 = firstSample(0.01, 2000, 7000, 0.00001);
    EXPECT_GT(s1, 6.2e-7);
    EXPECT_LT(s1, 6.35e-7);
    EXPECT_EQ(chirp[0], " 1.00000000000000E-0005 " + numbers::formatE23(s1));
    EXPECT_EQ(chirp[0].substr(23, 2), "  ");
    // Times are accumulated: the 1001st, 0.01000999999999976, is just past
    // the width.
    EXPECT_EQ(chirp[1000].substr(0, 23), " 1.00099999999998E-0002");
}

TEST(ChirpSource, DefaultWaveletIsMirroredAboutItsPeakLine) {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    const std::vector<std::string> klauder = linesOf(dir, "klauder.dat");
    ASSERT_EQ(klauder.size(), 197U);
    EXPECT_EQ(klauder[98], " 1.00000000000000E-0005  1.00000000000000E+0000");
    EXPECT_EQ(klauder[97].substr(0, 23), "-2.00000000000000E-0005");
    // The accumulated time t_99 labels the outermost lines.
    EXPECT_EQ(klauder[0].substr(0, 23), "-9.90000000000002E-0004");
    EXPECT_EQ(klauder[196].substr(0, 23), " 9.90000000000002E-0004");
    for (int d = 1; d <= 98; ++d) {
        const std::string& before = klauder[static_cast<std::size_t>(98 - d)];
        const std::string& after = klauder[static_cast<std::size_t>(98 + d)];
        ASSERT_EQ(before.substr(24), after.substr(24)) << "lines " << 99 - d << ", " << 99 + d;
        ASSERT_EQ(before.substr(1, 22), after.substr(1, 22));
        ASSERT_EQ(before[0], '-');
        ASSERT_EQ(after[0], ' ');
    }
}

TEST(ChirpSource, OtherParameterSets) {
    struct Case {
        ChirpTexts texts;
        std::size_t chirpLines;
        std::size_t klauderLines;
    };
    const Case cases[] = {
        {{"0.01", "100", "400", "0.001"}, 10, 1},         // no lag below 1 ms: the peak line alone
        {{"0.01", "50", "250", "0.002"}, 6, 1},           // up to the Nyquist frequency
        {{"0.01", "7000", "2000", "0.00001"}, 1001, 197}, // a down-sweep
        {{" 0.005 ", "+1e3", "4E3", "2e-5"}, 250, 97},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.texts.start + " " + c.texts.interval);
        TempWorkDir dir;
        ChirpSource(c.texts, dir.workDir());
        const std::vector<std::string> chirp = linesOf(dir, "chirp.dat");
        const std::vector<std::string> klauder = linesOf(dir, "klauder.dat");
        ASSERT_EQ(chirp.size(), c.chirpLines);
        ASSERT_EQ(klauder.size(), c.klauderLines);
        const double width = numbers::parseNumber(c.texts.width);
        const double dt = numbers::parseNumber(c.texts.interval);
        EXPECT_EQ(chirp[0],
                  numbers::formatE23(dt) + " " +
                      numbers::formatE23(firstSample(width, numbers::parseNumber(c.texts.start),
                                                     numbers::parseNumber(c.texts.end), dt)));
        EXPECT_EQ(klauder[c.klauderLines / 2], numbers::formatE23(dt) + "  1.00000000000000E+0000");
    }
}

TEST(ChirpSource, RefusesParametersOutsideTheOperatingRange) {
    struct Case {
        ChirpTexts texts;
        const char* expected;
    };
    const Case cases[] = {
        {{"0", "2000", "7000", "0.00001"}, "Signal Width must be above 0; it is \"0\"."},
        {{"-0.01", "2000", "7000", "0.00001"}, "Signal Width must be above 0"},
        {{"abc", "2000", "7000", "0.00001"}, "Signal Width: \"abc\" is not a number"},
        {{"0.01", "2 kHz", "7000", "0.00001"}, "Start Frequency: \"2 kHz\" is not a number"},
        {{"0.01", "2000", "7000,5", "0.00001"}, "End Frequency: \"7000,5\" is not a number"},
        {{"0.01", "2000", "7000", ""}, "Sampling Interval: \"\" is not a number"},
        {{"0.01", "2000", "7000", "0"}, "Sampling Interval must be above 0"},
        {{"0.01", "2000", "7000", "-1e-5"}, "Sampling Interval must be above 0"},
        {{"0.01", "2000", "7000", "1e999"}, "Sampling Interval: \"1e999\" is not a number"},
        {{"1", "2000", "7000", "0.00001"}, "more than 32000 samples"},
        {{"0.01", "2000", "7000", "1e-300"}, "more than 32000 samples"},
        {{"1e-300", "0", "1e299", "1e-300"}, "leave the range of numbers"},
        {{"0.01", "-2000", "7000", "0.00001"},
         "Start Frequency must not be below 0 Hz; it is \"-2000\"."},
        {{"0.01", "2000", "-1", "0.00001"}, "End Frequency must not be below 0 Hz"},
        {{"0.01", "0", "0.0", "0.00001"}, "Start Frequency and End Frequency are both 0 Hz"},
        {{"0.01", "2000", "70000", "0.00001"},
         "End Frequency must not be above the Nyquist frequency of the Sampling Interval, "
         "1 / (2 x 0.00001 s) = 50000 Hz; it is \"70000\"."},
        {{"0.01", "60000", "2000", "1e-5"}, "Start Frequency must not be above the Nyquist"},
        {{"0.01", "1e300", "1e308", "0.00001"}, "must not be above the Nyquist"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected);
        TempWorkDir dir;
        dir.write("chirp.dat", "earlier sweep\r\n");
        dir.write("KLAUDER.DAT", "earlier wavelet\r\n");
        try {
            ChirpSource(c.texts, dir.workDir());
            ADD_FAILURE() << "not refused";
        } catch (const QuarvelError& error) {
            EXPECT_NE(std::string(error.what()).find(c.expected), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(dir.read("chirp.dat"), "earlier sweep\r\n");
        EXPECT_EQ(dir.read("KLAUDER.DAT"), "earlier wavelet\r\n");
        EXPECT_FALSE(dir.exists("klauder.dat") && !dir.exists("KLAUDER.DAT"));
    }
}

TEST(ChirpSource, ProblemIsTheRefusalMessage) {
    EXPECT_EQ(chirpParameterProblem(ChirpTexts{}), std::nullopt);
    EXPECT_EQ(chirpParameterProblem({"0.01", "2000", "7000", "0"}),
              "Sampling Interval must be above 0; it is \"0\".");
    const ChirpParameters p = checkChirpParameters(ChirpTexts{});
    EXPECT_EQ(p.sampleCount, 1001);
    EXPECT_EQ(p.start, 2000);
}

TEST(ChirpSource, WritesOverAWorkingFileNamedInOtherLetterCase) {
    TempWorkDir dir;
    dir.write("KLAUDER.DAT", "earlier wavelet\r\n");
    ChirpSource(ChirpTexts{}, dir.workDir());
    EXPECT_EQ(splitLines(dir.read("KLAUDER.DAT")).size(), 197U);
    EXPECT_FALSE(std::filesystem::exists(dir.file("klauder.dat")) &&
                 !std::filesystem::equivalent(dir.file("klauder.dat"), dir.file("KLAUDER.DAT")));
}

TEST(CrossCorrelate, EqualsTheDirectSumBitForBit) {
    struct Case {
        int a, b, m;
    };
    const Case cases[] = {{1, 1, 1},          {5, 5, 9},          {40, 40, 79},
                          {40, 25, 60},       {25, 40, 49},       {3, 3, 0},
                          {1100, 1100, 2199}, {2000, 1500, 2000}, {3200, 3200, 6399}};
    std::mt19937 gen(7);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    auto x = std::make_unique<Series>();
    auto y = std::make_unique<Series>();
    for (int i = 1; i <= 3200; ++i) {
        (*x)[i] = dist(gen);
        (*y)[i] = dist(gen);
    }
    // The last is large enough to be shared between two threads.
    static_assert(3200LL * 3201 / 2 > kernels::ThreadingThreshold);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << c.a << ", " << c.b << ", " << c.m);
        std::vector<double> expected(static_cast<std::size_t>(c.m) + 1, 0.0);
        for (int i = 1; i <= c.m; ++i) {
            for (int j = 1; j <= std::min(c.b, c.a - i + 1); ++j) {
                expected[static_cast<std::size_t>(i)] += (*x)[j] * (*y)[i + j - 1];
            }
        }
        for (const int variant : {1, 2, 3}) {
            const int threads = variant == 1 ? 1 : 2;
            const kernels::KernelOptions options{threads, variant != 3};
            auto out = std::make_unique<Series>();
            for (int i = 1; i <= c.m; ++i) {
                (*out)[i] = 99.0;
            }
            CrossCorrelate(c.a, c.b, c.m, *x, *y, *out, options);
            int mismatches = 0;
            for (int i = 1; i <= c.m; ++i) {
                mismatches += (*out)[i] != expected[static_cast<std::size_t>(i)];
            }
            EXPECT_EQ(mismatches, 0) << threads << " thread(s), AVX2 " << (variant != 3);
        }
    }
}

TEST(CalcTime, ColumnToSecondsFromTheCentre) {
    struct Case {
        int x;
        int width;
        const char* widthText;
        const char* shown;
    };
    const Case cases[] = {{0, 375, "0.01", "-0.00499"},  {187, 375, "0.01", "0.00000"},
                          {375, 375, "0.01", "0.00501"}, {100, 200, "1", "0.00000"},
                          {150, 200, "1", "0.25000"},    {-10, 375, "0.01", "-0.00525"}};
    for (const Case& c : cases) {
        EXPECT_EQ(numbers::formatF5(CALC_TIME(c.x, c.width, c.widthText)), c.shown)
            << c.x << " of " << c.width;
    }
}

} // namespace
} // namespace quarvel
