// The whole road of a typical run, through the windows as a user drives them:
// photograph, log, chirp, synthetic, trace, probing and marking, final plot.
// It runs on the bundled demo core, so it also proves the demo's files fit
// together.
#include "calibration/core_photo_form.h"
#include "chirp/chirp_form.h"
#include "editor/interpolation.h"
#include "editor/tables_form.h"
#include "formats/text_file.h"
#include "main_window/main_form.h"
#include "platform/image_panel.h"
#include "plot/final_table_form.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>
#include <string>
#include <vector>

namespace quarvel::testing {
namespace {

namespace fs = std::filesystem;

// The photograph is 560 rows high, 5 mm of core per row.
constexpr int PhotoHeight = 560;
// Rows of two bed bases, at 0.47 m and 1.55 m.
constexpr int UpperMarkRow = 94;
constexpr int LowerMarkRow = 310;

class EndToEndTest : public AppFixture {
protected:
    static QString demoFile(const char* name) {
        return QString::fromStdString((fs::path(QUARVEL_TEST_DEMO_DIR) / name).string());
    }

    static void click(QAbstractButton* button) {
        ASSERT_TRUE(button->isVisible()) << button->objectName().toStdString();
        ASSERT_TRUE(button->isEnabled()) << button->objectName().toStdString();
        QTest::mouseClick(button, Qt::LeftButton);
    }

    static int lineCount(const std::string& text) {
        int lines = 0;
        for (std::size_t at = text.find("\r\n"); at != std::string::npos;
             at = text.find("\r\n", at + 2)) {
            ++lines;
        }
        return lines;
    }

    static QImage picture(const ImagePanel* panel) {
        EXPECT_TRUE(panel->hasPicture()) << panel->objectName().toStdString();
        return panel->hasPicture() ? panel->picture().image().convertToFormat(QImage::Format_RGB32)
                                   : QImage();
    }

    // True when the row of the image is black from column `from` to `to`.
    static bool blackRun(const QImage& image, int row, int from, int to) {
        for (int x = from; x <= to; ++x) {
            if (image.pixel(x, row) != qRgb(0, 0, 0)) {
                return false;
            }
        }
        return true;
    }

