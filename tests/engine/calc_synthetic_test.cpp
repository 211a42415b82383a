#include "chirp/chirp_source.h"
#include "engine/calc_synthetic.h"
#include "engine/engine_inputs.h"
#include "engine/math_fun.h"
#include "engine/series_kernels.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "support/temp_work_dir.h"

#include <cmath>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace quarvel::MathFun {
namespace {

using testing::TempWorkDir;

const char* const TwoRowLog = "0.5 1600 1.7\r\n1.0 1650 1.8\r\n";

std::string lineOf(double time, double value) {
    return numbers::formatE23(time) + " " + numbers::formatE23(value);
}

// A log of rows 10 cm apart at about 1600 m/s: 10 m of core gives K near
// 1250, the default size.
std::string logOf(double metres) {
    TextBuilder log;
    for (int i = 1; i <= static_cast<int>(metres * 10); ++i) {
        const double depth = 0.1 * i;
        log.line(numbers::formatF3(depth) + " " +
                 numbers::formatF3(1600 + 40 * std::sin(depth * 3)) + " " +
                 numbers::formatF3(1.7 + 0.1 * std::cos(depth * 5)));
    }
    return log.text();
}

SyntheticCounts calc(const TempWorkDir& dir, std::string_view start, std::string_view end,
                     std::string_view interval, const kernels::KernelOptions& options = {}) {
    Engine engine;
    return CalcSynthetic(engine, dir.workDir(), start, end, interval, options);
}

SyntheticCounts runDefault(const TempWorkDir& dir, const kernels::KernelOptions& options = {}) {
    return calc(dir, "2000", "7000", "0.00001", options);
}

std::vector<std::string> outputs(const TempWorkDir& dir) {
    std::vector<std::string> texts;
    for (const std::string_view name : SyntheticFileNames) {
        texts.push_back(dir.read(name));
    }
    return texts;
}

TEST(CalcSynthetic, TwoRowLogWithTheDefaultWavelet) {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    dir.write("log.dat", TwoRowLog);
    const SyntheticCounts c = runDefault(dir);
    EXPECT_EQ(c.logRows, 2);
    EXPECT_EQ(c.gridCount, 124);
    EXPECT_EQ(c.waveletCount, 198);
    EXPECT_EQ(c.correlatedCount, c.gridCount + 197);
    EXPECT_EQ(c.deconvolvedCount, c.gridCount + 246);
    EXPECT_TRUE(c.lowPassCount == c.deconvolvedCount || c.lowPassCount == c.deconvolvedCount - 1);
    EXPECT_EQ(c.syntheticCount, c.deconvolvedCount + c.lowPassCount - 1);

    // The first grid samples lie above the first row: the first segment's
    // straight line extended, and sea water above the first sample.
    const double dt = 0.00001;
    const double t1 = 2 * (0.5 / 1600);
    const double t2 = t1 + 2 * ((1.0 - 0.5) / 1650);
    const auto at = [&](double y1, double y2, double t) {
        return y1 + (t - t1) * (y2 - y1) / (t2 - t1);
    };
    const auto impedance = [&](double t) { return at(1700, 1800, t) * at(1600, 1650, t); };
    const double r1 = (impedance(dt / 2) - WaterImpedance) / (impedance(dt / 2) + WaterImpedance);
    const double r2 = (impedance(dt + dt / 2) - impedance(dt - dt / 2)) /
                      (impedance(dt + dt / 2) + impedance(dt - dt / 2));
    const std::vector<std::string> refl = splitLines(dir.read("refl.dat"));
    ASSERT_EQ(refl.size(), 124U);
    EXPECT_EQ(refl[0], " 0.00000000000000E+0000  1.00000000000000E+0000");
    EXPECT_EQ(refl[1], lineOf(dt, r2 / r1));
    EXPECT_EQ(refl[123].substr(0, 23), " 1.23000000000000E-0003");

    // Each stage starts at its strongest sample, at time 0, and steps by dt
    // below the last grid time.
    for (const std::string_view name : {"corr.dat", "deconv.dat", "amplnofilt.dat", "ampl.dat"}) {
        const std::string text = dir.read(name);
        const std::vector<std::string> lines = splitLines(text);
        ASSERT_FALSE(lines.empty()) << name;
        EXPECT_LE(lines.size(), 124U) << name;
        EXPECT_EQ(text.size(), lines.size() * 49) << name << ": 23 + 1 + 23 + CR LF per line";
        const std::string first = lines[0].substr(24);
        EXPECT_TRUE(first == " 1.00000000000000E+0000" || first == "-1.00000000000000E+0000")
            << name;
        for (std::size_t h = 0; h < lines.size(); ++h) {
            ASSERT_EQ(lines[h].substr(0, 23), numbers::formatE23(static_cast<double>(h) * dt))
                << name << " line " << h + 1;
        }
    }
}

TEST(CalcSynthetic, RunsAreIdenticalAtAnyThreadCountAndVectorWidth) {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    dir.write("log.dat", logOf(25));
    const SyntheticCounts c = runDefault(dir, {2, true});
    // Large enough for the low-pass convolution to use both threads.
    EXPECT_GT(static_cast<long long>(c.deconvolvedCount) * c.lowPassCount,
              kernels::ThreadingThreshold);
    const std::vector<std::string> first = outputs(dir);
    runDefault(dir, {2, true});
    EXPECT_EQ(outputs(dir), first);
    runDefault(dir, {1, true});
    EXPECT_EQ(outputs(dir), first);
    runDefault(dir, {2, false});
    EXPECT_EQ(outputs(dir), first) << "SSE2 alone";
}

// A wavelet made before its sweep was recorded beside it is taken as it is.
TEST(CalcSynthetic, NewFrequenciesWithoutANewWaveletChangeOnlyTheSynthetic) {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    std::filesystem::remove(dir.file("klauder.sig"));
    dir.write("log.dat", logOf(10));
    runDefault(dir);
    const std::vector<std::string> before = outputs(dir);
    calc(dir, "1000", "5000", "0.00001");
    const std::vector<std::string> after = outputs(dir);
    for (std::size_t i = 0; i + 1 < before.size(); ++i) {
        EXPECT_EQ(after[i], before[i]) << SyntheticFileNames[i];
    }
    EXPECT_NE(after.back(), before.back());
}

TEST(CalcSynthetic, LastLineBreakMissingReadsTheSame) {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    dir.write("log.dat", TwoRowLog);
    runDefault(dir);
    const std::vector<std::string> withBreaks = outputs(dir);
    std::string klauder = dir.read("klauder.dat");
    dir.write("klauder.dat", klauder.substr(0, klauder.size() - 2));
    dir.write("log.dat", "0.5 1600 1.7\r\n1.0 1650 1.8");
    runDefault(dir);
    EXPECT_EQ(outputs(dir), withBreaks);
    // Blank lines after the last row are no row.
    dir.write("log.dat", "0.5\t1600 1.7\n1.0 1650 1.8\r\n\r\n \r\n\n");
    runDefault(dir);
    EXPECT_EQ(outputs(dir), withBreaks);
}

TEST(CalcSynthetic, LogMatchingSeaWaterWritesZeros) {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    dir.write("log.dat", "0.5 1500 1.025\r\n1.0 1500 1.025\r\n");
    runDefault(dir);
    const std::vector<std::string> refl = splitLines(dir.read("refl.dat"));
    ASSERT_EQ(refl.size(), 134U);
    EXPECT_EQ(refl[5], lineOf(0.00005, 0));
    const std::vector<std::string> ampl = splitLines(dir.read("ampl.dat"));
    ASSERT_FALSE(ampl.empty());
    EXPECT_EQ(ampl[0], lineOf(0, 0));
}

const char* const DefaultWavelet = "default";

struct Refusal {
    const char* name;
    const char* log;     // nullptr: no log.dat
    const char* klauder; // nullptr: no klauder.dat; DefaultWavelet: the chirp source's
    const char* interval;
    const char* start;
    const char* end;
    const char* expected; // part of the message
};

// A wavelet of `lines` lines whose lag times step by `interval`.
std::string waveletAt(double interval, int lines) {
    TextBuilder text;
    for (int i = 1; i <= lines; ++i) {
        text.line(lineOf(i * interval, 1.0 / i));
    }
    return text.text();
}

TEST(CalcSynthetic, RefusesBeforeWritingAnything) {
    const std::string fineWavelet = waveletAt(0.0000000386, 197);
    const std::string finestWavelet = waveletAt(1e-12, 3);
    const Refusal cases[] = {
        {"log missing", nullptr, DefaultWavelet, "0.00001", "2000", "7000", "is missing"},
        {"one row", "0.5 1600 1.7\r\n", DefaultWavelet, "0.00001", "2000", "7000",
         "at least two rows"},
        {"empty log", "", DefaultWavelet, "0.00001", "2000", "7000", "at least two rows"},
        {"equal depths", "0.5 1600 1.7\r\n0.5 1650 1.8\r\n", DefaultWavelet, "0.00001", "2000",
         "7000", "row 2 is not deeper than row 1"},
        {"depth that reads as the same number", "0.5 1600 1.7\r\n0.50000000000000001 1650 1.8\r\n",
         DefaultWavelet, "0.00001", "2000", "7000", "not deeper"},
        // Deeper by one step of the number format, but not in two-way time.
        {"rows at the same two-way time",
         "1000000000 1600 1.7\r\n1000000000.0000001 1000000 1.8\r\n", DefaultWavelet, "0.00001",
         "2000", "7000", "Rows 1 and 2 of log.dat lie at the same two-way time"},
        {"densities of 0", "0.5 1600 0\r\n1.0 1650 0\r\n", DefaultWavelet, "0.00001", "2000",
         "7000", "Row 1 of"},
        {"last density missing", "0.5 1600 1.7\r\n1.0 1650 0\r\n", DefaultWavelet, "0.00001",
         "2000", "7000", "Row 2 of"},
        {"first depth above the core top", "-0.5 1600 1.7\r\n1.0 1650 1.8\r\n", DefaultWavelet,
         "0.00001", "2000", "7000", "log.dat\" is -0.5 m, above the core top"},
        {"negative density", "0.5 1600 -1.7\r\n1.0 1650 1.8\r\n", DefaultWavelet, "0.00001", "2000",
         "7000", "has a density that is not above 0"},
        {"decimal comma in the log", "0.5 1,873 1.7\r\n1.0 1650 1.8\r\n", DefaultWavelet, "0.00001",
         "2000", "7000", "log.dat\": \"1,873\" is not a number."},
        {"nan in the wavelet", TwoRowLog, "1E-5 1\r\n2E-5 nan\r\n", "0.00001", "2000", "7000",
         "Line 2 of"},
        {"four columns", "0.5 1600 1.7 0\r\n1.0 1650 1.8 0\r\n", DefaultWavelet, "0.00001", "2000",
         "7000", "Line 1 of"},
        {"blank line inside the log", "0.5 1600 1.7\r\n\r\n1.0 1650 1.8\r\n", DefaultWavelet,
         "0.00001", "2000", "7000", "Line 2 of"},
        {"wavelet line of three numbers", TwoRowLog, "1E-5 1 0\r\n", "0.00001", "2000", "7000",
         "holds 3 fields; every line holds exactly 2 numbers (lag time, amplitude)."},
        {"wavelet made at twice the interval", TwoRowLog, DefaultWavelet, "0.000005", "2000",
         "7000",
         "klauder.dat was made with a sampling interval of 0.00001 s, but the chirp window says "
         "0.000005 s: press GO to make the wavelet again."},
        {"wavelet of another sweep", TwoRowLog, DefaultWavelet, "0.00001", "1000", "7000",
         "klauder.dat was made for a sweep from 2000 to 7000 Hz, but the chirp window says 1000 "
         "to 7000 Hz: press GO to make the wavelet again."},
        {"one-line wavelet at another interval", TwoRowLog, "0.00002 1\r\n", " 0.00001 ", "2000",
         "7000", "interval of 0.00002 s, but the chirp window says 0.00001 s"},
        {"end frequency above Nyquist", TwoRowLog, DefaultWavelet, "0.00001", "2000", "50001",
         "End Frequency must not be above the Nyquist frequency"},
        {"negative start frequency", TwoRowLog, DefaultWavelet, "0.00001", "-2000", "7000",
         "Start Frequency must not be below 0 Hz"},
        {"both frequencies 0", TwoRowLog, DefaultWavelet, "0.00001", "0", "0", "both 0 Hz"},
        {"interval longer than the core", TwoRowLog, "0.01 1\r\n", "0.01", "10", "40",
         "Sampling Interval must be below the two-way time of the log's last row, "
         "0.00123106061 s; it is 0.01 s."},
        {"zero velocity", "0.5 1600 1.7\r\n1.0 0 1.8\r\n", DefaultWavelet, "0.00001", "2000",
         "7000", "Row 2 of"},
        {"short last row", "0.5 1600 1.7\r\n1.0 1650\r\n", DefaultWavelet, "0.00001", "2000",
         "7000", "Line 2 of"},
        {"huge number", "0.5 1e999 1.7\r\n1.0 1650 1.8\r\n", DefaultWavelet, "0.00001", "2000",
         "7000", "out of range"},
        {"binary log", "\x01\x02\xff\xfe\x7f", DefaultWavelet, "0.00001", "2000", "7000",
         "holds 1 field;"},
        {"wavelet missing", TwoRowLog, nullptr, "0.00001", "2000", "7000", "Press GO"},
        {"wavelet empty", TwoRowLog, "", "0.00001", "2000", "7000", "Press GO"},
        {"wavelet of blank lines", TwoRowLog, "\r\n \r\n", "0.00001", "2000", "7000", "Press GO"},
        {"first wavelet sample -0.1", TwoRowLog, "1E-5 -0.1\r\n2E-5 1\r\n", "0.00001", "2000",
         "7000", "-0.1"},
        {"interval 0", TwoRowLog, DefaultWavelet, "0", "2000", "7000",
         "Sampling Interval must be above 0"},
        {"negative interval", TwoRowLog, DefaultWavelet, "-0.00001", "2000", "7000",
         "Sampling Interval must be above 0"},
        {"decimal comma", TwoRowLog, DefaultWavelet, "0,00001", "2000", "7000",
         "Sampling Interval: \"0,00001\" is not a number"},
        {"start not a number", TwoRowLog, DefaultWavelet, "0.00001", "2 kHz", "7000",
         "Start Frequency: \"2 kHz\" is not a number"},
        {"end empty", TwoRowLog, DefaultWavelet, "0.00001", "2000", "",
         "End Frequency: \"\" is not a number"},
        {"2 N_D - 1 over the capacity", TwoRowLog, fineWavelet.c_str(), "0.0000000386", "2000",
         "7000", "series hold 64000"},
        {"grid over the capacity", TwoRowLog, finestWavelet.c_str(), "1e-12", "2000", "7000",
         "more than 64000 samples"},
    };
    for (const Refusal& c : cases) {
        SCOPED_TRACE(c.name);
        TempWorkDir dir;
        if (c.klauder == DefaultWavelet) {
            ChirpSource(ChirpTexts{}, dir.workDir());
        } else if (c.klauder != nullptr) {
            dir.write("klauder.dat", c.klauder);
        }
        if (c.log != nullptr) {
            dir.write("log.dat", c.log);
        }
        for (const std::string_view name : SyntheticFileNames) {
            dir.write(name, "earlier run\r\n");
        }
        try {
            calc(dir, c.start, c.end, c.interval);
            ADD_FAILURE() << "not refused";
        } catch (const QuarvelError& error) {
            EXPECT_NE(std::string(error.what()).find(c.expected), std::string::npos)
                << error.what();
        }
        for (const std::string_view name : SyntheticFileNames) {
            EXPECT_EQ(dir.read(name), "earlier run\r\n") << name;
        }
        EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}),
                  static_cast<long>(SyntheticFileNames.size() + (c.log != nullptr) +
                                    (c.klauder != nullptr) + 2 * (c.klauder == DefaultWavelet)))
            << "no temporary file is left behind";
    }
}

