// The main window: its layout and initial state, the enabling rules, the
// trace file's removal on activation, "Calc. Synthetic" and the panels.

#include "chirp/chirp_form.h"
#include "chirp/chirp_source.h"
#include "formats/numbers.h"
#include "formats/text_file.h"
#include "main_window/main_form.h"
#include "platform/image_panel.h"
#include "plot/series_panel.h"
#include "support/app_fixture.h"

#include <QAction>
#include <QCheckBox>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <string>

namespace quarvel {
namespace {

using testing::AppFixture;
using testing::MainWidgets;

class MainFormTest : public AppFixture {
protected:
    QAction* action(const char* name) const {
        return child<QAction>(&mainForm(), QLatin1String(name));
    }
};

// A log of 40 rows from 0.1 m to 2.05 m, velocity and density rising
// through the given ranges.
std::string rampLog(double v0, double v1, double d0, double d1) {
    TextBuilder text;
    for (int i = 0; i < 40; ++i) {
        const double f = i / 39.0;
        text.line(numbers::formatF3(0.1 + i * 0.05) + " " + numbers::formatF3(v0 + f * (v1 - v0)) +
                  " " + numbers::formatF5(d0 + f * (d1 - d0)));
    }
    return text.text();
}

std::string seriesText(std::initializer_list<std::pair<double, double>> samples) {
    TextBuilder text;
    for (const auto& [time, amplitude] : samples)
        text.line(numbers::formatE23(time) + " " + numbers::formatE23(amplitude));
    return text.text();
}

TEST_F(MainFormTest, StartsWithItsCaptionsHintsAndStates) {
    struct Control {
        const char* name;
        QString caption;
        bool enabled;
        int checked; // -1: not a check box
        QString hint;
    };
    const Control controls[] = {
        {"SpeedButton1", "Calc. Synthetic", false, -1, ""},
        {"SpeedButton2", "Final Plot", false, -1, ""},
        {"correlator", "Correlator", true, 0, ""},
        {"SpeedButton3", "Core", true, -1, "Load Core Image"},
        {"SpeedButton4", "Data", true, -1, "Open Data Form"},
        {"SpeedButton5", "Chirp", true, -1, "Open Chirp Parameter Form"},
        {"Photo", "Photo", false, 1, ""},
        {"Synth", "Synth", false, 0, ""},
        {"Trace", "Trace", false, 0, ""},
        {"Pwave", "P-wave vel.", false, 0, ""},
        {"density", "Density", false, 0, ""},
    };
    EXPECT_EQ(mainForm().windowTitle(), "Quarvel v1.0");
    for (const Control& c : controls) {
        SCOPED_TRACE(c.name);
        auto* button = child<QAbstractButton>(&mainForm(), QLatin1String(c.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), c.caption);
        EXPECT_EQ(button->isEnabled(), c.enabled);
        EXPECT_EQ(button->toolTip(), c.hint);
        if (c.checked >= 0) {
            EXPECT_EQ(button->isChecked(), c.checked == 1);
        }
    }
    EXPECT_EQ(child<QLineEdit>(&mainForm(), "Edit2")->text(), "Inst. Vel.");
    EXPECT_EQ(child<QLineEdit>(&mainForm(), "Edit3")->text(), "Inst. Dens.");
}

// The captions fit their controls in the layout font: a tool button needs
// no more room than it has, a check box's box and caption no more than it
// shows up to the read-out laid over its right-hand part.
TEST_F(MainFormTest, CaptionsAreNotClipped) {
    const struct {
        const char* name;
        int room;
    } controls[] = {
        {"SpeedButton1", 89}, {"SpeedButton2", 89}, {"correlator", 73},     {"SpeedButton3", 49},
        {"SpeedButton4", 49}, {"SpeedButton5", 49}, {"Photo", 97},          {"Synth", 97},
        {"Trace", 97},        {"Pwave", 488 - 408}, {"density", 640 - 568},
    };
    EXPECT_EQ(QFontInfo(mainForm().font()).family(), "Liberation Sans");
    for (const auto& c : controls) {
        auto* button = child<QAbstractButton>(&mainForm(), QLatin1String(c.name));
        ASSERT_NE(button, nullptr);
        int needed = button->sizeHint().width();
        if (qobject_cast<QCheckBox*>(button) != nullptr) {
            QStyleOptionButton option;
            option.initFrom(button);
            const QStyle* style = button->style();
            needed = style->pixelMetric(QStyle::PM_IndicatorWidth, &option, button) +
                     style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, &option, button) +
                     button->fontMetrics().horizontalAdvance(button->text());
        }
        EXPECT_LE(needed, c.room) << c.name;
    }
}

TEST_F(MainFormTest, MenusHoldTheItemsInOrderWithTheirNamesAndStates) {
    struct Item {
        const char* name;
        QString caption;
        bool enabled;
    };
    const std::vector<std::pair<QString, std::vector<Item>>> menus = {
        {"&File",
         {{"LoadCorePhoto1", "Load &Core Image", true},
          {"Load1", "Calc. &Synthetic", false},
          {"SaveToFile1", "Create &Final Plot", false},
          {"", "", true},
          {"ExportTiePoints1", "Export Tie &Points…", true},
          {"ClearTiePoints1", "C&lear Tie Points", true},
          {"ExportTimeDepth1", "Export &Time-Depth Table…", true},
          {"ExportTieDepth1", "&Export Time-Depth Table from Tie Points…", true},
          {"ExportSegy1", "Export S&ynthetic as SEG-Y…", true},
          {"ExportLas1", "Export Lo&g as LAS…", true},
          {"", "", true},
          {"Exit1", "E&xit", true}}},
        {"&Open",
         {{"ables1", "&Data Form", false},
          {"ChirpParameters1", "&Chirp Parameters Form", true},
          {"Tie1", "&Tie", true}}},
        {"&Set",
         {{"CoreImageBoundaries1", "&Core Image Boundaries", true},
          {"DensityScale1", "&P-wave scale", true},
          {"VelocityScale1", "&Density Scale", true},
          {"AnotFont1", "&Anot. Font", true},
          {"FitCore1", "&Fit Core to Panel", true},
          {"SeaFloorStart1", "&Synthetic Starts at Sea Floor", true},
          {"AntiAliased1", "Anti-aliased &impedance", true}}},
    };
    const QList<QAction*> top = mainForm().menuBar()->actions();
    ASSERT_EQ(top.size(), 4);
    for (int m = 0; m < 3; ++m) {
        SCOPED_TRACE(menus[m].first.toStdString());
        ASSERT_NE(top[m]->menu(), nullptr);
        EXPECT_EQ(top[m]->text(), menus[m].first);
        const QList<QAction*> items = top[m]->menu()->actions();
        ASSERT_EQ(items.size(), static_cast<qsizetype>(menus[m].second.size()));
        for (qsizetype i = 0; i < items.size(); ++i) {
            EXPECT_EQ(items[i]->objectName(), QLatin1String(menus[m].second[i].name));
            EXPECT_EQ(items[i]->text(), menus[m].second[i].caption);
            EXPECT_EQ(items[i]->isEnabled(), menus[m].second[i].enabled);
        }
    }
    EXPECT_EQ(top[3]->objectName(), "About1");
    EXPECT_EQ(top[3]->text(), "&About");
    EXPECT_EQ(top[3]->menu(), nullptr);
}

// The scrolled area follows the tallest panel, so a long core scrolls.
TEST_F(MainFormTest, PanelAreaFollowsTheTallestPanel) {
    const QWidget* area = mainWidgets().ScrollBox4->widget();
    mainWidgets().core_image->setPanelHeight(1500);
    showMainWindow();
    EXPECT_EQ(area->size(), QSize(711, 1500));
    mainWidgets().core_image->setPanelHeight(300);
    EXPECT_EQ(area->size(), QSize(711, 600));
}

TEST_F(MainFormTest, CommandsAreEnabledAsTheirDataArrive) {
    TMainForm& form = mainForm();
    const MainWidgets widgets(form);
    form.enableCalcSynthetic();
    EXPECT_TRUE(widgets.SpeedButton1->isEnabled());
    EXPECT_TRUE(widgets.Load1->isEnabled());
    EXPECT_FALSE(widgets.SpeedButton2->isEnabled());
    EXPECT_FALSE(widgets.ables1->isEnabled());

    form.enableAndCheckTrace();
    EXPECT_TRUE(widgets.Trace->isEnabled() && widgets.Trace->isChecked());
    EXPECT_FALSE(widgets.Synth->isEnabled());

    workDir.write("log.dat", rampLog(1480, 1600, 1.5, 2.0));
    form.draw_grafici();
    for (QCheckBox* box : {widgets.Pwave, widgets.density})
        EXPECT_TRUE(box->isEnabled() && box->isChecked()) << box->objectName().toStdString();
    EXPECT_FALSE(widgets.Synth->isEnabled());

    workDir.write("ampl.dat", seriesText({{0, 1}, {0.001, -0.5}}));
    form.Draw_sintetico();
    EXPECT_TRUE(widgets.Synth->isEnabled() && widgets.Synth->isChecked());
    // Only ever enabled: nothing here takes the photograph's commands along.
    EXPECT_FALSE(widgets.SpeedButton2->isEnabled());
    EXPECT_FALSE(widgets.Photo->isEnabled());
}

TEST_F(MainFormTest, CalcSyntheticRunsTheEngineAndDrawsTheSynthetic) {
    workDir.write("log.dat", rampLog(1500, 1700, 1.6, 2.1));
    ChirpSource(ChirpTexts{}, workDir.workDir());
    TMainForm& form = mainForm();
    const MainWidgets widgets(form);
    form.enableCalcSynthetic();
    widgets.core_image->setPanelHeight(420);

    QTest::mouseClick(widgets.SpeedButton1, Qt::LeftButton);

    ASSERT_TRUE(workDir.exists("ampl.dat"));
    EXPECT_TRUE(widgets.Synth->isEnabled() && widgets.Synth->isChecked());
    ASSERT_TRUE(widgets.Grafico_sintetico->hasPicture());
    const QImage picture = widgets.Grafico_sintetico->picture().image();
    EXPECT_EQ(picture.size(), QSize(151, 420));
    EXPECT_EQ(widgets.Grafico_sintetico->panelHeight(), 420);
    // The engine writes from the strongest sample on, normalised to 1.
    EXPECT_EQ(workspace().series().syntheticExtents().timeFirst, 0.0);
    EXPECT_GT(workspace().series().syntheticExtents().timeLast, 0.0);
    EXPECT_EQ(std::max(-workspace().series().syntheticExtents().ampMin,
                       workspace().series().syntheticExtents().ampMax),
              1.0);
    // A frame, and a curve inside it below the title.
    EXPECT_EQ(picture.pixel(0, 200), 0xff000000);
    int curve = 0;
    for (int y = 30; y < 410; ++y)
        for (int x = 1; x < 150; ++x)
            curve += picture.pixel(x, y) == 0xff000000;
    EXPECT_GT(curve, 20);
}

TEST_F(MainFormTest, CalcSyntheticWithoutAWaveletReportsAndDrawsNothing) {
    workDir.write("log.dat", rampLog(1500, 1700, 1.6, 2.1));
    mainForm().enableCalcSynthetic();
    errors.expectError(QString::fromStdString(
        "There is no Klauder wavelet: \"" + workDir.file("klauder.dat").string() +
        "\" is missing or empty. Press GO in the chirp window to generate it first."));

    mainWidgets().Load1->trigger();

    EXPECT_FALSE(workDir.exists("ampl.dat"));
    EXPECT_FALSE(mainWidgets().Synth->isEnabled());
    EXPECT_FALSE(mainWidgets().Grafico_sintetico->hasPicture());
}

// A zero span stops the drawing: the previous picture and the check box stay
// as they were, whether or not the panel was drawn before.
TEST_F(MainFormTest, ZeroSpanIsReportedAndKeepsThePreviousPicture) {
    struct Case {
        const char* file;
        bool synthetic;
        std::string zeroSpan;
    };
    const Case cases[] = {
        {"ampl.dat", true, seriesText({{0, 0.5}, {0.001, 0.5}, {0.002, 0.5}})},
        {"ampl.dat", true, seriesText({{0.004, 1}})},
        {"trace.txt", false, seriesText({{3, 1}, {3, -1}})},
        {"trace.txt", false, seriesText({{5, 2}})},
    };
    for (const Case& c : cases) {
        for (const bool drawnBefore : {false, true}) {
            SCOPED_TRACE(std::string(c.file) + (drawnBefore ? " drawn before" : " first"));
            TMainForm& form = mainForm();
            const MainWidgets widgets(form);
            ImagePanel* panel = c.synthetic ? widgets.Grafico_sintetico : widgets.Grafico_traccia;
            QCheckBox* box = c.synthetic ? widgets.Synth : widgets.Trace;
            const auto draw = [&] {
                guarded(errors, [&] { c.synthetic ? form.Draw_sintetico() : form.Draw_trace(); });
            };
            if (drawnBefore) {
                workDir.write(c.file, seriesText({{0, -1}, {1, 1}, {2, 0}}));
                draw();
                box->setChecked(false);
            }
            const bool hadPicture = panel->hasPicture();
            const QImage before = hadPicture ? panel->picture().image() : QImage();
            const bool enabled = box->isEnabled();
            workDir.write(c.file, c.zeroSpan);
            errors.expectError("Floating point division by zero");
            draw();
            errors.expectAllReported();
            EXPECT_EQ(panel->hasPicture(), hadPicture);
            if (hadPicture) {
                EXPECT_EQ(panel->picture().image(), before);
            }
            EXPECT_EQ(box->isEnabled(), enabled);
            EXPECT_FALSE(box->isChecked());
        }
    }
}

TEST_F(MainFormTest, EmptyOrMissingSeriesDrawsFrameAndTitleWithZeroExtents) {
    TMainForm& form = mainForm();
    const MainWidgets widgets(form);
    for (const bool present : {false, true}) {
        SCOPED_TRACE(present ? "empty file" : "missing file");
        if (present)
            workDir.write("trace.txt", "\r\n  \r\n");
        form.Draw_trace();
        EXPECT_TRUE(widgets.Trace->isEnabled() && widgets.Trace->isChecked());
        EXPECT_EQ(workspace().series().traceExtents().timeFirst, 0.0);
        EXPECT_EQ(workspace().series().traceExtents().timeLast, 0.0);
        EXPECT_EQ(workspace().series().traceExtents().ampMin, 0.0);
        EXPECT_EQ(workspace().series().traceExtents().ampMax, 0.0);
        EXPECT_EQ(workspace().series().traceTimeMaxMs(), 0.0);
        EXPECT_EQ(workspace().series().traceTimeMinMs(), 100000.0 * 1000);
        const QImage picture = widgets.Grafico_traccia->picture().image();
        EXPECT_EQ(picture.pixel(0, 300), 0xff000000);
        EXPECT_EQ(picture.pixel(75, 300), 0xffffffff);
    }
}

TEST_F(MainFormTest, OverlongFilesAreDrawnUpToTheCapacityWithOneNotice) {
    TextBuilder series;
    TextBuilder log;
    for (int i = 1; i <= 64005; ++i) {
        series.line(numbers::formatFixed(i, 0) + " " + numbers::formatFixed(i % 7, 0));
        log.line(numbers::formatFixed(i * 0.001, 3) + " 1500 1.8");
    }
    workDir.write("ampl.dat", series.text());
    workDir.write("log.dat", log.text());
    dialogs.expectWarning("\"ampl.dat\" holds more than 64000 samples; the rest was left out.");
    mainForm().Draw_sintetico();
    dialogs.expectAllAnswered();
    EXPECT_EQ(workspace().series().syntheticExtents().timeLast, 64000.0);
    EXPECT_TRUE(mainWidgets().Synth->isChecked());

    dialogs.expectWarning("\"log.dat\" holds more than 64000 records; the rest was left out.");
    mainForm().draw_grafici();
    dialogs.expectAllAnswered();
    EXPECT_EQ(ws().LogCount, 64000);
    EXPECT_EQ(ws().LogBottomDepth, 64.0);
}

TEST_F(MainFormTest, LogPanelsFollowTheCoreHeightAndTheAutomaticScales) {
    workDir.write("log.dat", rampLog(1480, 1623.7, 1.5, 2.25));
    TMainForm& form = mainForm();
    const MainWidgets widgets(form);
    widgets.core_image->setPanelHeight(333);
    form.draw_grafici();
    EXPECT_EQ(ws().LogCount, 40);
    EXPECT_EQ(ws().MeanVelocity, 1551.5);
    for (ImagePanel* panel : {widgets.Grafico_velocita, widgets.grafico_densita}) {
        SCOPED_TRACE(panel->objectName().toStdString());
        EXPECT_EQ(panel->panelHeight(), 333);
        ASSERT_TRUE(panel->hasPicture());
        EXPECT_EQ(panel->picture().image().size(), QSize(151, 333));
    }
}

TEST_F(MainFormTest, AnnotationFontGoesToThePanelsAndTheNextDrawings) {
    TMainForm& form = mainForm();
    const MainWidgets widgets(form);
    workDir.write("ampl.dat", seriesText({{0, -1}, {1, 1}}));
    form.Draw_sintetico();
    const QImage withOldFont = widgets.Grafico_sintetico->picture().image();

    dialogs.expectFont(std::nullopt);
    widgets.AnotFont1->trigger();
    const QFont original = workspace().plotSettings().font();

    QFont large(QStringLiteral("DejaVu Sans"));
    large.setPixelSize(30);
    dialogs.expectFont(large);
    widgets.AnotFont1->trigger();
    EXPECT_NE(original, large);
    EXPECT_EQ(workspace().plotSettings().font(), large);
    EXPECT_EQ(widgets.Grafico_sintetico->picture().image(), withOldFont);

    form.Draw_sintetico();
    const QImage withNewFont = widgets.Grafico_sintetico->picture().image();
    EXPECT_NE(withNewFont, withOldFont);
    const SeriesData series = readSeriesFile(workDir.file("ampl.dat"));
    EXPECT_EQ(withNewFont, renderSeriesPanel(series, seriesExtents(series),
                                             QStringLiteral("Synthetic"), 151, 600, large));
}

} // namespace
} // namespace quarvel
