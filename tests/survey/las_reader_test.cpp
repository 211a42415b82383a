#include "formats/quarvel_error.h"
#include "survey/las_reader.h"
#include "survey/log_import.h"

#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

const std::string LasHead = "~VERSION INFORMATION\r\n"
                            " VERS.   2.0 : CWLS LOG ASCII STANDARD - VERSION 2.0\r\n"
                            " WRAP.   NO  : ONE LINE PER DEPTH STEP\r\n"
                            "~WELL INFORMATION\r\n"
                            "#MNEM.UNIT  DATA          : DESCRIPTION\r\n"
                            " STRT.M     0.10          : START DEPTH\r\n"
                            " NULL.      -999.25       : NULL VALUE\r\n"
                            "~CURVE INFORMATION\r\n"
                            " DEPT.M                   : DEPTH\r\n"
                            " GR  .GAPI                : GAMMA RAY\r\n"
                            " VP  .M/S                 : P-WAVE VELOCITY\r\n"
                            " RHOB.G/CC                : BULK DENSITY\r\n";

const std::string UnwrappedData = "~A  DEPT   GR   VP   RHOB\r\n"
                                  " 0.10  50  1500.5  1.65\r\n"
                                  " 0.20  52  -999.25  1.70\r\n"
                                  " 0.30  51  1510.0  -999.25\r\n";

std::string wrapped(std::string head) {
    head.replace(head.find("WRAP.   NO"), 10, "WRAP.   YES");
    return head;
}

std::string importedText(const ColumnTable& table) {
    return convertLog(table, proposeColumns(table), {}).text;
}

TEST(LasReader, ColumnsUnitsAndNullsOfAnUnwrappedFile) {
    const ColumnTable table = readLas(LasHead + UnwrappedData, "log.las");
    ASSERT_EQ(table.columns.size(), 4U);
    EXPECT_EQ(table.columns[2].name, "VP");
    EXPECT_EQ(table.columns[3].unit, "G/CC");
    ASSERT_EQ(table.rows.size(), 3U);
    EXPECT_TRUE(std::isnan(table.rows[1][2]));
    EXPECT_TRUE(std::isnan(table.rows[2][3]));
    const ConvertedLog log = convertLog(table, proposeColumns(table), {});
    // A lone gap is interpolated, one at the end takes the last good reading.
    EXPECT_EQ(log.text, "0.100000 1500.500000 1.650000\r\n"
                        "0.200000 1505.250000 1.700000\r\n"
                        "0.300000 1510.000000 1.700000\r\n");
    EXPECT_EQ(log.missingValues, 2);
    EXPECT_EQ(log.filled.single, 1);
    EXPECT_EQ(log.filled.atEnds, 1);
}

TEST(LasReader, WrappedRecordsReadLikeUnwrappedOnes) {
    const std::string data = "~ASCII\r\n"
                             " 0.10\r\n 50  1500.5\r\n 1.65\r\n"
                             " 0.20\r\n 52 -999.25 1.70\r\n"
                             " 0.30\r\n 51 1510.0 -999.25\r\n";
    EXPECT_EQ(importedText(readLas(wrapped(LasHead) + data, "w.las")),
              importedText(readLas(LasHead + UnwrappedData, "u.las")));
}

TEST(LasReader, UnitsAreConvertedToTheGridsOwn) {
    const std::string las = "~V\r\n VERS. 1.2 :\r\n~C\r\n DEPTH.CM :\r\n PWVEL.KM/S :\r\n"
                            " DEN.KG/M3 :\r\n DT.US/F :\r\n~A\r\n 150 1.52 1700 80\r\n";
    const ColumnTable table = readLas(las, "cm.las");
    const ConvertedLog log = convertLog(table, proposeColumns(table), {});
    EXPECT_EQ(log.text, "1.500000 1520.000000 1.700000\r\n");
    EXPECT_TRUE(log.notes.empty());
}

TEST(LasReader, MalformedFilesAreRefusedWithTheReason) {
    struct Case {
        const char* name;
        std::string text;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"no curve section", "~V\r\n VERS. 2.0 :\r\n~A\r\n 1 2\r\n", "before a ~Curve section"},
        {"no data section", LasHead, "no ~ASCII section"},
        {"empty data section", LasHead + "~A\r\n", "holds no data"},
        {"too few values", LasHead + "~A\r\n 0.1 50 1500\r\n", "Line 14: it holds 3 values"},
        {"not a number", LasHead + "~A\r\n 0.1 50 fast 1.6\r\n", "\"fast\" is not a number"},
        {"beyond the range of numbers", LasHead + "~A\r\n 0.1 50 1e999 1.6\r\n",
         "\"1e999\" is not a number"},
        {"LAS 3", "~V\r\n VERS. 3.0 :\r\n", "LAS 3.0 file"},
        {"incomplete wrapped record", wrapped(LasHead) + "~A\r\n 0.1\r\n 50 1500\r\n",
         "last wrapped record holds 3 values of 4"},
        {"curve line without a dot", "~V\r\n~C\r\n DEPT M\r\n", "is not a curve"},
        {"binary noise", std::string("~V\r\n\x01\x02\xff", 7), "no ~Curve section"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readLas(c.text, "bad.las");
            ADD_FAILURE() << "read";
        } catch (const QuarvelError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find("Cannot read the LAS file \"bad.las\""), std::string::npos);
            EXPECT_NE(message.find(c.reason), std::string::npos) << message;
        }
    }
}

TEST(LogFileKind, RecognisedByContent) {
    struct Case {
        const char* name;
        std::string text;
        LogFileKind kind;
    };
    const std::vector<Case> cases = {
        {"LAS", "# made by hand\r\n\r\n~Version\r\n", LogFileKind::Las},
        {"MSCL with tabs", "Core 12\r\nSECT NUM\tSB DEPTH\tPWVel\r\n1\t2\t3\r\n",
         LogFileKind::Mscl},
        {"MSCL with commas", "DEPTH,VP,DEN\r\n1,1500,1.7\r\n", LogFileKind::Mscl},
        {"plain log", "0.1 1500 1.7\r\n0.2 1510 1.8\r\n", LogFileKind::Plain},
        {"plain log with tabs", "0.1\t1500\t1.7\r\n", LogFileKind::Plain},
        {"empty", "", LogFileKind::Plain},
        {"a lone depth heading", "DEPTH\r\n1\r\n", LogFileKind::Plain},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(logFileKind(c.text), c.kind);
    }
}

TEST(LasReader, LongFilesStopAtTheLogCapacity) {
    std::string las = "~V\r\n~C\r\n DEPT.M :\r\n VP.M/S :\r\n~A\r\n";
    for (std::size_t i = 0; i < TableRowLimit + 10; ++i) {
        las += "1 1500\r\n";
    }
    const ColumnTable table = readLas(las, "long.las");
    EXPECT_TRUE(table.truncated);
    EXPECT_EQ(table.rows.size(), TableRowLimit);
}

} // namespace
} // namespace quarvel
