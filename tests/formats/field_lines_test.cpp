#include "formats/field_lines.h"
#include "formats/log_file.h"
#include "formats/quarvel_error.h"

#include <gtest/gtest.h>
#include <span>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using Rule = FieldRule;

struct ReadCase {
    const char* name;
    std::string text;
    Rule rule;
    int width;
    std::vector<double> values;
    int inexact = 0;
};

TEST(FieldLines, EachRuleReadsItsRecords) {
    const ReadCase cases[] = {
        {"whole numbers, blank lines at the end",
         "1 2 3\r\n4.5 -6 7e2\r\n\r\n  \r\n",
         Rule::WholeNumbersPerLine,
         3,
         {1, 2, 3, 4.5, -6, 700}},
        {"lone CR and LF end lines, the last needs none",
         "1 2\r3 4\n5 6",
         Rule::WholeNumbersPerLine,
         2,
         {1, 2, 3, 4, 5, 6}},
        {"byte-order mark",
         "\xEF\xBB\xBF"
         "1 2\r\n",
         Rule::WholeNumbersPerLine,
         2,
         {1, 2}},
        {"tabs and NUL separate fields",
         std::string("1\t2\0003\r\n", 7),
         Rule::WholeNumbersPerLine,
         3,
         {1, 2, 3}},
        {"prefixes counted",
         "1 1,873 x\r\nnan 1e999 2\r\n",
         Rule::NumericPrefixPerLine,
         3,
         {1, 1, 0, 0, 0, 2},
         4},
        {"tokens cross a short line, the rest of a line is skipped",
         "1 2\r\n3 4 5\r\n6 7 8 extra\r\n \r\n",
         Rule::TokensToLineEnd,
         3,
         {1, 2, 3, 6, 7, 8}},
        {"tokens: a word reads 0, a field missing at the end 0",
         "1 a 3\r\n4 5",
         Rule::TokensToLineEnd,
         3,
         {1, 0, 3, 4, 5, 0}},
        {"any character left: a final line break adds a zero record",
         "1 2\r\n3 4\r\n",
         Rule::TokensWhileAnyCharacter,
         2,
         {1, 2, 3, 4, 0, 0}},
        {"any character left: no final line break",
         "1 2\r\n3 4",
         Rule::TokensWhileAnyCharacter,
         2,
         {1, 2, 3, 4}},
        {"empty text", "", Rule::TokensWhileAnyCharacter, 2, {}},
    };
    for (const ReadCase& c : cases) {
        SCOPED_TRACE(c.name);
        const FieldRecords read =
            readFieldLines(c.text, {"f.dat", c.width, "a, b", c.rule, NoRecordLimit, {}});
        EXPECT_EQ(read.values, c.values);
        EXPECT_EQ(read.inexact, c.inexact);
        EXPECT_FALSE(read.truncated);
    }
}

