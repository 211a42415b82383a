#include "calibration/boundaries.h"
#include "formats/quarvel_error.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <random>
#include <string>

namespace quarvel {
namespace {

namespace fs = std::filesystem;

class BoundaryFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::random_device seed;
        folder_ = fs::temp_directory_path() / ("quarvel-bnd-" + std::to_string(seed()));
        fs::create_directories(folder_);
    }
    void TearDown() override {
        std::error_code ignored;
        fs::remove_all(folder_, ignored);
    }
    fs::path path(const std::string& name) const { return folder_ / name; }
    void writeRaw(const fs::path& file, const std::string& bytes) const {
        std::ofstream out(file, std::ios::binary);
        out << bytes;
    }
    static std::string readRaw(const fs::path& file) {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    fs::path folder_;
};

TEST_F(BoundaryFiles, DefaultsAreWrittenAsEightCrLfLines) {
    writeBoundaryFile(path("core.BND"), Boundaries{});
    EXPECT_EQ(readRaw(path("core.BND")), "0\r\n1000\r\n1\r\n1000\r\n25\r\n1000\r\n25\r\n1000\r\n");
}

TEST_F(BoundaryFiles, SaveThenLoadRestoresEveryTextExactly) {
    const Boundaries typed =
        Boundaries::fromTexts({" 12.5", "", "abc", "1e3 ", "  ", "-7", "x y z", "\t1000"});
    writeBoundaryFile(path("typed.bnd"), typed);
    EXPECT_EQ(readBoundaryFile(path("typed.bnd")), typed);
}

TEST_F(BoundaryFiles, LinesBecomeFieldsInFileOrder) {
    struct Case {
        const char* name;
        std::string bytes;
        std::array<std::string, 8> fields;
    };
    const std::vector<Case> cases = {
        {"fewer lines leave the rest empty",
         "5\r\n6\r\n7\r\n",
         {"5", "6", "7", "", "", "", "", ""}},
        {"last line without a break",
         "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8",
         {"1", "2", "3", "4", "5", "6", "7", "8"}},
        {"lines after the eighth are ignored",
         "1\n2\n3\n4\n5\n6\n7\n8\n9\n10\n",
         {"1", "2", "3", "4", "5", "6", "7", "8"}},
        {"bare CR and LF end lines too",
         "a\rb\nc\r\nd\r\r\nf\n",
         {"a", "b", "c", "d", "", "f", "", ""}},
        {"an empty file empties every field", "", {"", "", "", "", "", "", "", ""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        writeRaw(path("case.BND"), c.bytes);
        EXPECT_EQ(readBoundaryFile(path("case.BND")).texts(), c.fields);
    }
}

TEST_F(BoundaryFiles, MissingFileReadsAsEmpty) {
    EXPECT_EQ(readBoundaryFile(path("nowhere.BND")), Boundaries::empty());
}

TEST_F(BoundaryFiles, UnreadableFilesAreReportedNotLoaded) {
    writeRaw(path("binary.BND"), std::string("10\r\n\0\x01\x02\r\n", 8));
    fs::create_directory(path("folder.BND"));
    writeRaw(path("huge.BND"), std::string(MaxBoundaryFileBytes + 1, '7'));
    for (const char* name : {"binary.BND", "folder.BND", "huge.BND"}) {
        SCOPED_TRACE(name);
        try {
            readBoundaryFile(path(name));
            ADD_FAILURE() << "read without error";
        } catch (const QuarvelError& e) {
            EXPECT_EQ(std::string(e.what()).rfind(
                          "Cannot open file \"" + path(name).string() + "\". ", 0),
                      0u)
                << e.what();
        }
    }
}

TEST_F(BoundaryFiles, SaveIntoAMissingFolderIsReported) {
    const fs::path target = path("no-such-folder") / "new.BND";
    try {
        writeBoundaryFile(target, Boundaries{});
        ADD_FAILURE() << "saved without error";
    } catch (const QuarvelError& e) {
        EXPECT_EQ(
            std::string(e.what()).rfind("Cannot create file \"" + target.string() + "\". ", 0), 0u)
            << e.what();
    }
}

TEST_F(BoundaryFiles, PhotographFindsItsBoundaryFile) {
    EXPECT_EQ(boundaryFileFor(path("core.bmp")), path("core.BND")) << "none there: the .BND name";
    writeRaw(path("lower.bnd"), "");
    EXPECT_EQ(boundaryFileFor(path("lower.bmp")), path("lower.bnd"));
    writeRaw(path("both.BND"), "");
    writeRaw(path("both.bnd"), "");
    EXPECT_EQ(boundaryFileFor(path("both.BMP")), path("both.BND")) << "the exact name comes first";
    EXPECT_EQ(boundaryFileFor(path("noext")), path("noext.BND"));
    EXPECT_EQ(boundaryFileFor(path("dotted.name.bmp")), path("dotted.name.BND"));
    fs::create_directory(path("dir.BND"));
    EXPECT_EQ(boundaryFileFor(path("dir.bmp")), path("dir.BND"));
    EXPECT_FALSE(boundaryFileExists(path("dir.BND"))) << "a folder is no boundary file";
}

} // namespace
} // namespace quarvel
