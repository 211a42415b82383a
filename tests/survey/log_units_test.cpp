#include "survey/log_cleaning.h"
#include "survey/log_import.h"
#include "survey/log_units.h"
#include "survey/mscl_reader.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

TEST(LogUnits, ReadFromTheUnitFieldOrTheColumnName) {
    struct Case {
        std::string name;
        std::string unit;
        LogRole role;
        std::string expected; // "" for none
    };
    const std::vector<Case> cases = {
        {"SB_DEPTH_cm", "", LogRole::Depth, "cm"},
        {"Depth (cm)", "", LogRole::Depth, "cm"},
        {"Depth [mm]", "", LogRole::Depth, "mm"},
        {"Depth m", "", LogRole::Depth, "m"},
        {"DEPT", "FEET", LogRole::Depth, "ft"},
        {"DEPT", "Foot", LogRole::Depth, "ft"},
        {"DEPT", "F", LogRole::Depth, "ft"},
        {"DEPT", "metres", LogRole::Depth, "m"},
        {"DEPT", "METER", LogRole::Depth, "m"},
        {"SB DEPTH", "", LogRole::Depth, ""},
        {"SB_DEPTH_cm", "furlong", LogRole::Depth, "cm"},
        {"SB_DEPTH_cm", "ft", LogRole::Depth, ""},
        {"Vp (km/s)", "m/s", LogRole::Velocity, ""},
        {"PWVel_m/s", "", LogRole::Velocity, "m/s"},
        {"Vp km/s", "", LogRole::Velocity, "km/s"},
        {"DT", "US/F", LogRole::Velocity, "us/ft"},
        {"DT", "uS/m", LogRole::Velocity, "us/m"},
        {"Den_gm/cc", "", LogRole::Density, "g/cm3"},
        {"RHOB", "g/cm3", LogRole::Density, "g/cm3"},
        {"Rho [kg/m3]", "", LogRole::Density, "kg/m3"},
        {"Den1", "", LogRole::Density, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name + " / " + c.unit);
        const auto unit = statedUnit(c.role, {c.name, c.unit});
        EXPECT_EQ(unit ? unit->name : "", c.expected);
    }
    EXPECT_EQ(columnStem("PWVel_m/s"), "PWVel");
    EXPECT_EQ(columnStem("Vp (km/s)"), "Vp");
    EXPECT_EQ(columnStem("SB DEPTH"), "SB DEPTH");
}

TEST(LogUnits, ValuesBecomeMetresMetresPerSecondAndGramsPerCubicCentimetre) {
    struct Case {
        LogRole role;
        std::string unit;
        double value;
        double expected; // NaN: no value
    };
    const std::vector<Case> cases = {
        {LogRole::Depth, "FEET", 10, 3.048},         {LogRole::Depth, "cm", 439, 4.39},
        {LogRole::Depth, "mm", 1500, 1.5},           {LogRole::Velocity, "km/s", 1.52, 1520},
        {LogRole::Velocity, "us/ft", 152.4, 2000},   {LogRole::Velocity, "us/m", 500, 2000},
        {LogRole::Velocity, "us/ft", 0, NAN},        {LogRole::Velocity, "us/ft", -999.25, NAN},
        {LogRole::Density, "kg/m3", 1700, 1.7},      {LogRole::Density, "gm/cc", 1.7, 1.7},
        {LogRole::Velocity, "m/s", 1e308 * 10, NAN},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.unit + " " + std::to_string(c.value));
        const auto unit = recogniseUnit(c.role, c.unit);
        ASSERT_TRUE(unit);
        const auto value = toLogUnit(c.value, *unit);
        if (std::isnan(c.expected)) {
            EXPECT_FALSE(value);
        } else {
            ASSERT_TRUE(value);
            EXPECT_NEAR(*value, c.expected, 1e-9);
        }
    }
}

TEST(LogUnits, ProposalReadsUnitsFromNamesAndOffersASonicLog) {
    const MsclTable mscl = readMscl("SB_DEPTH_cm,SECT_NUM_cm,SECT_DEPTH_cm,CORE_THICK_cm,PWAmp,"
                                    "PWVel_m/s,Den_gm/cc,MS,Imp,FP\r\n"
                                    "1,1,1,6.6,85,1070.5,1.55,12,1659,0.67\r\n",
                                    "core.csv");
    const ColumnChoice choice = proposeColumns(mscl.table);
    EXPECT_EQ(choice.depth, 0);
    EXPECT_EQ(choice.velocity, 5);
    EXPECT_EQ(choice.density, 6);
    EXPECT_EQ(choice.amplitude, 4);
    EXPECT_EQ(choice.depthUnit.name, "cm");
    EXPECT_EQ(choice.densityUnit.name, "g/cm3");
    EXPECT_EQ(convertLog(mscl.table, choice, {}).text, "0.010000 1070.500000 1.550000\r\n");

    ColumnTable sonic;
    sonic.columns = {{"DEPT", "M"}, {"GR", "GAPI"}, {"DT", ""}};
    const ColumnChoice sonicChoice = proposeColumns(sonic);
    EXPECT_EQ(sonicChoice.velocity, 2);
    EXPECT_EQ(sonicChoice.density, NoColumn);
    // A transit time without a unit cannot be taken as it stands: it is asked.
    EXPECT_FALSE(proposeUnit(LogRole::Velocity, sonic.columns[2]));
    EXPECT_TRUE(proposeUnit(LogRole::Velocity, {"VP", ""}));
}

