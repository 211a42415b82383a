#include "editor/log_grid.h"
#include "editor/log_import.h"
#include "formats/quarvel_error.h"

#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <vector>

using quarvel::LogGrid;

namespace {

quarvel::LoadLogResult load(LogGrid& grid, const std::string& text) {
    return quarvel::LoadLog(grid, text, "core.txt");
}

// Fills rows 1, 2, ... with depth, velocity, density texts.
LogGrid gridWith(const std::vector<std::vector<std::string>>& rows) {
    LogGrid grid;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < rows[r].size(); ++c) {
            grid.setCell(static_cast<int>(r) + 1, static_cast<int>(c), rows[r][c]);
        }
    }
    return grid;
}

std::vector<std::string> row(const LogGrid& grid, int r) {
    return {grid.cell(r, 0), grid.cell(r, 1), grid.cell(r, 2)};
}

std::string saveError(const LogGrid& grid) {
    try {
        quarvel::SaveLog(grid);
    } catch (const quarvel::QuarvelError& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(LoadLog, WritesHeadingsAndF6RowsWithoutAPhantomRowAfterTheLastLineBreak) {
    struct Case {
        const char* name;
        std::string text;
        int records;
    };
    const std::vector<Case> cases = {
        {"final CR LF", "0.1 1500 1.8\r\n0.2 1510.5 1.9\r\n0.3 1520 2\r\n", 3},
        {"no final break", "0.1 1500 1.8\r\n0.2 1510.5 1.9\r\n0.3 1520 2", 3},
        {"trailing blank lines and tabs", "0.1 1500 1.8\n0.2 1510.5 1.9\n0.3 1520 2\n\n \t\r\n", 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        // Rows the user keeps below the gap after the log must stay out of it.
        LogGrid grid = gridWith({{}, {}, {}, {}, {"9", "1900", "2.9"}});
        const auto result = load(grid, c.text);
        EXPECT_EQ(result.records, c.records);
        EXPECT_FALSE(result.truncated);
        EXPECT_EQ(row(grid, 0),
                  (std::vector<std::string>{"Depth(m)", "Pwave-vel (m/sec)", "Density (g/cm3)"}));
        EXPECT_EQ(row(grid, 1), (std::vector<std::string>{"0.100000", "1500.000000", "1.800000"}));
        EXPECT_EQ(row(grid, 2), (std::vector<std::string>{"0.200000", "1510.500000", "1.900000"}));
        EXPECT_EQ(row(grid, 3), (std::vector<std::string>{"0.300000", "1520.000000", "2.000000"}));
        EXPECT_EQ(grid.cell(4, 0), "");
        EXPECT_EQ(grid.cell(5, 0), "9");
        EXPECT_EQ(quarvel::SaveLog(grid), "0.100000 1500.000000 1.800000\r\n"
                                          "0.200000 1510.500000 1.900000\r\n"
                                          "0.300000 1520.000000 2.000000\r\n");
    }
}

TEST(LoadLog, CountsEntriesThatAreNotNumbers) {
    LogGrid grid;
    // A heading line reads as zeros; a decimal comma keeps its integer part.
    const auto result = load(grid, "Depth Vel Dens\r\n1,5 1500 1.7\r\n2 1e999 x\r\n");
    EXPECT_EQ(result.records, 3);
    EXPECT_EQ(result.nonNumericEntries, 6);
    EXPECT_EQ(row(grid, 1), (std::vector<std::string>{"0.000000", "0.000000", "0.000000"}));
    EXPECT_EQ(row(grid, 2), (std::vector<std::string>{"1.000000", "1500.000000", "1.700000"}));
    EXPECT_EQ(row(grid, 3), (std::vector<std::string>{"2.000000", "0.000000", "0.000000"}));
}

TEST(LoadLog, RefusesALineThatDoesNotHoldThreeFieldsAndChangesNothing) {
    const struct {
        const char* text;
        const char* expected;
    } cases[] = {
        {"0.1 1500 1.8\r\n0.2 1510\r\n0.3 1520 2\r\n",
         "Line 2 of \"core.txt\" holds 2 fields; every line holds exactly 3 numbers (depth, "
         "P-wave velocity, density)."},
        {"0.1 1500 1.8\r\n0.2 1510 1.9", ""},
        {"0.1 1500 1.8 7\r\n0.2 1510 1.9 7\r\n", "Line 1 of \"core.txt\" holds 4 fields;"},
        {"0.1 1500 1.8\n0.2 1510 1.9\n0.3 1520", "Line 3 of \"core.txt\" holds 2 fields;"},
        {"0.1 1500 1.8\r\n\r\n0.2 1510 1.9\r\n", "Line 2 of \"core.txt\" is blank;"},
        {"0.1 1500 1.8\r0.2 1510\r", "Line 2 of"},
        {"0.1,1500,1.8\r\n", "Line 1 of \"core.txt\" holds 1 field;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        LogGrid grid = gridWith({{"9", "1900", "2.9"}});
        if (*c.expected == '\0') {
            EXPECT_EQ(load(grid, c.text).records, 2);
            continue;
        }
        try {
            load(grid, c.text);
            ADD_FAILURE() << "not refused";
        } catch (const quarvel::QuarvelError& error) {
            EXPECT_EQ(std::string(error.what()).rfind(c.expected, 0), 0U) << error.what();
        }
        EXPECT_EQ(row(grid, 1), (std::vector<std::string>{"9", "1900", "2.9"}));
        EXPECT_EQ(grid.cell(0, 0), "");
    }
}

TEST(LoadLog, CountsTheRowsLogDatLeavesOutByReason) {
    LogGrid grid;
    const auto result = load(grid, "-0 1500 1.8\r\n0.2 1510 1.9\r\n0.2 1511 1.9\r\n"
                                   "0.1 1512 1.9\r\n0.3 1520 2\r\n0.3 1521 2\r\n"
                                   "0.25 1522 2\r\n");
    EXPECT_EQ(result.dropped.count, 5);
    EXPECT_EQ(result.dropped.firstRowAtTop, 1);
    EXPECT_EQ(result.dropped.repeated, 2);
    EXPECT_EQ(result.dropped.firstRepeated, 3);
    EXPECT_EQ(result.dropped.decreasing, 2);
    EXPECT_EQ(result.dropped.firstDecreasing, 4);
    EXPECT_EQ(quarvel::loadLogNotices(result, "core.txt"),
              (std::vector<std::string>{
                  "5 rows of the log \"core.txt\" were left out of log.dat, whose depths must "
                  "increase: row 1 lies at depth 0 or above (the log starts below the core top); "
                  "2 rows repeat the depth of the row above (first: row 3); 2 rows are shallower "
                  "than the row above (first: row 4)."}));
    const std::string saved = quarvel::SaveLog(grid);
    EXPECT_EQ(saved, "0.200000 1510.000000 1.900000\r\n0.300000 1520.000000 2.000000\r\n");

    LogGrid increasing;
    EXPECT_EQ(load(increasing, "0.1 1500 1.8\r\n0.2 1510 1.9\r\n").dropped.count, 0);
    LogGrid oneRepeat;
    EXPECT_EQ(quarvel::loadLogNotices(load(oneRepeat, "0.1 1500 1.8\r\n0.1 1510 1.9\r\n"), "a"),
              (std::vector<std::string>{"1 row of the log \"a\" was left out of log.dat, whose "
                                        "depths must increase: 1 row repeats the depth of the "
                                        "row above (first: row 2)."}));
}

TEST(LoadLog, EmptyFileWritesOnlyTheHeadings) {
    LogGrid grid = gridWith({{"1", "2", "3"}});
    const auto result = load(grid, " \r\n");
    EXPECT_EQ(result.records, 0);
    EXPECT_EQ(grid.cell(0, 0), "Depth(m)");
    EXPECT_EQ(grid.cell(1, 0), "1");
}

TEST(LoadLog, GrowsTheGridForLongLogsUpToTheLogTableCapacity) {
    struct Case {
        int records;
        int expectedRows;
        bool truncated;
    };
    const std::vector<Case> cases = {{999, 1000, false},
                                     {1000, 1001, false},
                                     {quarvel::LogCapacity, quarvel::LogCapacity + 1, false},
                                     {quarvel::LogCapacity + 5, quarvel::LogCapacity + 1, true}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.records);
        std::string text;
        for (int i = 1; i <= c.records; ++i) {
            text += std::to_string(i) + " 1500 1.8\r\n";
        }
        LogGrid grid;
        const auto result = load(grid, text);
        EXPECT_EQ(result.truncated, c.truncated);
        EXPECT_EQ(grid.rowCount(), c.expectedRows);
        const int kept = c.expectedRows - 1;
        EXPECT_EQ(result.records, kept);
        EXPECT_EQ(grid.cell(kept, 0), std::to_string(kept) + ".000000");
        EXPECT_EQ(quarvel::logSeriesLength(grid), kept);
        // Every loaded record goes into log.dat; nothing beyond the grid does.
        const std::string saved = quarvel::SaveLog(grid);
        EXPECT_EQ(std::count(saved.begin(), saved.end(), '\n'), kept);
    }
}

TEST(SaveLog, WritesOnlyRowsDeeperThanTheRowDirectlyAbove) {
    struct Case {
        const char* name;
        std::vector<std::vector<std::string>> rows;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"row 1 at the surface is dropped",
         {{"0.000000", "1500", "1.8"}, {"0.1", "1510", "1.9"}},
         "0.1 1510 1.9\r\n"},
        {"equal depths: only the first",
         {{"0.1", "1500", "1.8"}, {"0.1", "1510", "1.9"}, {"0.2", "1520", "2"}},
         "0.1 1500 1.8\r\n0.2 1520 2\r\n"},
        {"compared with the skipped row above",
         {{"0.3", "1500", "1.8"}, {"0.1", "1510", "1.9"}, {"0.2", "1520", "2"}},
         "0.3 1500 1.8\r\n0.2 1520 2\r\n"},
        {"rows after the first empty depth are ignored",
         {{"0.1", "1500", "1.8"}, {"", "7", "7"}, {"0.2", "1520", "2"}},
         "0.1 1500 1.8\r\n"},
        {"a depth of blanks ends the series",
         {{"0.1", "1500", "1.8"}, {"   ", "7", "7"}, {"0.2", "1520", "2"}},
         "0.1 1500 1.8\r\n"},
        {"no line with an empty depth after a negative depth",
         {{"0.1", "1500", "1.8"}, {"-0.5", "1510", "1.9"}, {"", "", ""}},
         "0.1 1500 1.8\r\n"},
        {"blanks around cell texts are not written",
         {{" 0.1 ", "1500\t", " 1.8"}},
         "0.1 1500 1.8\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(quarvel::SaveLog(gridWith(c.rows)), c.expected);
    }
}

TEST(SaveLog, StopsAtTheFirstCellOfTheSeriesThatIsNotAPlainNumber) {
    struct Case {
        std::vector<std::vector<std::string>> rows;
        std::string expectedStart;
    };
    const std::vector<Case> cases = {
        {{{"0.1", "1500", "1.8"}, {"0.2", "1,5", "1.9"}},
         "Row 2, column 2 (P-wave velocity) of the log: \"1,5\" is not a number."},
        {{{"0.1", "1500", "abc"}},
         "Row 1, column 3 (density) of the log: \"abc\" is not a number."},
        {{{"0.1", "", "1.8"}}, "Row 1, column 2 (P-wave velocity) of the log is empty."},
        {{{"0.1x", "1500", "1.8"}}, "Row 1, column 1 (depth) of the log: \"0.1x\""},
        {{{"1e999", "1500", "1.8"}}, "Row 1, column 1 (depth) of the log: \"1e999\""},
        // A skipped row is still part of the series.
        {{{"0.2", "1500", "1.8"}, {"0.1", "?", "1.8"}}, "Row 2, column 2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expectedStart);
        const std::string message = saveError(gridWith(c.rows));
        EXPECT_EQ(message.rfind(c.expectedStart, 0), 0u) << message;
        EXPECT_NE(message.find("missing value as 0"), std::string::npos) << message;
    }
    // Below the gap nothing is checked.
    EXPECT_EQ(saveError(gridWith({{"0.1", "1500", "1.8"}, {"", "", ""}, {"x", "y", "z"}})), "");
}

TEST(ClearLog, BlanksHeadingsAndTheSeriesButNotTheRowsBelowTheGap) {
    LogGrid grid = gridWith({{"0.1", "1500", "1.8"},
                             {"0.2", "1510", "1.9"},
                             {"", "keep v", "keep d"},
                             {"0.4", "1530", "2.1"}});
    grid.setCell(0, 0, "Depth(m)");
    grid.setCell(0, 2, "Density (g/cm3)");
    quarvel::ClearLog(grid);
    for (int r = 0; r <= 2; ++r) {
        EXPECT_EQ(row(grid, r), (std::vector<std::string>{"", "", ""})) << "row " << r;
    }
    EXPECT_EQ(row(grid, 3), (std::vector<std::string>{"", "keep v", "keep d"}));
    EXPECT_EQ(row(grid, 4), (std::vector<std::string>{"0.4", "1530", "2.1"}));
}

TEST(LogGrid, RowsBeyondTheGridReadAsEmptySoAFullGridEndsItsSeries) {
    LogGrid grid;
    for (int r = 1; r < quarvel::LogGridInitialRows; ++r) {
        grid.setCell(r, 0, std::to_string(r));
        grid.setCell(r, 1, "1500");
        grid.setCell(r, 2, "1.8");
    }
    EXPECT_EQ(grid.cell(quarvel::LogGridInitialRows, 0), "");
    EXPECT_EQ(quarvel::logSeriesLength(grid), 999);
    quarvel::ClearLog(grid);
    EXPECT_EQ(quarvel::logSeriesLength(grid), 0);
    EXPECT_EQ(grid.rowCount(), quarvel::LogGridInitialRows);
}

TEST(ScaleVelocities, MultipliesTheSeriesVelocitiesAsTypedOrChangesNothing) {
    struct Case {
        std::vector<std::vector<std::string>> rows;
        double factor;
        std::vector<std::string> velocities; // rows 1 ... as left; "error" cases keep them
        bool refused;
    };
    const std::vector<Case> cases = {
        {{{"0.1", "1500", "1.8"}, {"0.2", " 1600.5 ", "1.9"}, {"0.3", "0", "2"}},
         0.95,
         {"1425.000000", "1520.475000", "0.000000"},
         false},
        // Below the gap nothing is part of the series.
        {{{"0.1", "1000", "1.8"}, {"", "1500", ""}}, 1.1, {"1100.000000", "1500"}, false},
        {{{"0.1", "1500", "1.8"}, {"0.2", "1,5", "1.9"}}, 0.9, {"1500", "1,5"}, true},
        {{{"0.1", "1500", "1.8"}, {"0.2", "", "1.9"}}, 0.9, {"1500", ""}, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rows.front()[1] + " x " + std::to_string(c.factor));
        LogGrid grid = gridWith(c.rows);
        if (c.refused) {
            EXPECT_THROW(quarvel::scaleVelocities(grid, c.factor), quarvel::QuarvelError);
        } else {
            quarvel::scaleVelocities(grid, c.factor);
        }
        for (std::size_t r = 0; r < c.velocities.size(); ++r) {
            EXPECT_EQ(grid.cell(static_cast<int>(r) + 1, 1), c.velocities[r]) << "row " << r + 1;
            EXPECT_EQ(row(grid, static_cast<int>(r) + 1)[0], c.rows[r][0]) << "depth kept";
        }
    }
}

// Each interval written to log.dat takes the velocity that gives it the
// relation's two-way time; depths and densities stay as typed.
TEST(RetimeVelocities, GivesEachWrittenIntervalTheRelationsTimeOrChangesNothing) {
    // 1500 m/s down to 0.15 m, 1600 m/s below.
    const auto twoLayers = [](double depth) {
        return depth <= 0.15 ? 2000 * depth / 1500 : 0.2 + 2000 * (depth - 0.15) / 1600;
    };
    struct Case {
        const char* name;
        std::vector<std::vector<std::string>> rows;
        std::function<double(double)> twtMs;
        std::vector<std::string> velocities;
        bool refused;
    };
    const std::vector<Case> cases = {
        {"two layers",
         {{"0.1", "1400", "1.8"}, {"0.2", "1450", "1.9"}, {"0.3", "0", "2"}},
         twoLayers,
         {"1500.000000", "1548.387097", "1600.000000"},
         false},
        {"a row log.dat leaves out keeps its velocity",
         {{"0.1", "1400", "1.8"}, {"0.1", "1234", "1.8"}, {"0.2", "1450", "1.9"}},
         twoLayers,
         {"1500.000000", "1234", "1548.387097"},
         false},
        {"no time between rows",
         {{"0.1", "1400", "1.8"}, {"0.2", "1450", "1.9"}},
         [](double depth) { return depth < 0.15 ? 2000 * depth / 1500 : 0.1; },
         {"1400", "1450"},
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        LogGrid grid = gridWith(c.rows);
        if (c.refused) {
            EXPECT_THROW(quarvel::retimeVelocities(grid, c.twtMs), quarvel::QuarvelError);
        } else {
            quarvel::retimeVelocities(grid, c.twtMs);
        }
        for (std::size_t r = 0; r < c.velocities.size(); ++r) {
            EXPECT_EQ(row(grid, static_cast<int>(r) + 1),
                      (std::vector<std::string>{c.rows[r][0], c.velocities[r], c.rows[r][2]}));
        }
    }
}
