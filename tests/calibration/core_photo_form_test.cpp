#include "calibration/core_photo_form.h"
#include "calibration/core_photo_loader.h"
#include "formats/quarvel_error.h"
#include "platform/image_panel.h"
#include "support/app_fixture.h"
#include "workspace/main_form.h"

#include <QAction>
#include <QBuffer>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using testing::AppFixture;

QByteArray bitmapBytes(int width, int height, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xff336699);
    image = image.convertToFormat(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "BMP"));
    return bytes;
}

std::string decodeError(const QByteArray& bytes) {
    try {
        decodeCorePhotograph(bytes);
    } catch (const QuarvelError& e) {
        return e.what();
    }
    return "loaded";
}

// A bitmap header that claims the given size over no pixel data.
QByteArray claimedSize(int width, int height) {
    QByteArray bytes = bitmapBytes(1, 1).left(54);
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = static_cast<char>((width >> (8 * i)) & 0xff);
        bytes[22 + i] = static_cast<char>((height >> (8 * i)) & 0xff);
    }
    return bytes;
}

TEST(CorePhotoLoader, ReadsWindowsBitmaps) {
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888,
                                  QImage::Format_Indexed8, QImage::Format_Mono}) {
        SCOPED_TRACE(static_cast<int>(format));
        const QImage image = decodeCorePhotograph(bitmapBytes(160, 37, format));
        EXPECT_EQ(image.size(), QSize(160, 37));
    }
    EXPECT_EQ(decodeCorePhotograph(bitmapBytes(3, 2)).pixel(2, 1), 0xff336699u);
}

TEST(CorePhotoLoader, RefusesWhatIsNotACompleteBitmap) {
    const QByteArray whole = bitmapBytes(50, 300, QImage::Format_RGB888);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(4, 4, QImage::Format_RGB32).save(&buffer, "PNG");
    QByteArray garbage(5000, '\x7f');
    garbage.replace(0, 2, "BM");
    const struct {
        const char* name;
        QByteArray bytes;
    } cases[] = {
        {"empty", QByteArray()},
        {"header cut short", whole.left(30)},
        {"no pixel rows", whole.left(54)},
        {"half the rows", whole.left(whole.size() / 2)},
        {"one byte missing", whole.left(whole.size() - 1)},
        {"a PNG", png},
        {"text", QByteArray("0\r\n1000\r\n")},
        {"BM and garbage", garbage},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeError(c.bytes), "Bitmap image is not valid");
    }
}

TEST(CorePhotoLoader, RefusesHugeBitmapsBeforeAllocating) {
    EXPECT_EQ(decodeError(claimedSize(100, 40000)),
              "Bitmap image is too large (100 x 40000 pixels; at most 32000 rows and 33554432 "
              "pixels in all)");
    EXPECT_NE(decodeError(claimedSize(30000, 30000)), "loaded");
    EXPECT_NE(decodeError(claimedSize(0x7fffffff, 0x7fffffff)), "loaded");
}

TEST(CorePhotoLoader, MissingFileOrFolderIsReportedByName) {
    testing::TempWorkDir dir;
    const QString missing = QString::fromStdString((dir.path() / "none.bmp").string());
    EXPECT_THROW(
        {
            try {
                loadCorePhotograph(missing);
            } catch (const QuarvelError& e) {
                EXPECT_EQ(std::string(e.what()), "Cannot open file \"" + missing.toStdString() +
                                                     "\". No such file or directory.");
                throw;
            }
        },
        QuarvelError);
    EXPECT_THROW(loadCorePhotograph(QString::fromStdString(dir.path().string())), QuarvelError);
}

class CorePhotoForm : public AppFixture {
protected:
    TCore_Photo_Form& form() const { return *forms().Core_Photo_Form; }
    std::string bndFileName() const { return ws().BndFileName; }
    QString workFile(const char* name) const {
        return QString::fromStdString(workDir.file(name).string());
    }
    void setFields(const Boundaries& b) { form().setBoundaries(b); }
};

TEST_F(CorePhotoForm, LayoutAndDefaults) {
    EXPECT_EQ(form().windowTitle(), "Core Photo Parameters");
    const char* captions[] = {"Top (mm)",       "Bottom (mm)",    "Left (mm)",
                              "Right (mm)",     "X min (pixels)", "X max (pixels)",
                              "Y min (pixels)", "Y max (pixels)"};
    const char* names[] = {"Top", "Bottom", "Left", "Right", "xmin", "xmax", "ymin", "ymax"};
    const char* defaults[] = {"0", "1000", "1", "1000", "25", "1000", "25", "1000"};
    for (int i = 0; i < 8; ++i) {
        SCOPED_TRACE(names[i]);
        auto* edit = child<QLineEdit>(&form(), names[i]);
        ASSERT_NE(edit, nullptr);
        auto* box = qobject_cast<QGroupBox*>(edit->parentWidget());
        ASSERT_NE(box, nullptr);
        EXPECT_EQ(box->title(), captions[i]);
        EXPECT_EQ(box->geometry(), QRect(0, 57 * i, 228, 57));
        EXPECT_EQ(edit->pos(), QPoint(16, 24));
        EXPECT_EQ(edit->width(), 121);
        EXPECT_EQ(edit->text(), defaults[i]);
    }
    const char* items[][2] = {
        {"LoadBoundaries1", "Load BND"}, {"SaveBoundaries1", "Save BND"}, {"Exit1", "Exit"}};
    for (const auto& [name, caption] : items) {
        auto* action = child<QAction>(&form(), name);
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), caption);
    }
}

