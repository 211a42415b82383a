// Boundary fields that cannot be used: named once at load, and once on the
// moves over the photograph until the field changes.
#include "main_window/photo_fixture.h"

#include <QLabel>
#include <QLineEdit>

namespace quarvel {
namespace {

using testing::Photo;

constexpr const char* NotWholeYmax = "\"Y max (pixels)\" holds 'ten': it needs a whole number "
                                     "of pixels.";

class PhotoBoundaries : public Photo {
protected:
    QLineEdit* field(const char* name) const { return child<QLineEdit>(bounds, name); }
    std::size_t reported() const { return errors.messages().size(); }
    QString fileMessage(const char* bnd, const QStringList& problems) const {
        return "The boundary file \"" + QString::fromStdString(workDir.file(bnd).string()) +
               "\" holds values that cannot be used; the fields keep them until they are "
               "corrected:\n" +
               problems.join('\n');
    }
    // Loads the photograph beside core.BND, which has a wrong Bottom and Y max.
    void loadTold(const QString& path) {
        dialogs.expectOpenFile(path);
        dialogs.expectWarning(fileMessage(
            "core.BND",
            {"\"Bottom (mm)\" holds 'abc': it needs a number of millimetres.", NotWholeYmax}));
        widgets.LoadCorePhoto1->trigger();
    }
};

TEST_F(PhotoBoundaries, AFailingFieldIsReportedOnceUntilItsTextChanges) {
    loadToProbe("once.bmp", 103, 600);
    haveLog();
    move(40, 512);
    const QString status = widgets.StatusPanel1->text();

    field("ymax")->setText("ten");
    errors.expectError(NotWholeYmax);
    move(40, 100);
    move(40, 200);
    move(40, 300);
    EXPECT_EQ(reported(), 1U) << "three moves, one message";
    EXPECT_EQ(widgets.StatusPanel1->text(), status) << "no read-out from a field that failed";

    field("Top")->setText("5");
    move(40, 150);
    EXPECT_EQ(reported(), 1U) << "another field's change does not re-arm it";

    field("ymax")->setText("tens");
    errors.expectError("\"Y max (pixels)\" holds 'tens': it needs a whole number of pixels.");
    move(40, 250);
    move(40, 350);
    EXPECT_EQ(reported(), 2U);

    // Corrected, the read-out works; the same mistake again is told again.
    field("ymax")->setText("1000");
    move(40, 512);
    EXPECT_NE(widgets.StatusPanel1->text(), status);
    field("ymax")->setText("ten");
    errors.expectError(NotWholeYmax);
    move(40, 100);
    move(40, 200);
    EXPECT_EQ(reported(), 3U);

    // Equal rows are one problem of both fields: either one re-arms it.
    field("ymax")->setText("25");
    errors.expectError("\"Y min (pixels)\" and \"Y max (pixels)\" are both 25: they must differ "
                       "to give the rows between them depths.");
    move(40, 120);
    move(40, 220);
    field("ymin")->setText(" 25");
    errors.expectError("\"Y min (pixels)\" and \"Y max (pixels)\" are both 25: they must differ "
                       "to give the rows between them depths.");
    move(40, 320);
    move(40, 420);
    EXPECT_EQ(reported(), 5U);
}

TEST_F(PhotoBoundaries, TheBoundaryFilesNameTheWrongFieldsOnceAndTheyStay) {
    // Load BND with a short file: the fields it lacks are named in one
    // message, keep their (empty) texts, and the window stays open for them.
    workDir.write("short.BND", "0\r\n1000\r\n1\r\n1000\r\n25\r\n1000\r\n");
    bounds->show();
    dialogs.expectOpenFile(QString::fromStdString(workDir.file("short.BND").string()));
    dialogs.expectWarning(
        fileMessage("short.BND", {"\"Y min (pixels)\" is empty: it needs a whole number of "
                                  "pixels.",
                                  "\"Y max (pixels)\" is empty: it needs a whole number of "
                                  "pixels."}));
    child<QAction>(bounds, "LoadBoundaries1")->trigger();
    EXPECT_EQ(field("ymin")->text(), "");
    EXPECT_EQ(field("xmax")->text(), "1000");
    EXPECT_TRUE(bounds->isVisible());

    // A photograph with its own broken .BND: told at the load, and the moves
    // over it stay quiet about what was told.
    const QString path = writePhoto("core.bmp", 103, 600);
    workDir.write("core.BND", "0\r\nabc\r\n1\r\n1000\r\n25\r\n1000\r\n25\r\nten\r\n");
    loadTold(path);
    EXPECT_EQ(field("ymax")->text(), "ten");
    EXPECT_TRUE(bounds->isVisible()) << "open to correct them";
    bounds->close();
    loadThreeRecordLog();
    move(40, 100);
    move(40, 200);
    EXPECT_EQ(reported(), 0U);

    // Loading it again tells it again, once.
    loadTold(path);
    bounds->close();
    move(40, 300);
    EXPECT_EQ(reported(), 0U);
    EXPECT_TRUE(dialogs.allAnswered());
}

// A mistyped name in Load BND used to empty all eight fields.
TEST_F(PhotoBoundaries, LoadBndOfAMissingFileKeepsTheFields) {
    const Boundaries typed = Boundaries::fromTexts({"5", "6", "7", "8", "9", "10", "11", "12"});
    bounds->setBoundaries(typed);
    bounds->show();
    const QString missing = QString::fromStdString(workDir.file("typo.BND").string());
    dialogs.expectOpenFile(missing);
    errors.expectError("Cannot open file \"" + missing + "\". No such file or directory.");
    child<QAction>(bounds, "LoadBoundaries1")->trigger();
    EXPECT_EQ(bounds->boundaries(), typed);
    EXPECT_TRUE(bounds->isVisible());
}

} // namespace
} // namespace quarvel
