#include "calibration/core_photo_form.h"
#include "main_window/main_form.h"
#include "main_window/photo_fixture.h"
#include "platform/image_panel.h"
#include "plot/scale_forms.h"
#include "probe/depth_twt.h"

#include <QAction>
#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QScrollArea>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using testing::Photo;
using namespace testing::photo_colours;

TEST_F(Photo, LoadWithItsBoundaryFile) {
    const QString path = writePhoto("core.bmp", 160, 640);
    workDir.write("core.bnd", "100\r\n1100\r\nL\r\nR\r\n2\r\n90\r\n10\r\n630\r\n");
    load(path);
    EXPECT_EQ(widgets.core_image->panelWidth(), 103);
    EXPECT_EQ(widgets.core_image->panelHeight(), 640);
    EXPECT_EQ(picture(widgets.core_image).size(), QSize(160, 640)) << "shown unscaled";
    EXPECT_EQ(workspace().photograph().fileName(), path.toStdString());
    const QString bnd = QString::fromStdString(workDir.file("core.bnd").string());
    EXPECT_EQ(workspace().calibration().boundaryFile(), bnd.toStdString());
    EXPECT_EQ(bounds->boundaries().texts(),
              (std::array<std::string, 8>{"100", "1100", "L", "R", "2", "90", "10", "630"}));
    EXPECT_EQ(child<QLabel>(bounds, "StatusPanel")->text(), "BND File :" + bnd);
    EXPECT_FALSE(bounds->isVisible());
    for (QObject* control : std::initializer_list<QObject*>{
             widgets.SpeedButton2, widgets.SaveToFile1, widgets.ables1, widgets.Photo})
        EXPECT_TRUE(control->property("enabled").toBool()) << control->objectName().toStdString();
    EXPECT_TRUE(widgets.Photo->isChecked());
    EXPECT_EQ(dialogs.fileQuestions().back().filter, "Bitmap Files|*.BMP");
    EXPECT_EQ(dialogs.fileQuestions().back().defaultExtension, "bmp");
}

TEST_F(Photo, LoadWithoutABoundaryFile) {
    child<QLineEdit>(bounds, "Top")->setText("7");
    load(writePhoto("bare.BMP", 80, 321));
    EXPECT_EQ(workspace().calibration().boundaryFile(), workDir.file("bare.BND").string());
    EXPECT_EQ(bounds->boundaries().texts(),
              (std::array<std::string, 8>{"7", "1000", "1", "1000", "1", "103", "1", "321"}));
    EXPECT_EQ(child<QLabel>(bounds, "StatusPanel")->text(), "BND File not found ");
    EXPECT_TRUE(bounds->isVisible());
    EXPECT_TRUE(widgets.SpeedButton2->isEnabled());
}

// Left open behind the main window from before, the boundaries window comes
// to the front when a photograph without a boundary file needs its values.
TEST_F(Photo, BoundariesWindowComesToTheFrontWhenItsValuesAreNeeded) {
    widgets.CoreImageBoundaries1->trigger();
    ASSERT_TRUE(QTest::qWaitFor([&] { return bounds->isActiveWindow(); }));
    main->activateWindow();
    ASSERT_TRUE(QTest::qWaitFor([&] { return main->isActiveWindow(); }));
    load(writePhoto("front.bmp", 80, 300));
    EXPECT_TRUE(QTest::qWaitFor([&] { return bounds->isActiveWindow(); }));
}

TEST_F(Photo, UnreadableBoundaryFileKeepsTheFieldsButNotThePhotograph) {
    const Boundaries typed = Boundaries::fromTexts({"1", "2", "3", "4", "5", "6", "7", "8"});
    bounds->setBoundaries(typed);
    const QString path = writePhoto("locked.bmp", 90, 250);
    workDir.write("locked.BND", std::string("\0\0binary", 8));
    errors.expectError("Cannot open file \"" +
                       QString::fromStdString(workDir.file("locked.BND").string()) +
                       "\". It is not a text file.");
    load(path);
    EXPECT_EQ(bounds->boundaries(), typed);
    EXPECT_EQ(widgets.core_image->panelHeight(), 250) << "the photograph itself is in";
    EXPECT_TRUE(widgets.SpeedButton2->isEnabled());
    EXPECT_TRUE(widgets.Photo->isEnabled());
}

