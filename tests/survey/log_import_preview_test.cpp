// The import's preview follows the choices: the log they make, the rules on
// offer with what each removes, and the rules matched to recorded ones.
#include "survey/log_import_preview.h"

#include <gtest/gtest.h>

namespace quarvel::testing {
namespace {

ColumnTable coreTable() {
    ColumnTable table;
    table.columns = {{"DEPTH", "cm"}, {"VP", "m/s"}, {"DEN", "g/cc"}, {"PWAMP", ""}};
    table.rows = {{10, 1500, 1.5, 100},
                  {20, 1510, 1.6, 100},
                  {30, 900, 1.7, 5},
                  {40, 1520, 1.8, 100},
                  {50, 1530, 1.9, 100}};
    return table;
}

TEST(LogImportPreview, FollowsTheColumnsUnitsAndRulesChosen) {
    const ColumnTable table = coreTable();
    struct Case {
        const char* name;
        bool metres; // depths read as metres, not as the cm the file gives
        CleaningChoice cleaning;
        double velocity; // at 30 cm, after the rules and the filling of single gaps
        int byAmplitude;
        int byRange;
    };
    const Case cases[] = {
        {"every velocity kept", false, {}, 900, 0, 0},
        {"depth in metres, 1300 to 3000 m/s", true, {std::nullopt, 1}, 1515, 0, 1},
        {"10 % of the largest amplitude, then the range", false, {1, 1}, 1515, 1, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ColumnChoice choice = proposeColumns(table);
        if (c.metres) {
            choice.depthUnit = knownUnits(LogRole::Depth).front();
        }
        const ImportPreview preview = previewImport(table, choice, c.cleaning, 2);
        EXPECT_EQ(preview.firstRows.size(), 2U);
        EXPECT_EQ(preview.series.depths[4], c.metres ? 50 : 0.5);
        EXPECT_EQ(preview.series.velocities,
                  (std::vector<double>{1500, 1510, c.velocity, 1520, 1530}));
        EXPECT_EQ(preview.counts.cleaned.byAmplitude, c.byAmplitude);
        EXPECT_EQ(preview.counts.cleaned.byRange, c.byRange);
        EXPECT_EQ(preview.counts.records, 5);
        // What each rule on offer removes: the amplitude rules alone, the
        // ranges after the amplitude rule chosen.
        ASSERT_EQ(preview.amplitudeOptions.size(), 4U);
        EXPECT_EQ(preview.amplitudeOptions[1].threshold, 10);
        EXPECT_EQ(preview.amplitudeOptions[1].removes, 1);
        ASSERT_EQ(preview.rangeOptions.size(), 5U);
        EXPECT_TRUE(preview.rangeOptions[0].fromLog);
        EXPECT_EQ(preview.rangeOptions[1].low, 1300);
        EXPECT_EQ(preview.rangeOptions[1].removes, c.cleaning.amplitude ? 0 : 1);
    }
}

TEST(LogImportPreview, RecordedRulesAreMatchedToThoseOnOfferElseTheProposal) {
    const ColumnTable table = coreTable();
    const ColumnChoice choice = proposeColumns(table);
    const CleaningChoice proposed{1, 0};
    EXPECT_EQ(cleaningChoiceFor(table, choice, std::nullopt), proposed);
    EXPECT_EQ(cleaningChoiceFor(table, choice, CleaningRules{25.0, 1400.0, 2000.0}),
              (CleaningChoice{2, 2}));
    EXPECT_EQ(cleaningChoiceFor(table, choice, CleaningRules{}), CleaningChoice{});
    EXPECT_EQ(cleaningChoiceFor(table, choice, CleaningRules{7.0, 1.0, 2.0}), proposed);
}

} // namespace
} // namespace quarvel::testing