TEST_F(CorePhotoForm, SaveWritesTheTextsAndBecomesTheBoundaryFile) {
    setFields(Boundaries::fromTexts({"0", " 12.5 ", "", "abc", "25", "1000", "25", "1000"}));
    dialogs.expectSaveFile(workFile("saved.BND"));
    form().show();
    child<QAction>(&form(), "SaveBoundaries1")->trigger();
    EXPECT_EQ(workDir.read("saved.BND"), "0\r\n 12.5 \r\n\r\nabc\r\n25\r\n1000\r\n25\r\n1000\r\n");
    EXPECT_EQ(bndFileName(), workFile("saved.BND").toStdString());
    EXPECT_EQ(child<QLabel>(&form(), "StatusPanel")->text(), "BND File :" + workFile("saved.BND"));
    EXPECT_TRUE(form().isVisible()) << "the window stays open after saving";
    EXPECT_EQ(dialogs.fileQuestions().back().filter, "BND Files|*.BND");
    EXPECT_EQ(dialogs.fileQuestions().back().defaultExtension, "bnd");

    dialogs.expectSaveFile(std::nullopt);
    workDir.write("saved.BND", "kept");
    child<QAction>(&form(), "SaveBoundaries1")->trigger();
    EXPECT_EQ(workDir.read("saved.BND"), "kept") << "cancel writes nothing";
}

TEST_F(CorePhotoForm, FailedSaveChangesNothing) {
    ws().BndFileName = "before.BND";
    child<QLabel>(&form(), "StatusPanel")->setText("before");
    const QString target = workFile("no-folder/x.BND");
    dialogs.expectSaveFile(target);
    errors.expectError("Cannot create file \"" + target + "\". No such file or directory.");
    child<QAction>(&form(), "SaveBoundaries1")->trigger();
    EXPECT_EQ(bndFileName(), "before.BND");
    EXPECT_EQ(child<QLabel>(&form(), "StatusPanel")->text(), "before");
}

TEST_F(CorePhotoForm, LoadFillsTheFieldsAndClosesKeepingTheBoundaryFileName) {
    workDir.write("other.BND", "10\r\n20\r\n30\r\n");
    ws().BndFileName = "photo.BND";
    child<QLabel>(&form(), "StatusPanel")->setText("BND File :photo.BND");
    dialogs.expectOpenFile(workFile("other.BND"));
    form().show();
    child<QAction>(&form(), "LoadBoundaries1")->trigger();
    EXPECT_EQ(form().boundaries().texts(),
              (std::array<std::string, 8>{"10", "20", "30", "", "", "", "", ""}));
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(bndFileName(), "photo.BND");
    EXPECT_EQ(child<QLabel>(&form(), "StatusPanel")->text(), "BND File :photo.BND");
    EXPECT_EQ(dialogs.fileQuestions().back().filter, "BND Files|*.BND");
}

TEST_F(CorePhotoForm, LoadOfAMissingFileEmptiesEveryField) {
    dialogs.expectOpenFile(workFile("typed-name.BND"));
    form().show();
    child<QAction>(&form(), "LoadBoundaries1")->trigger();
    EXPECT_EQ(form().boundaries(), Boundaries::empty());
    EXPECT_FALSE(form().isVisible());
}

TEST_F(CorePhotoForm, UnreadableOrCancelledLoadKeepsTheFields) {
    const Boundaries typed = Boundaries::fromTexts({"5", "6", "7", "8", "9", "10", "11", "12"});
    setFields(typed);
    form().show();
    workDir.write("binary.BND", std::string("1\r\n\0\0\xff", 6));
    dialogs.expectOpenFile(workFile("binary.BND"));
    errors.expectError("Cannot open file \"" + workFile("binary.BND") +
                       "\". It is not a text file.");
    child<QAction>(&form(), "LoadBoundaries1")->trigger();
    EXPECT_EQ(form().boundaries(), typed);
    EXPECT_TRUE(form().isVisible());

    dialogs.expectOpenFile(std::nullopt);
    child<QAction>(&form(), "LoadBoundaries1")->trigger();
    dialogs.expectOpenFile(QString());
    child<QAction>(&form(), "LoadBoundaries1")->trigger();
    EXPECT_EQ(form().boundaries(), typed);
    EXPECT_TRUE(form().isVisible());
}

TEST_F(CorePhotoForm, ExitClosesAndTheFieldsStay) {
    form().show();
    child<QLineEdit>(&form(), "Top")->setText("123");
    child<QAction>(&form(), "Exit1")->trigger();
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(child<QLineEdit>(&form(), "Top")->text(), "123");
}

TEST_F(CorePhotoForm, UpdateWithoutAFileProposesTheCorePanel) {
    ws().BndFileName = workFile("absent.BND").toStdString();
    setFields(Boundaries::fromTexts({"100", "900", "2", "3", "25", "1000", "25", "1000"}));
    form().show();
    EXPECT_FALSE(workspace().UpdateBoundaries(103, 432));
    EXPECT_EQ(form().boundaries().texts(),
              (std::array<std::string, 8>{"100", "900", "2", "3", "1", "103", "1", "432"}));
    EXPECT_EQ(child<QLabel>(&form(), "StatusPanel")->text(), "BND File not found ");
    EXPECT_TRUE(form().isVisible());
}

} // namespace
} // namespace quarvel