TEST_F(Photo, CancelChangesNothing) {
    load(std::nullopt);
    EXPECT_FALSE(widgets.core_image->hasPicture());
    EXPECT_FALSE(widgets.SpeedButton2->isEnabled());
    EXPECT_FALSE(widgets.Photo->isEnabled());
    EXPECT_FALSE(bounds->isVisible());

    load(writePhoto("first.bmp", 120, 300));
    widgets.correlator->setChecked(true);
    click(40, 150);
    child<QLineEdit>(bounds, "ymax")->setText("typed");
    const QImage withMark = picture(widgets.core_image);
    load(std::nullopt);
    EXPECT_EQ(picture(widgets.core_image), withMark);
    EXPECT_EQ(child<QLineEdit>(bounds, "ymax")->text(), "typed");
    EXPECT_EQ(workspace().photograph().fileName(), workDir.file("first.bmp").string());
}

TEST_F(Photo, BrokenPhotographChangesNothing) {
    const QString good = writePhoto("good.bmp", 120, 300);
    load(good);
    const QImage before = picture(widgets.core_image);
    bounds->setBoundaries(Boundaries::fromTexts({"a", "b", "c", "d", "e", "f", "g", "h"}));
    const std::string bndBefore = workspace().calibration().boundaryFile();

    workDir.write("broken.bmp", "BM this is no bitmap");
    workDir.write("broken.BND", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    errors.expectError(
        QString::fromStdString("Cannot open file \"" + workDir.file("broken.bmp").string() +
                               "\". Bitmap image is not valid: its header is cut short."));
    load(QString::fromStdString(workDir.file("broken.bmp").string()));
    EXPECT_EQ(picture(widgets.core_image), before);
    EXPECT_EQ(widgets.core_image->panelHeight(), 300);
    EXPECT_EQ(workspace().calibration().boundaryFile(), bndBefore);
    EXPECT_EQ(child<QLineEdit>(bounds, "Top")->text(), "a");
    EXPECT_EQ(workspace().photograph().fileName(), good.toStdString())
        << "the next plot's title stays right";
}

TEST_F(Photo, FirstPhotographThatFailsEnablesNothing) {
    const QString missing = QString::fromStdString(workDir.file("gone.bmp").string());
    errors.expectError("Cannot open file \"" + missing + "\". No such file or directory.");
    load(missing);
    EXPECT_FALSE(widgets.core_image->hasPicture());
    EXPECT_FALSE(widgets.SpeedButton2->isEnabled());
    EXPECT_FALSE(bounds->isVisible());
}

TEST_F(Photo, ReadOutsOverThePhotograph) {
    loadToProbe("probe.bmp", 160, 640);
    haveLog();
    move(40, 512);
    EXPECT_EQ(widgets.StatusPanel0->text(), "Image: (40, 512)  R:51  G:102  B:153");
    EXPECT_EQ(widgets.StatusPanel1->text(), "Depth :0.4995 m    Est. TWT:0.667 msec");
    EXPECT_EQ(widgets.Edit2->text(), "1500.00");
    EXPECT_EQ(widgets.Edit3->text(), "1.700");
    EXPECT_NEAR(workspace().probe().reading().estTwt, 0.6667, 1e-4);

    move(40, 3);
    EXPECT_EQ(widgets.StatusPanel1->text(), "Depth :-0.0226 m    Est. TWT:0.000 msec")
        << "above ymin: negative depth, the time of 0 m";
    EXPECT_EQ(widgets.Edit2->text(), "1500.00");

    workspace().startOver();
    move(40, 512);
    EXPECT_EQ(widgets.StatusPanel1->text(), "Depth :0.4995 m    Est. TWT:0.000 msec");
    EXPECT_EQ(widgets.Edit2->text(), "");
    EXPECT_EQ(widgets.Edit3->text(), "");
}

TEST_F(Photo, BadBoundariesStopTheReadOut) {
    loadToProbe("bad.bmp", 103, 600);
    haveLog();
    move(40, 512);
    const QString status = widgets.StatusPanel1->text();
    widgets.correlator->setChecked(true);
    child<QLineEdit>(bounds, "ymin")->setText("abc");
    errors.expectError("\"Y min (pixels)\" holds 'abc': it needs a whole number of pixels.");
    move(40, 100);
    EXPECT_EQ(widgets.StatusPanel1->text(), status);
    EXPECT_EQ(pixel(widgets.core_image, 50, 100), Inverted) << "the guide moved first";

    bounds->setBoundaries(Boundaries::fromTexts({"0", "1000", "1", "1", "25", "1000", "25", "25"}));
    errors.expectError("\"Y min (pixels)\" and \"Y max (pixels)\" are both 25: they must "
                       "differ to give the rows between them depths.");
    move(40, 200);
    EXPECT_EQ(widgets.StatusPanel1->text(), status);
}

TEST_F(Photo, GuideLineFollowsThePointerInNotXor) {
    loadToProbe("guide.bmp", 160, 600);
    haveLog();
    widgets.correlator->setChecked(true);
    move(40, 100);
    EXPECT_EQ(pixel(widgets.core_image, 50, 100), Inverted);
    EXPECT_EQ(pixel(widgets.core_image, 1, 100), Inverted);
    EXPECT_EQ(pixel(widgets.core_image, 101, 100), Inverted);
    EXPECT_EQ(pixel(widgets.core_image, 0, 100), PhotoColour);
    EXPECT_EQ(pixel(widgets.core_image, 102, 100), PhotoColour);
    move(40, 120);
    EXPECT_EQ(pixel(widgets.core_image, 50, 100), PhotoColour) << "restored by the next move";
    EXPECT_EQ(pixel(widgets.core_image, 50, 120), Inverted);
    EXPECT_EQ(workspace().probe().guideRow(), 120);
}

TEST_F(Photo, NoGuideWithoutALogOrWithPhotoUnchecked) {
    loadToProbe("noguide.bmp", 160, 600);
    widgets.correlator->setChecked(true);
    const QImage before = picture(widgets.core_image);
    move(40, 100);
    EXPECT_EQ(picture(widgets.core_image), before) << "no log loaded yet";
    haveLog();
    widgets.Photo->setChecked(false);
    move(40, 110);
    EXPECT_EQ(picture(widgets.core_image), before);
}

TEST_F(Photo, AClickLeavesABlackLine) {
    loadToProbe("click.bmp", 160, 600);
    haveLog();
    widgets.correlator->setChecked(true);
    move(40, 200);
    click(40, 200);
    move(40, 260);
    for (int x = 1; x <= 101; ++x)
        ASSERT_EQ(pixel(widgets.core_image, x, 200), Black) << "column " << x;
    EXPECT_EQ(pixel(widgets.core_image, 0, 200), PhotoColour);
    EXPECT_EQ(pixel(widgets.core_image, 102, 200), PhotoColour);
    EXPECT_EQ(pixel(widgets.core_image, 50, 260), Inverted);
}

// The guide follows the pointer and is no part of the picture: the released
// row shows in the plot as the black mark it is, the photograph elsewhere as
// it was.
TEST_F(Photo, TheFinalPlotLeavesOutTheGuideLine) {
    loadToProbe("plot.bmp", 160, 600);
    haveLog();
    widgets.correlator->setChecked(true);
    move(40, 200);
    click(40, 200);
    ASSERT_EQ(pixel(widgets.core_image, 50, 200), White) << "the released row shows inverted";
    widgets.SpeedButton2->click();
    const QImage plot = workspace().finalPlot().image();
    constexpr int PlotLeft = 50;
    constexpr int PlotTop = 50;
    for (const int row : {0, 199, 201, 599}) {
        EXPECT_EQ(plot.pixel(PlotLeft + 50, PlotTop + row), PhotoColour) << "row " << row;
    }
    EXPECT_EQ(plot.pixel(PlotLeft + 50, PlotTop + 200), Black);
}

TEST_F(Photo, CorrelatorOffDrawsNothingButStillReadsOut) {
    loadToProbe("off.bmp", 160, 600);
    haveLog();
    const QImage before = picture(widgets.core_image);
    widgets.Synth->setChecked(true);
    click(40, 512);
    move(40, 512);
    EXPECT_EQ(picture(widgets.core_image), before);
    EXPECT_FALSE(widgets.Grafico_sintetico->hasPicture());
    EXPECT_EQ(widgets.StatusPanel1->text(), "Depth :0.4995 m    Est. TWT:0.667 msec");
}

TEST_F(Photo, MarksAndLabelsOnlyOnTheCheckedPanels) {
    loadToProbe("marks.bmp", 160, 600);
    haveLog();
    for (ImagePanel* panel :
         {widgets.Grafico_sintetico, widgets.Grafico_velocita, widgets.grafico_densita})
        whitePanel(panel);
    const QImage photoBefore = picture(widgets.core_image);
    const QImage blank = picture(widgets.Grafico_velocita);
    widgets.correlator->setChecked(true);
    widgets.Photo->setChecked(false);
    widgets.Synth->setChecked(true);
    widgets.density->setChecked(true);
    move(40, 512);
    click(40, 200);
    EXPECT_EQ(picture(widgets.core_image), photoBefore);
    EXPECT_EQ(picture(widgets.Grafico_sintetico), marked(blank, 200, "0.4995"));
    EXPECT_EQ(picture(widgets.grafico_densita), marked(blank, 200, "0.4995"));
    EXPECT_EQ(picture(widgets.Grafico_velocita), blank);
    EXPECT_EQ(pixel(widgets.Grafico_sintetico, 149, 200), Black);
    EXPECT_EQ(pixel(widgets.Grafico_sintetico, 150, 200), White);
}

TEST_F(Photo, TraceMarkIsPlacedByTime) {
    loadToProbe("trace.bmp", 160, 600);
    haveLog();
    loadTrace(0.0, 60.0);
    whitePanel(widgets.Grafico_traccia);
    const QImage blank = picture(widgets.Grafico_traccia);
    widgets.correlator->setChecked(true);
    widgets.Photo->setChecked(false);
    widgets.Trace->setChecked(true);
    move(40, 512);
    click(40, 512);
    EXPECT_NEAR(workspace().tie().tiePoints().back().traceTwt.value(), 0.6667, 1e-4);
    EXPECT_EQ(picture(widgets.Grafico_traccia), marked(blank, 6, "0.667 (0.4995)"))
        << "0.6667 ms at 0.1 ms per row";
}

TEST_F(Photo, TraceWithoutTimeSpanFailsAfterTheOtherMarks) {
    loadToProbe("span.bmp", 160, 600);
    haveLog();
    whitePanel(widgets.Grafico_sintetico);
    const QImage blank = picture(widgets.Grafico_sintetico);
    widgets.correlator->setChecked(true);
    widgets.Synth->setChecked(true);
    widgets.Trace->setChecked(true);
    move(40, 512);
    errors.expectError(QString::fromUtf8(depth_twt::NoTraceToMark));
    click(40, 300);
    EXPECT_EQ(picture(widgets.Grafico_sintetico), marked(blank, 300, "0.4995"));
    EXPECT_FALSE(widgets.Grafico_traccia->hasPicture()) << "the trace gets no mark";
    for (int x = 1; x <= 101; ++x)
        ASSERT_EQ(pixel(widgets.core_image, x, 300), White) << "the released row is the guide";
    move(40, 400);
    for (int x = 1; x <= 101; ++x)
        ASSERT_EQ(pixel(widgets.core_image, x, 300), Black) << "column " << x;
    EXPECT_EQ(pixel(widgets.core_image, 50, 512), PhotoColour);
}

// On a display, the message box of a failing press takes the release; the
// mark must still end black, not as an inverted row the next move leaves.
TEST_F(Photo, PressWhoseReleaseGoesElsewhereLeavesABlackLine) {
    loadToProbe("lost.bmp", 160, 600);
    haveLog();
    widgets.correlator->setChecked(true);
    widgets.Trace->setChecked(true);
    move(40, 300);
    errors.expectError(QString::fromUtf8(depth_twt::NoTraceToMark));
    QTest::mousePress(widgets.core_image, Qt::LeftButton, {}, QPoint(40, 300));
    QTest::mouseRelease(widgets.Panel1, Qt::LeftButton, {}, QPoint(5, 5));
    move(40, 350);
    for (int x = 1; x <= 101; ++x)
        ASSERT_EQ(pixel(widgets.core_image, x, 300), Black) << "column " << x;
    EXPECT_EQ(pixel(widgets.core_image, 50, 350), Inverted);
}

// The sequence a display delivers for a double click: press, release,
// double click (the second press), release. It marks once, like a click.
TEST_F(Photo, DoubleClickEndsLikeAClick) {
    loadToProbe("double.bmp", 160, 600);
    haveLog();
    whitePanel(widgets.Grafico_velocita);
    const QImage blank = picture(widgets.Grafico_velocita);
    widgets.correlator->setChecked(true);
    widgets.Pwave->setChecked(true);
    move(40, 200);
    click(40, 200);
    QTest::mouseDClick(widgets.core_image, Qt::LeftButton, {}, QPoint(40, 200));
    QTest::mouseRelease(widgets.core_image, Qt::LeftButton, {}, QPoint(40, 200));
    move(40, 260);
    for (int x = 1; x <= 101; ++x)
        ASSERT_EQ(pixel(widgets.core_image, x, 200), Black) << "column " << x;
    EXPECT_EQ(pixel(widgets.core_image, 50, 260), Inverted);
    EXPECT_EQ(picture(widgets.Grafico_velocita), marked(blank, 200, "0.1795"));
    EXPECT_FALSE(forms().VelScaleForm->isVisible()) << "only the log panels open their scales";
    EXPECT_EQ(workspace().tie().tiePoints().size(), 1u) << "one tie point";
}

TEST_F(Photo, ColourReadOutIsThePhotographsOwn) {
    loadToProbe("colour.bmp", 160, 600);
    haveLog();
    widgets.correlator->setChecked(true);
    move(40, 512);
    EXPECT_EQ(pixel(widgets.core_image, 40, 512), Inverted) << "under the guide";
    EXPECT_EQ(widgets.StatusPanel0->text(), "Image: (40, 512)  R:51  G:102  B:153");
    move(0, 513);
    EXPECT_EQ(widgets.StatusPanel0->text(), "Image: (0, 513)  R:51  G:102  B:153")
        << "left of the guide's columns";
}

TEST_F(Photo, NewPhotographStartsWithoutAGuide) {
    loadToProbe("old.bmp", 160, 600);
    haveLog();
    widgets.correlator->setChecked(true);
    move(40, 100);
    loadToProbe("new.bmp", 160, 600);
    const QImage fresh = picture(widgets.core_image);
    move(40, 200);
    EXPECT_EQ(pixel(widgets.core_image, 50, 100), PhotoColour) << "no line that marks nothing";
    EXPECT_EQ(pixel(widgets.core_image, 50, 200), Inverted);
    move(40, 220);
    EXPECT_EQ(picture(widgets.core_image).copy(0, 0, 160, 219), fresh.copy(0, 0, 160, 219));
}

// A CT image 790 columns wide with its core in columns 300 to 505: the panel
// shows those columns, two to a panel column, and reads out the image's own.
TEST_F(Photo, AWidePhotographShowsItsCoreSqueezedIntoThePanel) {
    QImage wide(790, 600, QImage::Format_RGB32);
    for (int x = 0; x < wide.width(); ++x)
        for (int y = 0; y < wide.height(); ++y)
            wide.setPixel(x, y, qRgb(x % 256, x / 256, 0));
    const QString path = QString::fromStdString(workDir.file("ct.bmp").string());
    ASSERT_TRUE(wide.save(path, "BMP"));
    workDir.write("ct.bnd", "0\r\n1000\r\n0\r\n50\r\n300\r\n505\r\n0\r\n600\r\n");
    ASSERT_TRUE(main->fitCoreItem()->isChecked()) << "on from the start";
    load(path);
    ASSERT_EQ(picture(widgets.core_image).size(), QSize(103, 600));
    EXPECT_EQ(pixel(widgets.core_image, 0, 7), qRgb(45, 1, 0)) << "columns 300 and 301";
    EXPECT_EQ(pixel(widgets.core_image, 102, 7), qRgb(249, 1, 0)) << "columns 504 and 505";
    move(10, 512);
    EXPECT_EQ(widgets.StatusPanel0->text(), "Image: (320, 512)  R:64  G:1  B:0");

    // Off: as it is, from its left edge; a narrower photograph is never squeezed.
    main->fitCoreItem()->setChecked(false);
    EXPECT_EQ(picture(widgets.core_image), wide);
    move(10, 512);
    EXPECT_EQ(widgets.StatusPanel0->text(), "Image: (10, 512)  R:10  G:0  B:0");
    main->fitCoreItem()->setChecked(true);
    bounds->setBoundaries(Boundaries::fromTexts({"0", "1000", "0", "50", "0", "102", "0", "600"}));
    EXPECT_EQ(pixel(widgets.core_image, 40, 7), qRgb(40, 0, 0)) << "X min and X max followed";
    loadToProbe("narrow.bmp", 206, 600);
    EXPECT_EQ(picture(widgets.core_image).size(), QSize(206, 600));
}

TEST_F(Photo, ReadOutsOverTheSyntheticAndTracePanels) {
    moveOver(widgets.Grafico_sintetico, QPoint(10, 20));
    EXPECT_EQ(widgets.StatusPanel0->text(), "Image: (10, 20)");
    EXPECT_EQ(widgets.StatusPanel1->text(), "TWT :0.0000 msec.    AMP :0.0000") << "nothing drawn";
    moveOver(widgets.Grafico_traccia, QPoint(10, 20));
    EXPECT_EQ(widgets.StatusPanel1->text(), "TWT :0.0000 (0.0000)  msec.    AMP :0.0000");

    workDir.write("ampl.dat", "0.002 -0.5\r\n0.01 1.01\r\n0.062 0\r\n");
    workspace().series().readSynthetic();
    moveOver(widgets.Grafico_sintetico, QPoint(100, 300));
    EXPECT_EQ(widgets.StatusPanel0->text(), "Image: (100, 300)");
    EXPECT_EQ(widgets.StatusPanel1->text(), "TWT :32.0000 msec.    AMP :0.5000");

    workDir.write("trace.txt", "12 -2\r\n20 1.02\r\n72 0\r\n");
    workspace().series().readTrace();
    moveOver(widgets.Grafico_traccia, QPoint(50, 150));
    EXPECT_EQ(widgets.StatusPanel0->text(), "Image: (50, 150)");
    EXPECT_EQ(widgets.StatusPanel1->text(), "TWT :15.0000 (27.0000)  msec.    AMP :-1.0000");
}

} // namespace
} // namespace quarvel
