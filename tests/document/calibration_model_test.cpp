// The photograph's calibration as the document keeps it: the conversions of
// its texts, the boundary file it belongs to and what is told about it.
#include "document/calibration_model.h"
#include "formats/quarvel_error.h"
#include "support/temp_work_dir.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using testing::TempWorkDir;

class CalibrationModelTest : public ::testing::Test {
protected:
    CalibrationModelTest() {
        QObject::connect(&model, &CalibrationModel::changed,
                         [this] { names.emplace_back("texts"); });
        QObject::connect(&model, &CalibrationModel::statusChanged,
                         [this] { names.emplace_back("status"); });
    }

    TempWorkDir dir;
    CalibrationModel model;
    std::vector<std::string> names;
};

// Each calibration field is converted by the rule of the one who uses it.
TEST_F(CalibrationModelTest, TextsConvertByTheirRules) {
    model.setBoundaries(Boundaries::fromTexts({"100", "900", "", "", "5", "60", "20", "420"}));
    EXPECT_EQ(model.probeBounds(), (PixelBounds{5, 60, 20, 420}));
    // 800 mm over 400 rows: row offset 200 is 500 mm.
    EXPECT_DOUBLE_EQ(model.probeDepth(20, 420, 200, -1.0), 0.5);

    // The read-out's rule: Top by its numeric prefix, a Bottom that is no
    // number leaves the previous depth.
    model.setBoundaries(Boundaries::fromTexts({"100mm", "900", "", "", "5", "60", "20", "420"}));
    EXPECT_DOUBLE_EQ(model.probeDepth(20, 420, 200, -1.0), 0.5);
    model.setBoundaries(Boundaries::fromTexts({"100", "9x", "", "", "5", "6O", "20", "420"}));
    EXPECT_DOUBLE_EQ(model.probeDepth(20, 420, 200, -1.0), -1.0);
    // The pixel fields must be whole numbers: told once, then nothing.
    EXPECT_THROW(model.probeBounds(), QuarvelError);
    EXPECT_EQ(model.probeBounds(), std::nullopt);
}

TEST_F(CalibrationModelTest, UpdateBoundariesReadsThePhotographsFileOrProposesThePanel) {
    dir.write("core.BND", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    model.photographLoaded(dir.file("core.bmp"));
    EXPECT_TRUE(model.UpdateBoundaries(103, 432));
    EXPECT_EQ(model.boundaries().texts(),
              (std::array<std::string, 8>{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(model.status().toStdString(), "BND File :" + dir.file("core.BND").string());

    model.photographLoaded(dir.file("absent.bmp"));
    EXPECT_FALSE(model.UpdateBoundaries(103, 432));
    EXPECT_EQ(model.boundaries().texts(),
              (std::array<std::string, 8>{"1", "2", "3", "4", "1", "103", "1", "432"}));
    EXPECT_EQ(model.status(), "BND File not found ");
    EXPECT_EQ(names, (std::vector<std::string>{"texts", "status", "texts", "status"}));
}

TEST_F(CalibrationModelTest, OnlyABoundaryFileWrittenBecomesTheCurrentOne) {
    model.photographLoaded(dir.file("before.bmp"));
    EXPECT_THROW(model.save(dir.file("no-folder/x.BND")), QuarvelError);
    EXPECT_EQ(model.boundaryFile(), dir.file("before.BND").string());
    EXPECT_TRUE(model.status().isEmpty());

    model.save(dir.file("saved.BND"));
    EXPECT_EQ(model.boundaryFile(), dir.file("saved.BND").string());
    EXPECT_EQ(dir.read("saved.BND"), boundaryFileText(Boundaries{}));
    EXPECT_EQ(names, std::vector<std::string>{"status"});
}

} // namespace
} // namespace quarvel
