#include "chirp/chirp_form.h"
#include "editor/log_import.h"
#include "editor/segy_section_form.h"
#include "editor/segy_trace_form.h"
#include "editor/tables_form_fixture.h"
#include "formats/numbers.h"
#include "formats/series_file.h"
#include "formats/text_file.h"
#include "platform/image_panel.h"
#include "probe/depth_twt.h"
#include "support/proposed_answers.h"
#include "survey/log_import.h"
#include "survey/segy_load.h"
#include "survey/segy_test_file.h"

#include <QComboBox>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

namespace quarvel::testing {
namespace {

// Two shots of three channels, each trace's samples telling shot and channel.
std::string twoShotsOfThreeChannels() {
    SegyTestFile file;
    file.formatCode = 5;
    file.intervalUs = 20;
    for (int shot = 0; shot < 2; ++shot) {
        for (int channel = 0; channel < 3; ++channel) {
            const double tag = 10 * (shot + 1) + channel + 1;
            file.traces.push_back({{tag, -tag}, 1001 + shot, 10});
        }
    }
    return segyBytes(file);
}

class SurveyLoadTest : public TablesFormTest {
protected:
    QString traceText() const { return tracememo()->toPlainText(); }
    SegyTraceForm& segyForm() const { return *editor().segyForm(); }

    // The trace window's widgets, found by their names.
    QComboBox* segyBox(const char* name) const { return child<QComboBox>(&segyForm(), name); }
    QLineEdit* segyEdit(const char* name) const { return child<QLineEdit>(&segyForm(), name); }
    QLabel* segyLabel(const char* name) const { return child<QLabel>(&segyForm(), name); }
    QPushButton* segyButton(const char* name) const {
        return child<QPushButton>(&segyForm(), name);
    }
    QPlainTextEdit* segySummary() const {
        return child<QPlainTextEdit>(&segyForm(), "SummaryText");
    }
    QSpinBox* segyStack() const { return child<QSpinBox>(&segyForm(), "StackSpin"); }

    // Load on the Trace page with a SEG-Y file: the trace window opens.
    void openLine(const QString& path) {
        showPage(TTables_Form::TracePage);
        load(path);
        ASSERT_TRUE(segyForm().isVisible());
    }

