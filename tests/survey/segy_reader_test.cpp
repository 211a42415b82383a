#include "formats/quarvel_error.h"
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

TEST_F(SegyReaderTest, SamplesOfEveryFormatAndByteOrderReadBack) {
    struct Case {
        const char* name;
        int formatCode;
        bool littleEndian;
        bool ebcdic;
        std::vector<double> samples;
    };
    const std::vector<Case> cases = {
        {"IBM float, big-endian, EBCDIC header", 1, false, true, {0.5, -118.625, 100, 0}},
        {"IBM float, little-endian", 1, true, true, {0.5, -118.625, 100, 0}},
        {"IEEE float, big-endian, ASCII header", 5, false, false, {0.25, -3.5, 1e6, 0}},
        {"IEEE float, little-endian", 5, true, false, {0.25, -3.5, 1e6, 0}},
        {"32-bit integers", 2, false, true, {7, -2000000, 0, 1}},
        {"16-bit integers, little-endian", 3, true, true, {7, -32768, 32767, 1}},
        {"bytes", 8, false, true, {7, -128, 127, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SegyTestFile file = oneTrace(c.formatCode, c.samples);
        file.littleEndian = c.littleEndian;
        file.ebcdic = c.ebcdic;
        const std::string bytes = segyBytes(file);
        EXPECT_TRUE(looksLikeSegy(bytes));
        SegyReader reader(write(bytes));
        EXPECT_EQ(reader.layout().formatCode, c.formatCode);
        EXPECT_EQ(reader.layout().littleEndian, c.littleEndian);
        EXPECT_EQ(reader.layout().traceCount, 1);
        EXPECT_EQ(reader.readTrace(0).amplitudes, c.samples);
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
         "sample format code 4"},
        {"no sample count", withFile([](SegyTestFile& f) {
             f.samples = 0;
             f.traces[0].sampleCount = 0;
         }),
         "give 0 samples per trace"},
        {"absurd sample count", withFile([](SegyTestFile& f) { f.samples = 65000; }),
         "samples per trace"},
        {"negative interval", withFile([](SegyTestFile& f) { f.intervalUs = -20; }),
         "negative sample interval"},
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
}

} // namespace
} // namespace quarvel::testing
