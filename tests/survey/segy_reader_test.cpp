#include "formats/quarvel_error.h"
#include "support/error_kind.h"
#include "support/temp_work_dir.h"
#include "survey/segy_reader.h"
#include "survey/segy_test_file.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <limits>
#include <string>
#include <vector>

namespace quarvel::testing {
namespace {

SegyTestFile oneTrace(int formatCode, std::vector<double> samples) {
    SegyTestFile file;
    file.formatCode = formatCode;
    file.traces.push_back({std::move(samples)});
    return file;
}

class SegyReaderTest : public ::testing::Test {
protected:
    std::filesystem::path write(const std::string& bytes, const char* name = "line.sgy") {
        work.write(name, bytes);
        return work.file(name);
    }

    // The message of the error reading the file (and its first trace) gives.
    std::string failure(const std::string& bytes) {
        try {
            SegyReader reader(write(bytes));
            reader.readTrace(0);
        } catch (const QuarvelError& error) {
            return error.what();
        }
        return "no error";
    }

    TempWorkDir work;
};

TEST(SegyIbmFloat, KnownBitPatterns) {
    EXPECT_EQ(ibmFloatBits(1.0), 0x41100000U);
    EXPECT_EQ(ibmFloatBits(-118.625), 0xC276A000U);
    EXPECT_EQ(ibmFloatBits(0.5), 0x40800000U);
}

TEST_F(SegyReaderTest, SamplesOfEveryFormatInBothByteOrdersReadBack) {
    struct Case {
        const char* name;
        int formatCode;
        std::vector<double> samples;
    };
    const std::vector<Case> cases = {
        {"IBM float", 1, {0.5, -118.625, 100, 0}},
        {"32-bit integers", 2, {7, -2000000, 2147483647, -2147483648.0}},
        {"16-bit integers", 3, {7, -32768, 32767, 1}},
        {"IEEE float", 5, {0.25, -3.5, 1e6, 0}},
        {"IEEE double", 6, {0.1, -1e30, 3.141592653589793, 0}},
        {"24-bit integers", 7, {7, -8388608, 8388607, -1}},
        {"bytes", 8, {7, -128, 127, 1}},
        {"64-bit integers", 9, {7, -9007199254740992.0, 1e15, -1}},
        {"unsigned 32-bit", 10, {7, 4294967295.0, 0, 2147483648.0}},
        {"unsigned 16-bit", 11, {7, 65535, 32768, 0}},
        {"unsigned 64-bit", 12, {7, 9007199254740992.0, 0, 1e18}},
        {"unsigned 24-bit", 15, {7, 16777215, 8388608, 0}},
        {"unsigned bytes", 16, {7, 255, 128, 0}},
    };
    for (const Case& c : cases) {
        for (const bool little : {false, true}) {
            SCOPED_TRACE(std::string(c.name) + (little ? ", little-endian" : ", big-endian"));
            SegyTestFile file = oneTrace(c.formatCode, c.samples);
            file.littleEndian = little;
            file.ebcdic = !little;
            const std::string bytes = segyBytes(file);
            EXPECT_TRUE(looksLikeSegy(bytes));
            SegyReader reader(write(bytes));
            EXPECT_EQ(reader.layout().formatCode, c.formatCode);
            EXPECT_EQ(reader.layout().littleEndian, little);
            EXPECT_EQ(reader.layout().traceCount, 1);
            EXPECT_EQ(reader.readTrace(0).amplitudes, c.samples);
        }
    }
}

TEST_F(SegyReaderTest, RevisionTwoLayoutsAndLongTracesLoad) {
    struct Case {
        const char* name;
        SegyTestFile file;
        int extendedTextHeaders;
    };
    std::vector<double> ramp(60000);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        ramp[i] = static_cast<double>(i % 30000) - 15000;
    }
    const auto twoTraces = [](int formatCode) {
        SegyTestFile file;
        file.formatCode = formatCode;
        file.revision = 2;
        file.traces = {{{1, -2, 3}, 11}, {{4, 5, -6}, 12}};
        return file;
    };
    std::vector<Case> cases;
    {
        SegyTestFile file = oneTrace(3, ramp);
        cases.push_back({"60 000 samples, above the signed 16-bit range", file, 0});
        file.littleEndian = true;
        cases.push_back({"60 000 samples, little-endian", file, 0});
    }
    {
        SegyTestFile file = twoTraces(5);
        file.extraTraceHeaders = 1;
        cases.push_back({"one additional trace header", file, 0});
        file.littleEndian = true;
        file.extraTraceHeaders = 2;
        cases.push_back({"two additional trace headers, little-endian", file, 0});
    }
    {
        SegyTestFile file = twoTraces(2);
        file.extendedHeaders = -1;
        file.extendedRecords = 2;
        cases.push_back({"variable count of extended textual headers, EBCDIC", file, 2});
        file.ebcdic = false;
        file.extendedRecords = 1;
        file.trailerRecords = 1;
        cases.push_back({"variable count, ASCII, and a trailer record", file, 1});
        file.endStanza = "((  seg: endTEXt  ))";
        cases.push_back({"end stanza in other case and spacing, ASCII", file, 1});
        file.ebcdic = true;
        cases.push_back({"end stanza in other case and spacing, EBCDIC", file, 1});
    }
    {
        SegyTestFile file = twoTraces(5);
        file.extraTraceHeaders = 1;
        file.extraCountInTwoBytes = true;
        cases.push_back({"additional header count in two bytes", file, 0});
    }
    {
        SegyTestFile file = twoTraces(3);
        file.samples = 0;
        file.extendedSamples = 3;
        file.extendedHeaders = 1;
        for (SegyTestTrace& trace : file.traces) {
            trace.sampleCount = 0;
        }
        cases.push_back({"extended sample count and one extended textual header", file, 1});
    }
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SegyReader reader(write(segyBytes(c.file)));
        const SegyLayout& layout = reader.layout();
        EXPECT_EQ(layout.extendedTextHeaders, c.extendedTextHeaders);
        EXPECT_EQ(layout.traceCount, static_cast<int>(c.file.traces.size()));
        const int last = layout.traceCount - 1;
        EXPECT_EQ(reader.readTrace(last).amplitudes, c.file.traces.back().samples);
        EXPECT_EQ(reader.traceHeader(last).fieldRecord, c.file.traces.back().fieldRecord);
        EXPECT_EQ(layout.extraTraceHeaders, c.file.extraTraceHeaders);
        ASSERT_EQ(layout.notes.size(), c.file.extraCountInTwoBytes ? 1U : 0U);
        if (c.file.extraCountInTwoBytes) {
            EXPECT_NE(layout.notes[0].find("read from bytes 3507-3508; read as four bytes "
                                           "(3507-3510) the count is 65536"),
                      std::string::npos)
                << layout.notes[0];
        }
    }
}