    void pressLoad(const std::string& notice) {
        dialogs.expectMessage(QString::fromStdString(notice));
        segyButton("LoadTraceButton")->click();
        dialogs.expectAllAnswered();
    }
};

TEST_F(SurveyLoadTest, SegyTraceOfTheChosenShotAndChannelFillsTheListing) {
    const QString path = userFile("line.sgy", twoShotsOfThreeChannels());
    openLine(path);
    SegyTraceForm& form = segyForm();
    EXPECT_NE(segySummary()->toPlainText().indexOf("Traces: 6 (2 shots of 3 channels)"), -1);
    EXPECT_EQ(segyLabel("ChosenLabel")->text(),
              "Trace 1: field record (shot) 1001, channel 1, X 0.00, Y 0.00 (units not stated)");
    EXPECT_FALSE(segyBox("ChannelBox")->isEnabled());
    segyBox("ChoiceBox")->setCurrentIndex(static_cast<int>(TraceChoiceKind::Shot));
    EXPECT_TRUE(segyBox("ChannelBox")->isEnabled());
    segyEdit("NumberEdit")->setText("1002");
    segyBox("ChannelBox")->setCurrentIndex(1);
    segyBox("SeaFloorBox")->setCurrentIndex(static_cast<int>(SeaFloorMode::Keep));
    EXPECT_EQ(segyLabel("ChosenLabel")->text(),
              "Trace 5: field record (shot) 1002, channel 2, X 0.00, Y 0.00 (units not stated)");
    EXPECT_EQ(segyBox("LengthBox")->currentIndex(), static_cast<int>(LengthMode::Whole));
    pressLoad("Trace 5 of 6 from \"line.sgy\": field record (shot) 1002, channel 2, X 0.00, Y "
              "0.00 (units not stated).\n"
              "Stack: none, the one trace.\n"
              "Sample interval: 0.0200 ms, from the binary header.\n"
              "Not cut at the sea floor: the listing starts at the first sample, 10.000 ms.\n"
              "Length: the whole trace, 0.020 ms, 2 samples.");
    EXPECT_FALSE(form.isVisible());
    const std::string expected = "10.000000  2.20000000000000E+0001\r\n"
                                 "10.020000 -2.20000000000000E+0001\r\n";
    EXPECT_EQ(workDir.read("trace.txt"), expected);
    EXPECT_EQ(traceText().toStdString(), "10.000000  2.20000000000000E+0001\n"
                                         "10.020000 -2.20000000000000E+0001\n");
    EXPECT_TRUE(mainWidgets().Grafico_traccia->hasPicture());
}

TEST_F(SurveyLoadTest, CancelledWrongOrBrokenSegyChangesNothing) {
    const std::string good = twoShotsOfThreeChannels();
    const QString goodPath = userFile("line.sgy", good);
    const QString cutPath = userFile("cut.sgy", good.substr(0, good.size() - 3));
    tracememo()->setPlainText("kept");
    openLine(goodPath);
    segyButton("CancelButton")->click();
    EXPECT_FALSE(segyForm().isVisible());

    openLine(goodPath);
    segyEdit("NumberEdit")->setText("7");
    EXPECT_EQ(segyLabel("ChosenLabel")->text(),
              "There is no trace 7; the line holds traces 1 to 6.");
    errors.expectError("There is no trace 7; the line holds traces 1 to 6.");
    segyButton("LoadTraceButton")->click();
    errors.expectAllReported();
    EXPECT_TRUE(segyForm().isVisible());
    segyForm().reject();

    errors.expectError(QString::fromStdString(formatMessage(
        "Cannot read the SEG-Y file \"%s\". It ends in the middle of a trace: it is cut short, "
        "or its traces are not all 2 samples long.",
        {cutPath.toStdString()})));
    load(cutPath);
    errors.expectAllReported();
    EXPECT_FALSE(segyForm().isVisible());
    EXPECT_EQ(traceText(), "kept");
    EXPECT_FALSE(workDir.exists("trace.txt"));
    EXPECT_FALSE(mainWidgets().Grafico_traccia->hasPicture());
}

// The example chirp line: reviewed, chosen by position, its interval
// corrected, cut at the picked sea floor and to a given length.
TEST_F(SurveyLoadTest, ChirpLineChosenByPositionAndCutAtTheSeaFloor) {
    const std::filesystem::path line =
        std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/examples/chirp_line.sgy";
    openLine(QString::fromStdString(line.string()));
    EXPECT_NE(segySummary()->toPlainText().indexOf(
                  "Sample interval: binary header 66 µs, first trace header 66 µs; used 0.0660 "
                  "ms from the binary header"),
              -1);
    EXPECT_EQ(segyEdit("IntervalEdit")->text(), "0.066000");
    EXPECT_FALSE(segyBox("ChannelBox")->isEnabled());
    segyBox("ChoiceBox")->setCurrentIndex(static_cast<int>(TraceChoiceKind::Near));
    segyEdit("NearXEdit")->setText("48601.4");
    segyEdit("NearYEdit")->setText("156601.4");
    EXPECT_EQ(segyLabel("ChosenLabel")->text().left(39), "Trace 62: field record (shot) 5062, X 4");
    EXPECT_TRUE(
        segyLabel("PickLabel")->text().startsWith("Automatic pick: 3.432 ms, the first sample"))
        << segyLabel("PickLabel")->text().toStdString();
    segyStack()->setValue(1);
    segyEdit("IntervalEdit")->setText("0.66");
    segyBox("LengthBox")->setCurrentIndex(static_cast<int>(LengthMode::Given));
    segyEdit("LengthEdit")->setText("6.6");

    SegyReader reader(line);
    SegyLoadRequest request;
    request.choice = {TraceChoiceKind::Near, 0, 0, 48601.4, 156601.4};
    request.stack = 1;
    request.intervalMs = 0.66;
    request.seaFloor = SeaFloorMode::Auto;
    request.lengthMs = 6.6;
    const SegyLoad expected = loadSegyTrace(reader, reader.traceHeaders(), request);
    EXPECT_NE(expected.notice.find("Length: 6.600 ms kept, 11 samples."), std::string::npos);
    pressLoad(expected.notice);
    const std::string listing = workDir.read("trace.txt");
    EXPECT_EQ(listing, expected.listing);
    EXPECT_EQ(listing.substr(0, 10), "0.000000  ");
    EXPECT_EQ(workspace().corePosition(), (CorePosition{48601.4, 156601.4}));
}

// The section follows the trace window's choice, and a click on the section
// chooses the trace there.
TEST_F(SurveyLoadTest, SectionShowsTheChoiceAndAClickChoosesTheTrace) {
    const std::filesystem::path line =
        std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/examples/chirp_line.sgy";
    // A synthetic of pulses where the example line's reflectors lie below
    // its sea floor, drawn as the inset at the chosen trace.
    std::string synthetic;
    for (int i = 0; i <= 500; ++i) {
        const double ms = 0.02 * i;
        double amplitude = 0;
        for (const auto& [at, strength] :
             {std::pair{0.0, 1.0}, {0.8, 0.6}, {1.9, 0.7}, {3.0, 0.4}, {5.2, 0.6}, {7.9, 0.3}}) {
            amplitude += strength * std::exp(-(ms - at) * (ms - at) / 0.02) *
                         std::cos(2 * std::numbers::pi * (ms - at) / 0.25);
        }
        appendSeriesLine(synthetic, ms / 1000, amplitude, SeriesTimeForm::E23);
    }
    workDir.write("ampl.dat", synthetic);
    workspace().series().readSynthetic();
    // The core's position the document holds (a session's) is marked.
    workspace().setCorePosition(CorePosition{48600.6, 156600.6});
    openLine(QString::fromStdString(line.string()));
    EXPECT_EQ(segyEdit("NearXEdit")->text(), "48600.6");
    segyButton("SectionButton")->click();
    SegySectionForm* section = segyForm().sectionForm();
    ASSERT_NE(section, nullptr);
    ASSERT_TRUE(section->isVisible());
    auto* image = child<ImagePanel>(section, "SectionImage");
    ASSERT_TRUE(image->hasPicture());
    EXPECT_EQ(child<QLabel>(section, "CoreLabel")->text(), "Core: 0.00 from trace 27.");
    EXPECT_EQ(image->picture().pixel(SectionLeft + 98, SectionTop - 2), SectionCoreMark);
    // 240 traces over 900 columns: column 99 shows trace 27.
    ASSERT_EQ(section->section().width, SegySectionForm::SectionWidth);
    const int x = SectionLeft + 99;
    const int y = SectionTop + 10;
    // The chosen trace (1) is edged: the column right of its four.
    EXPECT_EQ(image->picture().pixel(SectionLeft + 4, y), SectionChosen);

    QTest::mouseMove(image, QPoint(x, y));
    EXPECT_TRUE(child<QLabel>(section, "HoverLabel")->text().startsWith("Trace 27, shot 5027, X "))
        << child<QLabel>(section, "HoverLabel")->text().toStdString();
    segyBox("ChoiceBox")->setCurrentIndex(static_cast<int>(TraceChoiceKind::Shot));
    QTest::mouseClick(image, Qt::LeftButton, {}, QPoint(x, y));
    EXPECT_EQ(segyBox("ChoiceBox")->currentIndex(), static_cast<int>(TraceChoiceKind::Index));
    EXPECT_EQ(segyEdit("NumberEdit")->text(), "27");
    EXPECT_EQ(image->picture().pixel(x - 3, y), SectionChosen);
    EXPECT_NE(image->picture().pixel(x, y), SectionChosen);
    // Trace 27's columns 97 to 100: the inset's right edge 16 pixels beyond
    // their middle, below the sea floor.
    const int seaFloor = SectionTop + section->section().columns[99].seaFloorRow;
    EXPECT_EQ(image->picture().pixel(SectionLeft + 98 + SectionInsetHalfWidth, seaFloor + 20),
              0xff000000U);
    // scripts/screenshot.sh takes the README's picture here.
    if (const char* screenshot = std::getenv("QUARVEL_SECTION_SCREENSHOT")) {
        segyStack()->setValue(12);
        section->grab().save(screenshot);
    }

    // The wheel zooms about the trace under the pointer, a drag pans.
    QWheelEvent wheel(QPointF(x, y), image->mapToGlobal(QPointF(x, y)), {}, QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(image, &wheel);
    EXPECT_EQ(section->shownTraces().first, 13);
    EXPECT_EQ(section->shownTraces().last, 132);
    QTest::mousePress(image, Qt::LeftButton, {}, QPoint(x, y));
    QTest::mouseMove(image, QPoint(x - 30, y));
    QTest::mouseRelease(image, Qt::LeftButton, {}, QPoint(x - 30, y));
    EXPECT_EQ(section->shownTraces().first, 17);
    EXPECT_EQ(segyEdit("NumberEdit")->text(), "27");
}

TEST_F(SurveyLoadTest, CancelledOrBrokenLasLeavesTheGridAndLogDat) {
    const std::string las = "~V\r\n~C\r\n DEPT.M :\r\n VP.M/S :\r\n RHOB.G/CC :\r\n~A\r\n"
                            " 1 1500 1.7\r\n";
    const QString path = userFile("well.las", las);
    const QString broken = userFile("broken.las", las + " 2 1600\r\n");
    showPage(TTables_Form::LogsPage);
    setCell(1, 0, "5.5");
    dialogs.expectOpenFile(path);
    dialogs.expectDialog([](QDialog&) { return false; });
    action("Load1")->trigger();
    dialogs.expectAllAnswered();
    errors.expectError(QString::fromStdString(
        formatMessage("Cannot read the LAS file \"%s\". Line 8: it holds 2 values, but the "
                      "~Curve section names 3 curves.",
                      {broken.toStdString()})));
    load(broken);
    errors.expectAllReported();
    const QString empty = userFile("empty.csv", "");
    errors.expectError(QString::fromStdString(
        formatMessage("The log file \"%s\" is empty.", {empty.toStdString()})));
    load(empty);
    errors.expectAllReported();
    EXPECT_EQ(cell(1, 0), "5.5");
    EXPECT_FALSE(workDir.exists("log.dat"));
}

// From the raw example files to a synthetic beside the recorded trace, with
// no other tool: the MSCL table cleaned and filled, the SEG-Y trace chosen.
TEST_F(SurveyLoadTest, ExampleFilesCarryThroughToTheSyntheticAndTheTrace) {
    const std::filesystem::path examples =
        std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/examples";
    const std::filesystem::path mscl = examples / "demo_core_mscl.txt";
    const std::string text = readTextFile(mscl);
    const SurveyLog log = readSurveyLog(LogFileKind::Mscl, text, mscl.string());
    const ColumnChoice proposal = proposeColumns(log.table);
    const std::string summary = importSummary(
        convertLog(log.table, proposal, {8.0, 1300.0, 3000.0}), log.notes, mscl.string());

    showPage(TTables_Form::LogsPage);
    dialogs.expectOpenFile(QString::fromStdString(mscl.string()));
    // The columns and units proposed, 10 % of the largest amplitude, then
    // 1300 to 3000 m/s, the first range after the log's own.
    dialogs.expectDialog([](QDialog& dialog) {
        dialog.findChild<QComboBox*>("velocityRange")->setCurrentIndex(1);
        return true;
    });
    dialogs.expectWarning(QString::fromStdString(summary));
    action("Load1")->trigger();
    dialogs.expectAllAnswered();
    button("SpeedButton1")->click();
    child<QToolButton>(forms().Chirp_Form, "SpeedButton1")->click();
    mainWidgets().SpeedButton1->click();
    EXPECT_TRUE(workDir.exists("ampl.dat"));
    EXPECT_TRUE(mainWidgets().Grafico_sintetico->hasPicture());

    const double synthMs = workspace().series().syntheticExtents().timeLast * 1000;
    openLine(QString::fromStdString((examples / "demo_line.sgy").string()));
    EXPECT_EQ(segyBox("LengthBox")->currentIndex(), static_cast<int>(LengthMode::Synthetic));
    EXPECT_EQ(segyBox("LengthBox")->currentText().toStdString(),
              "Synthetic span (" + numbers::formatFixed(synthMs, 3) + " ms)");
    const WorkspaceState& ws = this->ws();
    const double logMs = depth_twt::estimateTwt(ws.LogTable, ws.LogCount, ws.LogBottomDepth).estTwt;
    EXPECT_GT(logMs, 0);
    EXPECT_EQ(segyBox("LengthBox")->itemText(static_cast<int>(LengthMode::LogTwt)).toStdString(),
              "Log two-way time (" + numbers::formatFixed(logMs, 3) + " ms)");
    segyBox("ChoiceBox")->setCurrentIndex(static_cast<int>(TraceChoiceKind::Shot));
    segyEdit("NumberEdit")->setText("1005");
    segyBox("SeaFloorBox")->setCurrentIndex(static_cast<int>(SeaFloorMode::Keep));
    SegyReader reader(examples / "demo_line.sgy");
    SegyLoadRequest request;
    request.choice = {TraceChoiceKind::Shot, 1005};
    request.lengthMs = synthMs;
    pressLoad(loadSegyTrace(reader, reader.traceHeaders(), request).notice);
    EXPECT_EQ(workDir.read("trace.txt").substr(0, 10), "83.500000 ");
    EXPECT_TRUE(mainWidgets().Grafico_traccia->hasPicture());
}

// The data editor writes the log.dat that the import with every proposal
// makes, which quarvel-synth writes with its default options.
TEST_F(SurveyLoadTest, RealCoreExportsLoadAsTheyAreProposed) {
    const std::filesystem::path examples =
        std::filesystem::path(QUARVEL_SOURCE_DIR) / "data/examples";
    for (const char* file : {"piston_core_mscl.csv", "well_sonic_feet.las"}) {
        SCOPED_TRACE(file);
        const std::filesystem::path path = examples / file;
        ProposedAnswers proposals;
        const ImportedLog expected = importLogFile(path, proposals).value();
        showPage(TTables_Form::LogsPage);
        dialogs.expectOpenFile(QString::fromStdString(path.string()));
        dialogs.expectDialog([](QDialog&) { return true; });
        for (const std::string& notice : expected.notices) {
            dialogs.expectWarning(QString::fromStdString(notice));
        }
        action("Load1")->trigger();
        dialogs.expectAllAnswered();
        EXPECT_EQ(workDir.read("log.dat"), expected.logDat);
    }
    // The sonic log in metres, depths increasing, velocities from DT: at
    // 30 ft the DT of 31 ft (171.69 us/ft), the two shallower ones being
    // NULL; at 60 ft 156.26 us/ft.
    const std::string logDat = workDir.read("log.dat");
    EXPECT_EQ(logDat.substr(0, 30), "9.144000 1775.292679 0.000000\r");
    EXPECT_EQ(logDat.substr(logDat.size() - 32), "18.288000 1950.595162 0.000000\r\n");
}

} // namespace
} // namespace quarvel::testing
