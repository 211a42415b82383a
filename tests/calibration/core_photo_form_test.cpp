#include "calibration/core_photo_form.h"
#include "main_window/main_form.h"
#include "platform/image_panel.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using testing::AppFixture;

class CorePhotoForm : public AppFixture {
protected:
    TCore_Photo_Form& form() const { return *forms().Core_Photo_Form; }
    std::string bndFileName() const { return workspace().calibration().boundaryFile(); }
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
        {"LoadBoundaries1", "&Load BND"}, {"SaveBoundaries1", "&Save BND"}, {"Exit1", "E&xit"}};
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
    child<QLabel>(&form(), "StatusPanel")->setText("before");
    const QString target = workFile("no-folder/x.BND");
    dialogs.expectSaveFile(target);
    errors.expectError("Cannot create file \"" + target + "\". No such file or directory.");
    child<QAction>(&form(), "SaveBoundaries1")->trigger();
    EXPECT_EQ(bndFileName(), "") << "still none";
    EXPECT_EQ(child<QLabel>(&form(), "StatusPanel")->text(), "before");
}

TEST_F(CorePhotoForm, LoadFillsTheFieldsAndClosesKeepingTheBoundaryFileName) {
    workDir.write("other.BND", "10\r\n20\r\n30\r\n\r\n1\r\n90\r\n2\r\n600\r\n");
    child<QLabel>(&form(), "StatusPanel")->setText("BND File :photo.BND");
    dialogs.expectOpenFile(workFile("other.BND"));
    form().show();
    child<QAction>(&form(), "LoadBoundaries1")->trigger();
    EXPECT_EQ(form().boundaries().texts(),
              (std::array<std::string, 8>{"10", "20", "30", "", "1", "90", "2", "600"}));
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(bndFileName(), "") << "a file read is not the photograph's";
    EXPECT_EQ(child<QLabel>(&form(), "StatusPanel")->text(), "BND File :photo.BND");
    EXPECT_EQ(dialogs.fileQuestions().back().filter, "BND Files|*.BND");
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
    setFields(Boundaries::fromTexts({"100", "900", "2", "3", "25", "1000", "25", "1000"}));
    form().show();
    EXPECT_FALSE(workspace().calibration().UpdateBoundaries(103, 432));
    EXPECT_EQ(form().boundaries().texts(),
              (std::array<std::string, 8>{"100", "900", "2", "3", "1", "103", "1", "432"}));
    EXPECT_EQ(child<QLabel>(&form(), "StatusPanel")->text(), "BND File not found ");
    EXPECT_TRUE(form().isVisible());
}

} // namespace
} // namespace quarvel
