#include "editor/log_import.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "support/error_kind.h"
#include "support/proposed_answers.h"
#include "support/temp_work_dir.h"
#include "survey/log_import_questions.h"
#include "survey/mscl_reader.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel::testing {
namespace {

const std::string Las = "~V\r\n VERS. 2.0 :\r\n WRAP. NO :\r\n~W\r\n NULL. -999.25 :\r\n~C\r\n"
                        " DEPT.M :\r\n VP.M/S :\r\n RHOB.G/CC :\r\n~A\r\n";

ImportedLog imported(const TempWorkDir& dir, const std::string& name, const std::string& bytes) {
    dir.write(name, bytes);
    ProposedAnswers proposals;
    return importLogFile(dir.file(name), proposals).value();
}

TEST(LogFileImport, ByteOrderMarksAndCommasAreNotValues) {
    TempWorkDir dir;
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"bom.las", "\xEF\xBB\xBF" + Las + " 0.1 1500 1.6\r\n 0.2 1510 1.7\r\n"},
        {"bom.txt", "\xEF\xBB\xBF"
                    "0.1 1500 1.6\r\n0.2 1510 1.7\r\n"},
        {"commas.csv", "0.1,1500,1.6\n0.2,1510,1.7\n"},
        {"semicolons.csv", "\xEF\xBB\xBF"
                           "Depth;Vp;Den\r0,1;1500;1,6\r0,2;1510;1,7\r"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const ImportedLog log = imported(dir, c.name, c.bytes);
        EXPECT_EQ(log.logDat, "0.100000 1500.000000 1.600000\r\n0.200000 1510.000000 1.700000\r\n");
        EXPECT_EQ(log.result.nonNumericEntries, 0);
    }
}

TEST(LogFileImport, ALogRecordedUpwardsIsTurnedOverAndSaid) {
    TempWorkDir dir;
    const ImportedLog las = imported(dir, "up.las",
                                     Las + " 0.3 1520 1.8\r\n 0.2 1510 1.7\r\n"
                                           " 0.1 1500 1.6\r\n");
    EXPECT_EQ(las.logDat, "0.100000 1500.000000 1.600000\r\n0.200000 1510.000000 1.700000\r\n"
                          "0.300000 1520.000000 1.800000\r\n");
    EXPECT_EQ(las.gridText, "0.100000 1500.000000 1.600000\r\n0.200000 1510.000000 1.700000\r\n"
                            "0.300000 1520.000000 1.800000\r\n");
    ASSERT_FALSE(las.notices.empty());
    EXPECT_NE(las.notices.back().find("decrease down the file; the log was turned over"),
              std::string::npos);
}

