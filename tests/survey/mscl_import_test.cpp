#include "editor/interpolation.h"
#include "formats/quarvel_error.h"
#include "survey/log_import.h"
#include "survey/mscl_reader.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

// A Geotek table as the logger exports it: a title, the column names, their
// units, then one row per measurement. Row 3 has a weak P-wave signal, row 4
// a velocity spike, row 6 no density reading.
const std::string Mscl = "Geotek MSCL-S\tCore GC-12\r\n"
                         "SECT NUM\tSECT DEPTH\tSB DEPTH\tPWAmp\tPWVel\tDen1\r\n"
                         "\tcm\tcm\t\tm/s\tgm/cc\r\n"
                         "1\t1\t1\t80\t1500\t1.60\r\n"
                         "1\t2\t2\t5\t1490\t1.62\r\n"
                         "1\t3\t3\t78\t9000\t1.64\r\n"
                         "1\t4\t4\t82\t1600\t1.66\r\n"
                         "2\t0\t5\t81\t1610\t\r\n"
                         "\r\n"
                         "End of data\r\n";

const CleaningRules Rules{20.0, 1300.0, 3000.0};

TEST(MsclImport, ProposesSubBottomDepthVelocityDensityAndAmplitude) {
    const MsclTable mscl = readMscl(Mscl, "core.txt");
    const ColumnChoice choice = proposeColumns(mscl.table);
    EXPECT_EQ(choice.depth, 2);
    EXPECT_EQ(choice.amplitude, 3);
    EXPECT_EQ(choice.velocity, 4);
    EXPECT_EQ(choice.density, 5);
    EXPECT_EQ(mscl.table.columns[2].unit, "cm");
    EXPECT_EQ(mscl.rowsLeftOut, 1);
    EXPECT_EQ(mscl.table.rows.size(), 5U);
}

TEST(ColumnProposal, UsualNamesWhateverTheirCase) {
    struct Case {
        std::vector<std::string> names;
        ColumnChoice expected;
    };
    const std::vector<Case> cases = {
        {{"SECT NUM", "SECT DEPTH", "PWVel"}, {1, 2, NoColumn, NoColumn}},
        {{"Depth (mbsf)", "Vp", "rhob"}, {0, 1, 2, NoColumn}},
        {{"GR", "DEPT", "P-Wave Velocity", "Bulk Density", "PW Amplitude"}, {1, 2, 3, 4}},
        {{"TIME", "AMP"}, {0, NoColumn, NoColumn, 1}},
    };
    for (const Case& c : cases) {
        ColumnTable table;
        for (const std::string& name : c.names) {
            table.columns.push_back({name, ""});
        }
        const ColumnChoice choice = proposeColumns(table);
        SCOPED_TRACE(c.names.front());
        EXPECT_EQ(choice.depth, c.expected.depth);
        EXPECT_EQ(choice.velocity, c.expected.velocity);
        EXPECT_EQ(choice.density, c.expected.density);
        EXPECT_EQ(choice.amplitude, c.expected.amplitude);
    }
}

// The run of two cleaned velocities is left to Interpolate Series; the
// density missing at the end is the last good one.
TEST(MsclImport, BadRowsBecomeZeroAndInterpolateSeriesFillsThem) {
    const MsclTable mscl = readMscl(Mscl, "core.txt");
    const ConvertedLog log = convertLog(mscl.table, proposeColumns(mscl.table), Rules);
    EXPECT_EQ(log.text, "0.010000 1500.000000 1.600000\r\n"
                        "0.020000 0.000000 1.620000\r\n"
                        "0.030000 0.000000 1.640000\r\n"
                        "0.040000 1600.000000 1.660000\r\n"
                        "0.050000 1610.000000 1.660000\r\n");
    EXPECT_EQ(log.cleaned.byAmplitude, 1);
    EXPECT_EQ(log.cleaned.byRange, 1);
    EXPECT_EQ(log.missingValues, 1);
    EXPECT_EQ(log.filled.atEnds, 1);
    EXPECT_EQ(log.stillMissing, 2);
    EXPECT_EQ(interpolateLogText(log.text), "0.010 1500.000 1.600\r\n"
                                            "0.020 1533.333 1.620\r\n"
                                            "0.030 1566.667 1.640\r\n"
                                            "0.040 1600.000 1.660\r\n"
                                            "0.050 1610.000 1.660\r\n");
}

TEST(MsclImport, EachRuleCanBeChangedOrLeftOut) {
    struct Case {
        const char* name;
        CleaningRules rules;
        int cleaned;
    };
    const std::vector<Case> cases = {
        {"no rules", {}, 0},
        {"amplitude only", {20.0, {}, {}}, 1},
        {"a lower amplitude threshold", {4.0, {}, {}}, 0},
        {"velocity range only", {{}, 1495.0, 2000.0}, 2},
        {"both", Rules, 2},
    };
    const MsclTable mscl = readMscl(Mscl, "core.txt");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const RuleCounts counts =
            convertLog(mscl.table, proposeColumns(mscl.table), c.rules).cleaned;
        EXPECT_EQ(counts.byAmplitude + counts.byRange, c.cleaned);
    }
}