// Revision 2 allows traces of different lengths unless its fixed-length flag
// is set; each trace then has as many samples as its header says.
TEST_F(SegyReaderTest, TracesOfVariableLengthAreWalkedOnce) {
    for (const bool little : {false, true}) {
        for (const int extra : {0, 1}) {
            SCOPED_TRACE(std::string(little ? "little" : "big") + "-endian, extra headers " +
                         std::to_string(extra));
            SegyTestFile file;
            file.formatCode = 5;
            file.revision = 2;
            file.littleEndian = little;
            file.extraTraceHeaders = extra;
            file.traces = {{{1, 2, 3}, 11}, {{4, 5, 6, 7, 8}, 12}, {{9, 10}, 13}};
            SegyReader reader(write(segyBytes(file)));
            EXPECT_TRUE(reader.layout().variableLength);
            ASSERT_EQ(reader.layout().traceCount, 3);
            EXPECT_EQ(reader.layout().samplesPerTrace, 5);
            EXPECT_EQ(reader.layout().notes,
                      std::vector<std::string>{"Traces of variable length: 2 to 5 samples."});
            for (int i : {2, 0, 1}) {
                EXPECT_EQ(reader.readTrace(i).amplitudes, file.traces[i].samples);
            }
            std::vector<int> records;
            reader.scanHeaders(0, 2, [&](int, const SegyTraceHeader& header) {
                records.push_back(header.fieldRecord);
                return true;
            });
            EXPECT_EQ(records, (std::vector<int>{11, 12, 13}));
        }
    }
}

TEST_F(SegyReaderTest, ListingStartsAtTheDelayAndStepsByTheInterval) {
    SegyTestFile file = oneTrace(1, {0.5, -118.625, 100});
    file.intervalUs = 21;
    file.traces[0].delayMs = 12;
    SegyReader reader(write(segyBytes(file)));
    EXPECT_EQ(traceListingText(reader.readTrace(0)), "12.000000  5.00000000000000E-0001\r\n"
                                                     "12.021000 -1.18625000000000E+0002\r\n"
                                                     "12.042000  1.00000000000000E+0002\r\n");
}

