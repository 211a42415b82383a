// The main window's part of the tie: every mark-making click kept as a tie
// point through redraws, the File menu's exports, and the time-zero item with
// its status-bar warning.
#include "calibration/core_photo_form.h"
#include "formats/numbers.h"
#include "formats/text_file.h"
#include "main_window/main_form.h"
#include "platform/image_panel.h"
#include "probe/depth_twt.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QScrollArea>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

using testing::AppFixture;
using testing::MainWidgets;

const std::string Header = "row,depth_m,est_twt_ms,trace_twt_ms\r\n";

class TieMarks : public AppFixture {
protected:
    TieMarks() {
        showMainWindow();
        main = &mainForm();
        widgets = mainWidgets();
    }

    // A photograph calibrated so that row 512 is 0.4995 m, and the log the
    // data editor would have loaded.
    void havePhotoAndLog() {
        QImage image(160, 600, QImage::Format_RGB32);
        image.fill(0xff336699);
        const QString path = QString::fromStdString(workDir.file("core.bmp").string());
        ASSERT_TRUE(image.save(path, "BMP"));
        dialogs.expectOpenFile(path);
        widgets.LoadCorePhoto1->trigger();
        forms().Core_Photo_Form->close();
        loadThreeRecordLog();
        widgets.Pwave->setChecked(false);
        widgets.density->setChecked(false);
        workspace().calibration().setBoundaries(Boundaries{});
    }

    // A press and release at the row once the pointer has probed there.
    void clickAt(int y) {
        const QPoint at(40, y);
        widgets.ScrollBox4->ensureVisible(at.x(), at.y());
        bool arrived = false;
        const QMetaObject::Connection seen =
            QObject::connect(widgets.core_image, &ImagePanel::mouseMoved,
                             [&](int x, int row) { arrived = arrived || QPoint(x, row) == at; });
        QTest::mouseMove(widgets.Panel1);
        QTest::mouseMove(widgets.core_image, at);
        ASSERT_TRUE(QTest::qWaitFor([&] { return arrived; }));
        QObject::disconnect(seen);
        QTest::mouseClick(widgets.core_image, Qt::LeftButton, {}, at);
    }

    std::string exportTiePoints() {
        const QString path = QString::fromStdString(workDir.file("ties.csv").string());
        dialogs.expectSaveFile(path);
        widgets.ExportTiePoints1->trigger();
        return workDir.read("ties.csv");
    }

    TMainForm* main = nullptr;
    MainWidgets widgets;
};

TEST_F(TieMarks, MarkMakingClicksAreKeptThroughARedrawAndExported) {
    havePhotoAndLog();
    widgets.correlator->setChecked(true);
    // A trace that cannot take its mark (none loaded) leaves the point
    // without a trace time, and says why.
    widgets.Trace->setEnabled(true);
    widgets.Trace->setChecked(true);
    errors.expectError(QString::fromUtf8(depth_twt::NoTraceToMark));
    clickAt(100);
    loadTrace(0.0, 60.0);
    clickAt(512);
    widgets.Trace->setChecked(false);
    clickAt(200);
    // A click that marks no panel keeps nothing, nor one without Correlator.
    widgets.Photo->setChecked(false);
    clickAt(300);
    widgets.Photo->setChecked(true);
    widgets.correlator->setChecked(false);
    clickAt(400);

    // Redrawing the synthetic panel takes the marks' pixels away, not the points.
    TextBuilder ampl;
    for (int i = 0; i < 50; ++i) {
        ampl.line(numbers::formatE23(i * 1e-5) + " " + numbers::formatE23(std::sin(i * 0.3)));
    }
    workDir.write("ampl.dat", ampl.text());
    main->Draw_sintetico();
    ASSERT_EQ(workspace().tie().tiePoints().size(), 3u);
    EXPECT_EQ(exportTiePoints(),
              Header + "100,0.0769,0.667,\r\n512,0.4995,0.667,0.667\r\n200,0.1795,0.667,\r\n");

    // Clear Tie Points asks first; yes takes the points and their marks away.
    const QString question = "Clear the 3 tie points and their marks on the panels?";
    const QRgb photo = widgets.core_image->picture().pixel(40, 600 - 1);
    ASSERT_NE(widgets.core_image->picture().pixel(40, 512), photo);
    for (const bool yes : {false, true}) {
        dialogs.expectQuestion(question, yes);
        widgets.ClearTiePoints1->trigger();
        dialogs.expectAllAnswered();
        EXPECT_EQ(workspace().tie().tiePoints().size(), yes ? 0U : 3U);
        EXPECT_EQ(workspace().marks().all().empty(), yes) << "nor can the final plot show them";
        EXPECT_EQ(widgets.core_image->picture().pixel(40, 512) == photo, yes);
    }
    EXPECT_EQ(exportTiePoints(), Header);
    workDir.write("ties.csv", "kept");
    dialogs.expectSaveFile(std::nullopt);
    widgets.ExportTiePoints1->trigger();
    EXPECT_EQ(workDir.read("ties.csv"), "kept") << "cancelled: nothing written";
}

