#include "chirp/chirp_form.h"
#include "editor/tables_form_fixture.h"
#include "formats/text_file.h"
#include "survey/log_import.h"
#include "survey/segy_test_file.h"

#include <QPlainTextEdit>
#include <QToolButton>
#include <filesystem>
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
    QString traceText() const { return editor().Tracememo->toPlainText(); }
};

TEST_F(SurveyLoadTest, SegyTraceOfTheChosenShotAndChannelFillsTheListing) {
    const QString path = userFile("line.sgy", twoShotsOfThreeChannels());
    showPage(TTables_Form::TracePage);
    dialogs.expectOpenFile(path);
    dialogs.expectItem(1); // channel 2
    dialogs.expectItem(1); // shot 2
    editor().Load1->trigger();
    dialogs.expectAllAnswered();
    const std::string expected = "10.000000  2.20000000000000E+0001\r\n"
                                 "10.020000 -2.20000000000000E+0001\r\n";
    EXPECT_EQ(workDir.read("trace.txt"), expected);
    EXPECT_EQ(traceText().toStdString(), "10.000000  2.20000000000000E+0001\n"
                                         "10.020000 -2.20000000000000E+0001\n");
    EXPECT_TRUE(mainForm().Grafico_traccia->hasPicture());
}

TEST_F(SurveyLoadTest, CancelledOrBrokenSegyChangesNothing) {
    const std::string good = twoShotsOfThreeChannels();
    const QString goodPath = userFile("line.sgy", good);
    const QString cutPath = userFile("cut.sgy", good.substr(0, good.size() - 3));
    showPage(TTables_Form::TracePage);
    editor().Tracememo->setPlainText("kept");
    for (const int cancelAt : {0, 1}) {
        dialogs.expectOpenFile(goodPath);
        if (cancelAt == 1) {
            dialogs.expectItem(0);
        }
        dialogs.expectItem(std::nullopt);
        editor().Load1->trigger();
        dialogs.expectAllAnswered();
    }
    errors.expectError(QString::fromStdString(formatMessage(
        "Cannot read the SEG-Y file \"%s\". It ends in the middle of a trace: it is cut short, "
        "or its traces are not all 2 samples long.",
        {cutPath.toStdString()})));
    load(cutPath);
    errors.expectAllReported();
    EXPECT_EQ(traceText(), "kept");
    EXPECT_FALSE(workDir.exists("trace.txt"));
    EXPECT_FALSE(mainForm().Grafico_traccia->hasPicture());
}

TEST_F(SurveyLoadTest, CancelledOrBrokenLasLeavesTheGridAndLogDat) {
    const std::string las = "~V\r\n~C\r\n DEPT.M :\r\n VP.M/S :\r\n RHOB.G/CC :\r\n~A\r\n"
                            " 1 1500 1.7\r\n";
    const QString path = userFile("well.las", las);
    const QString broken = userFile("broken.las", las + " 2 1600\r\n");
    showPage(TTables_Form::LogsPage);
    setCell(1, 0, "5.5");
    dialogs.expectOpenFile(path);
    dialogs.expectItem(std::nullopt);
    editor().Load1->trigger();
    dialogs.expectAllAnswered();
    errors.expectError(QString::fromStdString(
        formatMessage("Cannot read the LAS file \"%s\". Line 8: it holds 2 values, but the "
                      "~Curve section names 3 curves.",
                      {broken.toStdString()})));
    load(broken);
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
    const std::string summary =
        importSummary(convertLog(log.table, proposal, defaultCleaningRules(log.table, proposal)),
                      log.notes, mscl.string());

    showPage(TTables_Form::LogsPage);
    dialogs.expectOpenFile(QString::fromStdString(mscl.string()));
    for (const int proposed :
         {proposal.depth, proposal.velocity, proposal.density, 2 /* 10 % */, 0}) {
        dialogs.expectItem(proposed);
    }
    dialogs.expectMessage(QString::fromStdString(summary));
    editor().Load1->trigger();
    dialogs.expectAllAnswered();
    editor().SpeedButton1->click();
    forms().Chirp_Form->SpeedButton1->click();
    mainForm().SpeedButton1->click();
    EXPECT_TRUE(workDir.exists("ampl.dat"));
    EXPECT_TRUE(mainForm().Grafico_sintetico->hasPicture());

    showPage(TTables_Form::TracePage);
    dialogs.expectOpenFile(QString::fromStdString((examples / "demo_line.sgy").string()));
    dialogs.expectItem(0); // the envelope
    dialogs.expectItem(4); // the last shot
    editor().Load1->trigger();
    dialogs.expectAllAnswered();
    EXPECT_EQ(workDir.read("trace.txt").substr(0, 10), "83.500000 ");
    EXPECT_TRUE(mainForm().Grafico_traccia->hasPicture());
}

} // namespace
} // namespace quarvel::testing