TEST(FieldLines, RefusalsNameTheLine) {
    const struct {
        const char* name;
        std::string text;
        Rule rule;
        std::string message;
    } cases[] = {
        {"missing field", "1 2 3\r\n4 5\r\n", Rule::WholeNumbersPerLine,
         "Line 2 of \"f.dat\" holds 2 fields; every line holds exactly 3 numbers (a, b, c)."},
        {"extra field", "1 2 3 4\r\n", Rule::NumericPrefixPerLine,
         "Line 1 of \"f.dat\" holds 4 fields; every line holds exactly 3 numbers (a, b, c)."},
        {"blank line between records", "1 2 3\r\n\r\n4 5 6\r\n", Rule::NumericPrefixPerLine,
         "Line 2 of \"f.dat\" is blank; every line up to the last holds 3 numbers (a, b, c)."},
        {"decimal comma", "1 1,873 3\r\n", Rule::WholeNumbersPerLine,
         "Line 1 of \"f.dat\": \"1,873\" is not a number."},
        {"nan", "1 2 nan\r\n", Rule::WholeNumbersPerLine,
         "Line 1 of \"f.dat\": \"nan\" is not a number."},
        {"overflow", "1 1e999 3\r\n", Rule::WholeNumbersPerLine,
         "Line 1 of \"f.dat\" holds a number out of range (\"1e999\")."},
        {"a long field is cut short", "1 2 " + std::string(50, 'x') + "\r\n",
         Rule::WholeNumbersPerLine,
         "Line 1 of \"f.dat\": \"" + std::string(40, 'x') + "...\" is not a number."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        try {
            readFieldLines(c.text, {"f.dat", 3, "a, b, c", c.rule, NoRecordLimit, {}});
            ADD_FAILURE() << "accepted";
        } catch (const QuarvelError& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(FieldLines, RecordsBeyondTheLimitAreRefusedOrLeftOut) {
    const std::string text = "1 2\r\n3 4\r\n5 6\r\n";
    for (const Rule rule :
         {Rule::WholeNumbersPerLine, Rule::TokensToLineEnd, Rule::TokensWhileAnyCharacter}) {
        SCOPED_TRACE(static_cast<int>(rule));
        EXPECT_THROW(readFieldLines(text, {"f.dat", 2, "a, b", rule, 2, "too many"}), QuarvelError);
        const FieldRecords kept = readFieldLines(text, {"f.dat", 2, "a, b", rule, 2, {}});
        EXPECT_EQ(kept.values, (std::vector<double>{1, 2, 3, 4}));
        EXPECT_TRUE(kept.truncated);
        // Blank lines after the last record are no record, except that reading
        // while any character is left makes a final record of zeros of them.
        EXPECT_EQ(readFieldLines("1 2\r\n3 4\r\n\r\n", {"f.dat", 2, "a, b", rule, 2, {}}).truncated,
                  rule == Rule::TokensWhileAnyCharacter);
    }
    // The lines after the last one kept are still checked.
    EXPECT_THROW(readFieldLines("1 2\r\n3 4\r\n5\r\n",
                                {"f.dat", 2, "a, b", Rule::WholeNumbersPerLine, 1, {}}),
                 QuarvelError);
}

// Keeps what the reader hands it, to compare with what FieldRecords holds.
struct RecordingSink final : FieldSink {
    std::size_t reserved = 0;
    std::vector<double> values;
    void reserve(std::size_t records) override { reserved = records; }
    void add(std::span<const double> record) override {
        values.insert(values.end(), record.begin(), record.end());
    }
};

TEST(FieldLines, SinkGetsTheRecordsWithRoomGuessedFromTheLines) {
    const struct {
        const char* name;
        std::string text;
        Rule rule;
        std::size_t maxRecords;
        std::size_t reserved;
    } cases[] = {
        {"a record a line", "1 2\r\n3 4\r\n", Rule::WholeNumbersPerLine, NoRecordLimit, 2},
        {"lone CRs counted when there is no LF", "1 2\r3 4\r5 6", Rule::WholeNumbersPerLine,
         NoRecordLimit, 3},
        {"no more than the format keeps", "1 2\n3 4\n5 6\n", Rule::TokensToLineEnd, 2, 2},
        {"line ends alone ask no more than records of that size", std::string(10, '\n'),
         Rule::WholeNumbersPerLine, NoRecordLimit, 2},
        {"records may outgrow the guess", "1 2 3 4 5 6", Rule::TokensWhileAnyCharacter,
         NoRecordLimit, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FieldLineFormat format{"f.dat", 2, "a, b", c.rule, c.maxRecords, {}};
        RecordingSink sink;
        const FieldSummary summary = readFieldLines(c.text, format, sink);
        const FieldRecords records = readFieldLines(c.text, format);
        EXPECT_EQ(sink.reserved, c.reserved);
        EXPECT_EQ(sink.values, records.values);
        EXPECT_EQ(summary.truncated, records.truncated);
    }
}

TEST(LogFile, WritesWhatItReads) {
    const std::vector<LogRecord> records = {{0.1, 1500, 1.7}, {0.25, 1510.5, -1.75}};
    const std::string text = formatLogRecords(records);
    EXPECT_EQ(text, "0.100 1500.000 1.700\r\n0.250 1510.500 -1.750\r\n");
    const LogFile read =
        parseLogFile(text, {"log.dat", Rule::WholeNumbersPerLine, NoRecordLimit, {}});
    ASSERT_EQ(read.records.size(), 2u);
    EXPECT_EQ(read.records[1].Depth, 0.25);
    EXPECT_EQ(read.records[1].Velocity, 1510.5);
    EXPECT_EQ(read.records[1].Density, -1.75);
    std::string line;
    appendLogLine(line, "1", "", "x");
    EXPECT_EQ(line, "1  x\r\n");
}

} // namespace
} // namespace quarvel