TEST_F(TieMarks, ShiftClickOnTheTracePicksTheLastPointsTraceTime) {
    havePhotoAndLog();
    loadTrace(0.0, 60.0); // 0.1 ms a row of the 600-row panel
    widgets.correlator->setChecked(true);
    errors.expectError("Shift+click on the trace picks the trace time of the last tie point; "
                       "make one first by clicking the photograph with Correlator checked.");
    QTest::mouseClick(widgets.Grafico_traccia, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 50));
    clickAt(512);
    QTest::mouseClick(widgets.Grafico_traccia, Qt::LeftButton, {}, QPoint(10, 80));
    QTest::mouseClick(widgets.Grafico_traccia, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 50));
    EXPECT_EQ(exportTiePoints(), Header + "512,0.4995,0.667,5.000\r\n");
    // The mark went with it: at the picked row, no longer at the estimate's.
    const QImage trace = widgets.Grafico_traccia->picture().image();
    // (Right of the labels, which sit on an opaque brush at the left.)
    EXPECT_EQ(trace.pixel(trace.width() - 3, 50), 0xff000000U);
    EXPECT_NE(trace.pixel(trace.width() - 3, 6), 0xff000000U);

    const QString path = QString::fromStdString(workDir.file("picked.csv").string());
    dialogs.expectSaveFile(path);
    widgets.ExportTieDepth1->trigger();
    EXPECT_EQ(workDir.read("picked.csv"),
              "# depth (m) to the trace's two-way time (ms) at 1 tie points below the sea floor; "
              "straight lines between them\r\ndepth_m,twt_ms\r\n0.0000,0.000\r\n0.4995,5.000\r\n");
}

TEST_F(TieMarks, TimeDepthTableOfTheLoadedLogOnlyWhenThereIsOne) {
    errors.expectError("There is no log to make a time-depth table from. Load a log in the "
                       "data editor first.");
    widgets.ExportTimeDepth1->trigger();
    EXPECT_TRUE(dialogs.fileQuestions().empty()) << "no file asked for without a log";

    workDir.write("log.dat", "0.5 1600 1.7\r\n1.0 1650 1.8\r\n");
    workspace().logLoaded();
    const QString path = QString::fromStdString(workDir.file("tdr.csv").string());
    dialogs.expectSaveFile(path);
    widgets.ExportTimeDepth1->trigger();
    EXPECT_EQ(workDir.read("tdr.csv"),
              "depth_m,twt_ms\r\n0.0000,0.000\r\n0.5000,0.625\r\n1.0000,1.231\r\n");
}

TEST_F(TieMarks, SeaFloorItemChoosesTimeZeroAndTheWarningGoesToTheStatusBar) {
    EXPECT_FALSE(widgets.SeaFloorStart1->isChecked());
    EXPECT_TRUE(widgets.SeaFloorStart1->isCheckable());
    // Sediment almost like water down to a dense bed at 0.6 m.
    std::string log;
    for (int i = 1; i <= 100; ++i) {
        log += numbers::formatFixed(i * 0.01, 6) +
               (std::abs(i - 60) < 3 ? " 1750 2.1\r\n" : " 1500 1.05\r\n");
    }
    workDir.write("log.dat", log);
    workspace().logLoaded();
    workspace().chirp().makeWavelet();
    main->enableCalcSynthetic();
    widgets.SpeedButton1->click();
    EXPECT_EQ(main->statusBar()->currentMessage(),
              "Time 0 of the synthetic is an arrival 0.790 ms below the sea floor; events are "
              "drawn too shallow. (Set, Synthetic Starts at Sea Floor) Rows are 11 µs apart in "
              "two-way time; 10 µs sampling aliases thin beds: use 5 µs or Anti-aliased "
              "impedance.");

    widgets.SeaFloorStart1->trigger();
    widgets.AntiAliased1->trigger();
    EXPECT_EQ(workspace().tie().timeZero(), MathFun::TimeZero::SeaFloor);
    EXPECT_TRUE(workspace().antiAliased());
    widgets.SpeedButton1->click();
    EXPECT_TRUE(main->statusBar()->currentMessage().isEmpty());
    // The item follows the workspace's choice as well.
    workspace().tie().setTimeZero(MathFun::TimeZero::Strongest);
    EXPECT_FALSE(widgets.SeaFloorStart1->isChecked());
}

} // namespace
} // namespace quarvel