TEST(MsclImport, CommaSeparatedWithoutUnitsAndChosenColumns) {
    const std::string csv = "DEPTH,VP,DEN,NOTE\r\n0.5,1500,1.7,ok\r\n,1510,1.8,\r\n0.7,,1.9,x\r\n";
    const MsclTable mscl = readMscl(csv, "core.csv");
    EXPECT_EQ(mscl.cellsNotNumbers, 2);
    ColumnChoice choice = proposeColumns(mscl.table);
    choice.density = NoColumn;
    const ConvertedLog log = convertLog(mscl.table, choice, {});
    EXPECT_EQ(log.text, "0.500000 1500.000000 0.000000\r\n0.700000 1500.000000 0.000000\r\n");
    EXPECT_EQ(log.rowsWithoutDepth, 1);
    EXPECT_EQ(log.notes.size(), 1U); // the depth column gives no unit
    const std::string summary = importSummary(log, {}, "core.csv");
    EXPECT_NE(summary.find("1 values were missing. The import filled 1 missing values at the "
                           "ends"),
              std::string::npos)
        << summary;
    EXPECT_NE(summary.find("1 rows without a depth were left out."), std::string::npos);
    EXPECT_NE(summary.find("taken as metres"), std::string::npos);
}

TEST(MsclImport, UnknownUnitsAreNotedAndKept) {
    const std::string text = "DEPTH\tVP\r\nfurlong\tm/s\r\n2\t1500\r\n";
    const MsclTable mscl = readMscl(text, "odd.txt");
    const ConvertedLog log = convertLog(mscl.table, proposeColumns(mscl.table), {});
    EXPECT_EQ(log.text, "2.000000 1500.000000 0.000000\r\n");
    ASSERT_EQ(log.notes.size(), 1U);
    EXPECT_NE(log.notes[0].find("\"furlong\""), std::string::npos);
    EXPECT_EQ(importSummary(log, {}, "x"), "\"x\": " + log.notes[0]);
}

// A name and a unit field that disagree give no proposal: the import asks
// (quarvel-synth wants the unit option), and the answer taken is said.
TEST(MsclImport, UnitsOfNameAndFieldThatDisagreeAreNotProposed) {
    const struct {
        const char* text;
        std::string note; // empty: none
    } cases[] = {
        {"SB_DEPTH_cm\tVP\r\nft\tm/s\r\n2\t1500\r\n",
         "The column \"SB_DEPTH_cm\" says cm in its name but ft in its unit field; its values "
         "were taken in the unit written: check that this is right."},
        {"SB_DEPTH_cm\tVP\r\ncm\tm/s\r\n2\t1500\r\n", ""},
        {"Vp (km/s)\tDEPTH\r\nm/s\tm\r\n1500\t2\r\n",
         "The column \"Vp (km/s)\" says km/s in its name but m/s in its unit field; its values "
         "were taken in the unit written: check that this is right."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const MsclTable mscl = readMscl(c.text, "core.txt");
        const ConvertedLog log = convertLog(mscl.table, proposeColumns(mscl.table), {});
        EXPECT_EQ(log.notes,
                  c.note.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.note});
    }
}

TEST(MsclImport, ValuesBeyondTheRangeOfNumbersAreMissing) {
    const std::string text = "DEPTH\tVP\tDEN\r\nm\tkm/s\tg/cc\r\n1\t1e308\t1e999\r\n";
    const MsclTable mscl = readMscl(text, "big.txt");
    EXPECT_EQ(mscl.cellsNotNumbers, 1);
    const ConvertedLog log = convertLog(mscl.table, proposeColumns(mscl.table), {});
    EXPECT_EQ(log.text, "1.000000 0.000000 0.000000\r\n");
    EXPECT_EQ(log.missingValues, 2);
}

TEST(MsclImport, MalformedTablesAreRefused) {
    struct Case {
        const char* name;
        std::string text;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"names over names", "A\tB\r\nC\tD\r\n", "with a row of column names"},
        {"no rows of values", "SB DEPTH\tPWVel\r\ncm\tm/s\r\nnone\tyet\r\n", "no row of values"},
        {"not a table", "just words\r\n", "with a row of column names"},
        {"empty", "", "with a row of column names"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readMscl(c.text, "bad.txt");
            ADD_FAILURE() << "read";
        } catch (const QuarvelError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("Cannot read the MSCL file \"bad.txt\""), std::string::npos);
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
    ColumnTable table;
    EXPECT_THROW(convertLog(table, {}, {}), QuarvelError);
}

} // namespace
} // namespace quarvel