VelocityReadings readingsOf(std::vector<double> velocities) {
    VelocityReadings readings;
    readings.amplitudes.assign(velocities.size(), NAN);
    readings.velocities = std::move(velocities);
    return readings;
}

TEST(LogCleaning, ProposedRangeFitsTheCoreAndCatchesSpikes) {
    // An uncalibrated logger: 1065 to 1112 m/s, the whole core kept.
    std::vector<double> core;
    for (int i = 0; i < 438; ++i) {
        core.push_back(1065 + (i * 37) % 48);
    }
    const CleaningRules uncalibrated = proposeCleaningRules(readingsOf(core));
    EXPECT_EQ(countRemoved(readingsOf(core), uncalibrated).byRange, 0);
    EXPECT_LT(*uncalibrated.maxVelocity, 2000);

    // A few spikes far above an ordinary core are caught.
    std::vector<double> spiky(100, 1500);
    for (int i = 0; i < 100; ++i) {
        spiky[static_cast<std::size_t>(i)] += i % 7;
    }
    spiky[10] = spiky[11] = 4200;
    spiky[50] = 300;
    const CleaningRules rules = proposeCleaningRules(readingsOf(spiky));
    EXPECT_EQ(countRemoved(readingsOf(spiky), rules).byRange, 3);

    // Never more than 5 % of the readings, however many the spikes.
    for (int i = 0; i < 8; ++i) {
        spiky[static_cast<std::size_t>(20 + i)] = 4200;
    }
    const VelocityReadings many = readingsOf(spiky);
    EXPECT_LE(countRemoved(many, proposeCleaningRules(many)).byRange, 5);
}

TEST(LogCleaning, AmplitudeRuleComesFirstAndCountsSeparately) {
    VelocityReadings readings = readingsOf({1500, 1510, 9000, 1520});
    readings.amplitudes = {80, 5, 4, NAN};
    readings.hasAmplitude = true;
    const CleaningRules rules{10.0, 1300.0, 3000.0};
    const RuleCounts counts = countRemoved(readings, rules);
    EXPECT_EQ(counts.byAmplitude, 2);
    EXPECT_EQ(counts.byRange, 0);
    EXPECT_EQ(counts.readings, 4);
    EXPECT_DOUBLE_EQ(*proposeCleaningRules(readings).minAmplitude, 8);
}

TEST(LogCleaning, EndsTakeTheNearestReadingAndLoneGapsAreInterpolated) {
    const double m = NAN;
    struct Case {
        const char* name;
        std::vector<double> values;
        std::vector<double> expected;
        int atEnds;
        int single;
    };
    const std::vector<Case> cases = {
        {"ends", {m, m, 3, 4, m}, {3, 3, 3, 4, 4}, 3, 0},
        {"lone gap", {1, m, 3, 4, 5}, {1, 2, 3, 4, 5}, 0, 1},
        {"run of two stays", {1, m, m, 4, 5}, {1, m, m, 4, 5}, 0, 0},
        {"nothing to fill from", {m, m, m, m, m}, {m, m, m, m, m}, 0, 0},
        {"both", {m, 2, m, 4, m}, {2, 2, 3, 4, 4}, 2, 1},
    };
    const std::vector<double> depths{0.1, 0.2, 0.3, 0.4, 0.5};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::vector<double> values = c.values;
        const FilledValues filled = fillEndsAndSingleGaps(depths, values);
        EXPECT_EQ(filled.atEnds, c.atEnds);
        EXPECT_EQ(filled.single, c.single);
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (std::isnan(c.expected[i])) {
                EXPECT_TRUE(std::isnan(values[i])) << i;
            } else {
                EXPECT_NEAR(values[i], c.expected[i], 1e-12) << i;
            }
        }
    }
}

TEST(LogCleaning, SummaryWarnsWhenARuleTakesMostOfAColumn) {
    const MsclTable mscl = readMscl("DEPTH\tVP\tDEN\r\n1\t1070\t1.5\r\n2\t1072\t1.6\r\n"
                                    "3\t1071\t1.7\r\n",
                                    "core.txt");
    const ConvertedLog all =
        convertLog(mscl.table, proposeColumns(mscl.table), CleaningRules{{}, 1300.0, 3000.0});
    const std::string summary = importSummary(all, {}, "core.txt");
    EXPECT_NE(summary.find("the velocity range removed 3 of the 3 velocities, more than half"),
              std::string::npos)
        << summary;
    EXPECT_EQ(summary.find("Interpolate Series"), std::string::npos) << summary;
    const ConvertedLog kept = convertLog(mscl.table, proposeColumns(mscl.table), {});
    EXPECT_NE(importSummary(kept, {}, "core.txt").find("3 velocities are below that of sea water"),
              std::string::npos);
}

// quarvel-synth fills the runs itself right after the import: its summary
// does not send the user to a button that is not there.
TEST(LogCleaning, SummarySaysWhoFillsTheRunsStillMissing) {
    const MsclTable mscl = readMscl("DEPTH\tVP\tDEN\r\n1\t1500\t1.5\r\n2\t\t1.6\r\n"
                                    "3\t\t1.7\r\n4\t1510\t1.8\r\n",
                                    "core.txt");
    const ConvertedLog log = convertLog(mscl.table, proposeColumns(mscl.table), {});
    const std::string summary = importSummary(log, {}, "core.txt", RunsOfMissing::FilledNext);
    EXPECT_NE(summary.find("2 values are still 0 (missing) after the import; runs of them "
                           "between good readings are filled next."),
              std::string::npos)
        << summary;
}

} // namespace
} // namespace quarvel