    void clickPhotograph(int row) const {
        ImagePanel* photo = mainWidgets().core_image;
        QTest::mouseMove(photo, QPoint(50, row));
        QTest::mousePress(photo, Qt::LeftButton, Qt::NoModifier, QPoint(50, row));
        QTest::mouseRelease(photo, Qt::LeftButton, Qt::NoModifier, QPoint(50, row));
    }
};

TEST_F(EndToEndTest, TiesTheDemoCoreFromPhotographToSavedFinalPlot) {
    showMainWindow();
    TMainForm& main = mainForm();
    const MainWidgets widgets(main);
    TTables_Form& editor = *forms().Tables_Form;
    TChirp_Form& chirp = *forms().Chirp_Form;

    // 1. The photograph, with its boundary file beside it.
    dialogs.expectOpenFile(demoFile("demo_core.bmp"));
    click(widgets.SpeedButton3);
    dialogs.expectAllAnswered();
    EXPECT_EQ(widgets.core_image->panelHeight(), PhotoHeight);
    EXPECT_EQ(child<QLineEdit>(forms().Core_Photo_Form, "Bottom")->text(), "2800");
    EXPECT_EQ(child<QLineEdit>(forms().Core_Photo_Form, "ymax")->text(), "560");
    EXPECT_TRUE(widgets.SpeedButton2->isEnabled());
    EXPECT_TRUE(widgets.Photo->isEnabled());

    // 2. The log, in the data editor; its gaps filled by Interpolate Series.
    click(widgets.SpeedButton4);
    ASSERT_TRUE(editor.isVisible());
    editor.showPage(TTables_Form::LogsPage);
    dialogs.expectOpenFile(demoFile("demo_core_log.txt"));
    click(editor.loadButton());
    dialogs.expectAllAnswered();
    EXPECT_EQ(lineCount(workDir.read("log.dat")), 280);
    click(editor.interpolateButton());
    click(editor.logsRefreshButton());
    const std::vector<LogRecord> records = readLogRecords(workDir.read("log.dat"));
    ASSERT_EQ(records.size(), 280U);
    for (const LogRecord& record : records) {
        EXPECT_GT(record.Velocity, 0.0) << "at " << record.Depth << " m";
        EXPECT_GT(record.Density, 0.0) << "at " << record.Depth << " m";
    }
    EXPECT_TRUE(widgets.Pwave->isChecked());
    EXPECT_TRUE(widgets.density->isChecked());

    // 3. The chirp setting from its ".SIG" file, then GO.
    click(widgets.SpeedButton5);
    ASSERT_TRUE(chirp.isVisible());
    dialogs.expectOpenFile(demoFile("demo_chirp.SIG"));
    child<QAction>(&chirp, "Load1")->trigger();
    dialogs.expectAllAnswered();
    EXPECT_EQ(child<QLineEdit>(&chirp, "edfreqedit")->text(), "12000");
    click(child<QToolButton>(&chirp, "SpeedButton1"));
    EXPECT_EQ(lineCount(workDir.read("klauder.dat")), 197);
    EXPECT_TRUE(child<ImagePanel>(&chirp, "Grafico_Source0")->hasPicture());

    // 4. "Calc. Synthetic": the five stage files, the panel and the listing.
    click(widgets.SpeedButton1);
    for (const char* stage : {"refl.dat", "corr.dat", "deconv.dat", "amplnofilt.dat"}) {
        EXPECT_TRUE(workDir.exists(stage)) << stage;
    }
    const std::string ampl = workDir.read("ampl.dat");
    EXPECT_EQ(ampl.substr(0, 24), " 0.00000000000000E+0000 ");
    EXPECT_NE(ampl.find("1.00000000000000E+0000\r\n"), std::string::npos);
    EXPECT_TRUE(widgets.Synth->isChecked());
    const std::string firstLine = ampl.substr(0, ampl.find('\r'));
    EXPECT_EQ(child<QPlainTextEdit>(&editor, "Syntmemo")
                  ->toPlainText()
                  .left(static_cast<int>(firstLine.size()))
                  .toStdString(),
              firstLine);

    // 5. The recorded trace on the Trace page.
    editor.showPage(TTables_Form::TracePage);
    dialogs.expectOpenFile(demoFile("demo_trace.txt"));
    click(editor.loadButton());
    dialogs.expectAllAnswered();
    EXPECT_EQ(workDir.read("trace.txt"),
              readTextFile(fs::path(QUARVEL_TEST_DEMO_DIR) / "demo_trace.txt"));
    EXPECT_TRUE(widgets.Trace->isChecked());
    EXPECT_DOUBLE_EQ(workspace().series().traceTimeMinMs(), 83500.0);

    // 6. Probe and mark with "Correlator" checked.
    click(widgets.correlator);
    ASSERT_TRUE(widgets.correlator->isChecked());
    QTest::mouseMove(widgets.core_image, QPoint(50, UpperMarkRow));
    EXPECT_TRUE(widgets.StatusPanel1->text().startsWith("Depth :0.4700 m"))
        << widgets.StatusPanel1->text().toStdString();
    clickPhotograph(UpperMarkRow);
    clickPhotograph(LowerMarkRow);
    const double traceMarkTwt = workspace().tie().tiePoints().back().traceTwt.value_or(0.0);
    QTest::mouseMove(widgets.core_image, QPoint(50, 0));
    EXPECT_GT(traceMarkTwt, 0.0);

    // 7. "Final Plot", then "&Save as".
    click(widgets.SpeedButton2);
    ASSERT_TRUE(forms().FinalTableForm->isVisible());
    const QString plotPath = QString::fromStdString(workDir.file("tie.bmp").string());
    dialogs.expectSaveFile(plotPath);
    child<QAction>(forms().FinalTableForm, "Save1")->trigger();
    dialogs.expectAllAnswered();

    const QImage plot = QImage(plotPath).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(plot.size(), QSize(1000, PhotoHeight + 100));

    // Every panel, marks included, at its column, 50 rows down. Row 0 holds
    // the guide line under the pointer, which is no part of the plot.
    const struct {
        const ImagePanel* panel;
        int x;
    } columns[] = {{widgets.core_image, 50},
                   {widgets.Grafico_sintetico, 210},
                   {widgets.Grafico_velocita, 370},
                   {widgets.grafico_densita, 530},
                   {widgets.Grafico_traccia, 790}};
    for (const auto& column : columns) {
        SCOPED_TRACE(column.panel->objectName().toStdString());
        const QImage panel = picture(column.panel);
        ASSERT_EQ(panel.height(), PhotoHeight);
        EXPECT_EQ(plot.copy(column.x, 51, panel.width(), panel.height() - 1),
                  panel.copy(0, 1, panel.width(), panel.height() - 1));
    }

    // The marks: a black line across each log and synthetic panel right of
    // its depth label, across the photograph, and on the trace at its time.
    for (const int row : {UpperMarkRow, LowerMarkRow}) {
        SCOPED_TRACE(row);
        EXPECT_TRUE(blackRun(plot, 50 + row, 50 + 2, 50 + 95));
        for (const int x : {210, 370, 530}) {
            EXPECT_TRUE(blackRun(plot, 50 + row, x + 100, x + 148)) << "panel at " << x;
        }
    }
    const double msPerRow = (workspace().series().traceExtents().timeLast -
                             workspace().series().traceExtents().timeFirst) /
                            PhotoHeight;
    const int traceRow = static_cast<int>(traceMarkTwt / msPerRow);
    EXPECT_TRUE(blackRun(plot, 50 + traceRow, 790 + 100, 790 + 148)) << "trace row " << traceRow;

    // The depth axis left of the photograph (a tick every 200 mm) and the
    // time axis left of the trace (every 200 microseconds) run the
    // photograph's height. Each tick's label is written on white from the
    // tick down and may cover the line there, but never the row above it.
    for (int depth = 200; depth <= 2800; depth += 200) {
        const int y = 50 + PhotoHeight * depth / 2800;
        EXPECT_EQ(plot.pixel(45, y - 1), qRgb(0, 0, 0)) << "depth axis above " << depth;
    }
    const int span = static_cast<int>(workspace().series().traceTimeMaxMs() -
                                      workspace().series().traceTimeMinMs());
    ASSERT_GT(span, 3000);
    for (int time = 200; time <= span; time += 200) {
        const int y = 50 + PhotoHeight * time / span;
        EXPECT_EQ(plot.pixel(785, y - 1), qRgb(0, 0, 0)) << "time axis above " << time;
    }
}

} // namespace
} // namespace quarvel::testing