TEST_F(SegyReaderTest, DelayScalarAndIntervalFromTheTraceHeader) {
    struct Case {
        const char* name;
        int binaryInterval;
        int traceInterval;
        int delay;
        int scalar;
        double firstTime;
        double interval;
    };
    const std::vector<Case> cases = {
        {"binary interval wins", 20, 40, 5, 0, 5, 0.020},
        {"trace interval when the binary one is 0", 0, 23, 5, 0, 5, 0.023},
        {"negative scalar divides", 20, 0, 125, -10, 12.5, 0.020},
        {"positive scalar multiplies", 20, 0, 3, 10, 30, 0.020},
        {"a scalar outside the standard's is 1", 20, 0, 7, 3, 7, 0.020},
        {"negative delay", 20, 0, -4, 0, -4, 0.020},
        {"binary interval above the signed 16-bit range", 40000, 0, 0, 0, 0, 40.0},
        {"trace interval above the signed 16-bit range", 0, 50000, 0, 0, 0, 50.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SegyTestFile file = oneTrace(5, {1, 2});
        file.intervalUs = c.binaryInterval;
        file.traces[0].intervalUs = c.traceInterval;
        file.traces[0].delayMs = c.delay;
        file.traces[0].timeScalar = c.scalar;
        SegyReader reader(write(segyBytes(file)));
        const SegyTrace trace = reader.readTrace(0);
        EXPECT_DOUBLE_EQ(trace.firstTimeMs, c.firstTime);
        EXPECT_DOUBLE_EQ(trace.intervalMs, c.interval);
    }
}

TEST_F(SegyReaderTest, ChannelsAreRunsOfTracesSharingAFieldRecord) {
    struct Case {
        const char* name;
        std::vector<int> fieldRecords;
        int channels;
    };
    const std::vector<Case> cases = {
        {"three channels per shot", {1001, 1001, 1001, 1002, 1002, 1002}, 3},
        {"one shot of two channels", {7, 7}, 2},
        {"one channel", {1, 2, 3, 4}, 1},
        {"records not numbered", {0, 0, 0, 0}, 1},
        {"runs that do not divide the traces", {5, 5, 6, 6, 7}, 1},
        {"more traces to a record than channels", std::vector<int>(12, 9), 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SegyTestFile file;
        file.formatCode = 5;
        for (std::size_t i = 0; i < c.fieldRecords.size(); ++i) {
            file.traces.push_back({{static_cast<double>(i), 0.5}, c.fieldRecords[i]});
        }
        SegyReader reader(write(segyBytes(file)));
        EXPECT_EQ(reader.layout().channels, c.channels);
        EXPECT_EQ(reader.layout().traceCount, static_cast<int>(c.fieldRecords.size()));
        const int last = reader.layout().traceCount - 1;
        EXPECT_EQ(reader.readTrace(last).amplitudes.front(), last);
    }
}

TEST_F(SegyReaderTest, HostileOrBrokenFilesAreRefusedWithTheReason) {
    const auto withFile = [](auto change) {
        SegyTestFile file = oneTrace(5, {1, 2, 3});
        change(file);
        return segyBytes(file);
    };
    const std::string good = withFile([](SegyTestFile&) {});
    const float notANumber = std::numeric_limits<float>::quiet_NaN();
    struct Case {
        const char* name;
        std::string bytes;
        std::string reason;
    };
    const std::vector<Case> cases = {
        {"shorter than its headers", good.substr(0, 1000), "shorter than the 3600 bytes"},
        {"text", std::string(4000, '7'), "not those of a SEG-Y file"},
        {"obsolete format 4", withFile([](SegyTestFile& f) { f.formatCode = 4; }),
         "(format code 4), an obsolete format"},
        {"variable extended textual headers without the end stanza", withFile([](SegyTestFile& f) {
             f.extendedHeaders = -1;
             f.extendedRecords = 0;
         }),
         "none of them holds the closing ((SEG: EndText)) stanza"},
        {"a negative count of extended textual headers",
         withFile([](SegyTestFile& f) { f.extendedHeaders = -3; }),
         "gives -3 extended textual headers"},
        {"absurd additional trace headers", withFile([](SegyTestFile& f) {
             f.revision = 2;
             f.extraTraceHeaders = 5000;
         }),
         "gives 5000 additional headers to each trace"},
        {"no sample count", withFile([](SegyTestFile& f) {
             f.samples = 0;
             f.traces[0].sampleCount = 0;
         }),
         "give 0 samples per trace"},
        {"more samples than a trace may have", withFile([](SegyTestFile& f) { f.samples = 65000; }),
         "give 65000 samples per trace; a trace must have 1 to 64000"},
        {"no interval anywhere", withFile([](SegyTestFile& f) { f.intervalUs = 0; }),
         "positive sample interval"},
        {"cut short", good.substr(0, good.size() - 5), "ends in the middle of a trace"},
        {"no trace", good.substr(0, 3600), "holds no trace"},
        {"extended headers it does not hold",
         [&] {
             std::string bytes = good;
             bytes[3504] = 0x10;
             return bytes;
         }(),
         "holds no trace"},
        {"extended interval of 1e300 microseconds", withFile([](SegyTestFile& f) {
             f.revision = 2;
             f.extendedIntervalUs = 1e300;
         }),
         "extended sample interval is longer than a second"},
        {"double samples beyond a float's range", withFile([](SegyTestFile& f) {
             f.formatCode = 6;
             f.traces[0].samples = {1, -1e308, 2};
         }),
         "Sample 2 of trace 1, -1.00000000000000E+0308, is beyond"},
        {"traces of unequal length in a file that says they are equal",
         withFile([](SegyTestFile& f) {
             f.revision = 2;
             f.fixedLengthFlag = 1;
             f.traces.push_back({{1, 2}});
         }),
         "are not all 3 samples long"},
        {"traces of variable length cut short",
         [&] {
             SegyTestFile file = oneTrace(5, {1, 2, 3});
             file.revision = 2;
             file.traces.push_back({{1, 2}});
             file.traces.push_back({{1, 2, 3, 4}});
             const std::string bytes = segyBytes(file);
             return bytes.substr(0, bytes.size() - 4);
         }(),
         "It ends in the middle of trace 3."},
        {"not-a-number sample",
         [&] {
             SegyTestFile file = oneTrace(5, {1, 2, 3});
             file.traces[0].samples[1] = notANumber;
             return segyBytes(file);
         }(),
         "Sample 2 of trace 1 is not a number"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = failure(c.bytes);
        EXPECT_NE(message.find("Cannot read the SEG-Y file"), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
}

TEST_F(SegyReaderTest, MissingFileAndTraceOutOfRange) {
    EXPECT_THROW(SegyReader(work.file("none.sgy")), QuarvelError);
    SegyReader reader(write(segyBytes(oneTrace(5, {1}))));
    for (const int index : {-1, 1}) {
        try {
            reader.readTrace(index);
            ADD_FAILURE() << "trace " << index << " was read";
        } catch (const QuarvelError& error) {
            EXPECT_NE(std::string(error.what()).find("it holds 1."), std::string::npos);
        }
    }
}

TEST_F(SegyReaderTest, TextFilesAreNotTakenForSegy) {
    std::string listing;
    while (listing.size() < 5000) {
        listing += "12.021000 -1.18625000000000E+0002\r\n";
    }
    EXPECT_FALSE(looksLikeSegy(listing));
    EXPECT_FALSE(isSegyFile(write(listing, "trace.txt")));
    EXPECT_FALSE(isSegyFile(work.file("missing.sgy")));
    EXPECT_TRUE(isSegyFile(write(segyBytes(oneTrace(1, {1})), "LINE.SEG")));
}

// Headers are read in runs of many traces, and one by one when the traces are
// long; either way every header arrives once, in order, and a visitor that
// returns false stops the scan.
TEST_F(SegyReaderTest, HeadersAreScannedInOrderWhateverTheTraceLength) {
    struct Case {
        const char* name;
        int traces;
        int samples;
    };
    const std::vector<Case> cases = {
        {"short traces over several runs", 20000, 100},
        {"traces longer than a run allows", 3, 20000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SegyTestFile file;
        file.formatCode = 5;
        for (int i = 0; i < c.traces; ++i) {
            file.traces.push_back(
                {std::vector<double>(static_cast<std::size_t>(c.samples), 1.0), i + 1, i % 7});
        }
        SegyReader reader(write(segyBytes(file)));
        int seen = 0;
        reader.scanHeaders(0, c.traces - 1, [&](int index, const SegyTraceHeader& header) {
            EXPECT_EQ(index, seen);
            EXPECT_EQ(header.fieldRecord, index + 1);
            EXPECT_DOUBLE_EQ(header.delayMs, index % 7);
            ++seen;
            return true;
        });
        EXPECT_EQ(seen, c.traces);
        std::vector<int> part;
        reader.scanHeaders(1, c.traces + 5, [&](int index, const SegyTraceHeader&) {
            part.push_back(index);
            return part.size() < 2;
        });
        EXPECT_EQ(part, (std::vector<int>{1, 2}));
    }
}

// A file of a million traces (sparse on disk): only the headers and the one
// trace asked for are read.
TEST_F(SegyReaderTest, HugeFileReadsOnlyWhatIsAskedFor) {
    const int samples = 100;
    SegyTestFile file = oneTrace(5, std::vector<double>(samples, 1.0));
    const std::filesystem::path path = write(segyBytes(file));
    const std::uintmax_t traceSize = 240 + 4 * samples;
    std::filesystem::resize_file(path, 3600 + traceSize * 1000000);
    SegyReader reader(path);
    EXPECT_EQ(reader.layout().traceCount, 1000000);
    EXPECT_EQ(reader.readTrace(0).amplitudes.front(), 1.0);
    EXPECT_EQ(reader.readTrace(999999).amplitudes.size(), 100U);

    std::filesystem::resize_file(path, 3600 + traceSize * 1000001);
    SegyReader longer(path);
    EXPECT_EQ(quarvel::testing::thrownKind([&] { longer.traceHeaders(); }), ErrorKind::Capacity);
}

} // namespace
} // namespace quarvel::testing