TEST(CalcSynthetic, FileThatCannotBeCreatedIsReportedAndNothingChanges) {
    TempWorkDir dir;
    ChirpSource(ChirpTexts{}, dir.workDir());
    dir.write("log.dat", TwoRowLog);
    for (const std::string_view name : {"refl.dat", "corr.dat", "deconv.dat", "amplnofilt.dat"}) {
        dir.write(name, "earlier run\r\n");
    }
    std::filesystem::create_directory(dir.file("AMPL.DAT"));
    try {
        runDefault(dir);
        ADD_FAILURE() << "not reported";
    } catch (const QuarvelError& error) {
        EXPECT_EQ(std::string(error.what())
                      .rfind("Cannot create file \"" + dir.file("AMPL.DAT").string() + "\".", 0),
                  0U)
            << error.what();
    }
    for (const std::string_view name : {"refl.dat", "corr.dat", "deconv.dat", "amplnofilt.dat"}) {
        EXPECT_EQ(dir.read(name), "earlier run\r\n") << name;
    }
}

// A log given with the run becomes log.dat together with the five files, or
// nothing changes: log.dat never describes another run than the stage files.
TEST(CalcSynthetic, ANewLogIsPlacedWithTheFiveFilesOrNotAtAll) {
    // Refused: a wavelet and an interval longer than the new log's span.
    for (const bool refused : {false, true}) {
        SCOPED_TRACE(refused ? "refused" : "accepted");
        TempWorkDir dir;
        if (refused) {
            dir.write("klauder.dat", "0.01 1\r\n");
        } else {
            ChirpSource(ChirpTexts{}, dir.workDir());
        }
        dir.write("log.dat", "old log\r\n");
        dir.write("ampl.dat", "earlier run\r\n");
        Engine engine;
        try {
            CalcSynthetic(engine, dir.workDir(), refused ? "10" : "2000", refused ? "40" : "7000",
                          refused ? "0.01" : "0.00001", {}, TimeZero::Strongest, TwoRowLog);
            EXPECT_FALSE(refused);
        } catch (const QuarvelError& error) {
            EXPECT_TRUE(refused) << error.what();
        }
        EXPECT_EQ(dir.read("log.dat"), refused ? "old log\r\n" : TwoRowLog);
        EXPECT_EQ(dir.read("ampl.dat") == "earlier run\r\n", refused);
    }
}

} // namespace
} // namespace quarvel::MathFun