// log.dat keeps each row that lies deeper than the last row kept, so the
// engine never finds a depth that does not increase; the grid shows the same
// rows, and a notice counts the others by reason.
TEST(LogFileImport, RowsNotDeeperThanTheLastKeptAreLeftOut) {
    TempWorkDir dir;
    const struct {
        std::string text;
        std::string logDat;
        std::string notice;
    } cases[] = {
        {"0.01 1500 1.5\n0.03 1510 1.6\n0.02 1520 1.7\n0.025 1530 1.8\n",
         "0.010000 1500.000000 1.500000\r\n0.030000 1510.000000 1.600000\r\n",
         "2 rows of the log \"%s\" were left out of the grid and log.dat, whose depths must "
         "increase: 2 rows are shallower than the last row kept (first: row 3)."},
        {"-0.5 1500 1.5\n0 1510 1.6\n0.1 1520 1.7\n0.1 1530 1.8\n0.2 1540 1.9\n",
         "0.100000 1520.000000 1.700000\r\n0.200000 1540.000000 1.900000\r\n",
         "3 rows of the log \"%s\" were left out of the grid and log.dat, whose depths must "
         "increase: rows 1 to 2 lie at depth 0 or above (the log starts below the core top); 1 "
         "row repeats the depth of the last row kept (first: row 4)."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        const ImportedLog log = imported(dir, "mixed.txt", c.text);
        EXPECT_EQ(log.logDat, c.logDat);
        EXPECT_EQ(normaliseLineEnds(log.gridText), c.logDat);
        ASSERT_EQ(log.notices.size(), 1U);
        EXPECT_EQ(log.notices[0], formatMessage(c.notice, {dir.file("mixed.txt").string()}));
    }
}

// Values no core has are refused with the row and the column; nothing is
// made from the file.
TEST(LogFileImport, ImpossibleValuesAreRefused) {
    std::string tooLong;
    std::string tooLongTable = "Depth\tVp\tDen\n";
    for (int row = 1; row <= 75000; ++row) {
        tooLong += row <= LogCapacity + 1 ? std::to_string(row) + " 1500 1.6\n" : "";
        tooLongTable += std::to_string(row) + "\t1500\t1.6\n";
    }
    const struct {
        std::string text;
        std::string message;
    } cases[] = {
        {"0.1 1500 1.6\n0.2 1510 -1.5\n", "Row 2 of the log \"bad\" has a density of -1.5"},
        {"0.1 -1500 1.6\n", "Row 1 of the log \"bad\" has a P-wave velocity of -1500"},
        {"0.1 1" + std::string(300, '0') + " 1.6\n",
         "Row 1 of the log \"bad\" has a P-wave velocity of 1e+300"},
        {"0.1 1500 1.6\n1e300 1500 1.6\n", "Row 2 of the log \"bad\" has a depth of 1e+300"},
        {tooLong, "The log file \"bad\" holds more than 64000 records"},
        {tooLongTable, "The log file \"bad\" holds more than 74000 lines"},
    };
    for (const auto& c : cases) {
        ProposedAnswers proposals;
        try {
            importLogText(c.text, "bad", proposals);
            ADD_FAILURE() << c.message;
        } catch (const QuarvelError& error) {
            EXPECT_EQ(std::string(error.what()).find(c.message), 0U) << error.what();
        }
    }
}

TEST(LogFileImport, EmptyFilesAreRefused) {
    TempWorkDir dir;
    for (const std::string bytes : {"", "\xEF\xBB\xBF", " \r\n\r\n"}) {
        dir.write("empty.txt", bytes);
        ProposedAnswers proposals;
        EXPECT_EQ(
            quarvel::testing::thrownKind([&] { importLogFile(dir.file("empty.txt"), proposals); }),
            ErrorKind::InvalidData);
    }
}

TEST(LogFileImport, SonicLogWithoutAUnitIsAsked) {
    TempWorkDir dir;
    dir.write("dt.las", "~V\r\n VERS. 2.0 :\r\n~C\r\n DEPT.FT :\r\n DT. :\r\n~A\r\n"
                        " 10 152.4\r\n 20 160\r\n");
    ProposedAnswers proposals;
    proposals.unproposedUnit = *recogniseUnit(LogRole::Velocity, "us/ft");
    const auto log = importLogFile(dir.file("dt.las"), proposals);
    ASSERT_TRUE(log);
    EXPECT_EQ(proposals.offered, (std::vector<std::string>{"ft", "?"}));
    EXPECT_EQ(log->logDat, "3.048000 2000.000000 0.000000\r\n6.096000 1905.000000 0.000000\r\n");
}

// A table from another program (units in its names) and a plain
// comma-separated log of the same readings give the same log.dat.
TEST(LogFileImport, TablesFromAnySourceAndPlainCommaLogsAgree) {
    const std::filesystem::path examples =
        std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/examples";
    ProposedAnswers proposals;
    const ImportedLog headed = importLogFile(examples / "core_other_header.csv", proposals).value();
    const ImportedLog plain = importLogFile(examples / "core_plain_commas.csv", proposals).value();
    EXPECT_EQ(proposals.offered, (std::vector<std::string>{"cm", "km/s", "kg/m3"}));
    EXPECT_EQ(headed.logDat.substr(0, 31), "0.020000 1511.600000 1.556000\r\n");
    EXPECT_EQ(headed.logDat, plain.logDat);
}

TEST(LogFileImport, AFileWithoutVelocityOrDensitySaysSo) {
    TempWorkDir dir;
    const ImportedLog log = imported(dir, "gamma.las",
                                     "~V\r\n VERS. 2.0 :\r\n~C\r\n DEPT.M :\r\n GR.GAPI :\r\n~A\r\n"
                                     " 0.1 50\r\n 0.2 52\r\n");
    ASSERT_EQ(log.notices.size(), 1U);
    EXPECT_NE(log.notices[0].find("It has no velocity, sonic or density column that Quarvel "
                                  "recognises; its columns are \"DEPT\", \"GR\"."),
              std::string::npos)
        << log.notices[0];
}

// However wide its row of names, a table costs memory for the cells it holds.
TEST(LogFileImport, AWideTableKeepsOnlyTheCellsItHolds) {
    std::string text = "DEPTH";
    for (int c = 0; c < 20000; ++c) {
        text += ",C";
    }
    text += "\n";
    for (int r = 1; r <= 20000; ++r) {
        text += std::to_string(r) + "\n";
    }
    const MsclTable mscl = readMscl(text, "wide.csv");
    ASSERT_EQ(mscl.table.rows.size(), 20000U);
    EXPECT_EQ(mscl.table.columns.size(), 20001U);
    for (const std::vector<double>& row : mscl.table.rows) {
        ASSERT_EQ(row.size(), 1U);
    }
    // Messages name the first columns only.
    const std::string names = columnNameList(mscl.table);
    EXPECT_EQ(names.substr(0, 14), "\"DEPTH\", \"C\", ");
    EXPECT_EQ(names.substr(names.size() - 18), "\"C\" and 19989 more");
}

} // namespace
} // namespace quarvel::testing
