// The workspace document without any window: what each command reads and
// writes, which signals it sends and in what order, and the conversions of
// the calibration texts.
#include "chirp/chirp_source.h"
#include "document/workspace.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "support/proposed_answers.h"
#include "support/temp_work_dir.h"

#include <QSignalSpy>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarvel {
namespace {

using testing::TempWorkDir;

// Every signal of the workspace, recorded by name in the order sent.
class SignalLog {
public:
    explicit SignalLog(Workspace& workspace) {
        const auto record = [this](const char* name) {
            return [this, name] { names.emplace_back(name); };
        };
        QObject::connect(&workspace, &Workspace::calibrationChanged, record("calibration"));
        QObject::connect(&workspace, &Workspace::boundaryStatusChanged, record("status"));
        QObject::connect(&workspace, &Workspace::chirpTextsChanged, record("chirp"));
        QObject::connect(&workspace, &Workspace::waveletChanged, record("wavelet"));
        QObject::connect(&workspace.plotSettings(), &PlotSettings::scalesChanged, record("scales"));
        QObject::connect(&workspace, &Workspace::logChanged, record("log"));
        QObject::connect(&workspace, &Workspace::synthChanged, record("synth"));
        QObject::connect(&workspace, &Workspace::synthComputed, record("computed"));
        QObject::connect(&workspace, &Workspace::traceChanged, record("trace"));
        QObject::connect(&workspace, &Workspace::traceSelected, record("select"));
        QObject::connect(&workspace, &Workspace::finalPlotChanged, record("plot"));
        QObject::connect(&workspace, &Workspace::notice,
                         [this](const QString& text) { names.push_back(text.toStdString()); });
    }
    std::vector<std::string> names;
};

std::string logText(int rows, double v0) {
    TextBuilder text;
    for (int i = 0; i < rows; ++i) {
        text.line(numbers::formatF3(0.1 + i * 0.05) + " " + numbers::formatF3(v0 + i) + " 1.8");
    }
    return text.text();
}

class WorkspaceTest : public ::testing::Test {
protected:
    // A photograph written to the working directory, by its name there.
    QString photo(const char* name) {
        const QString path = QString::fromStdString(dir.file(name).string());
        QImage image(20, 30, QImage::Format_RGB32);
        image.fill(Qt::gray);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    TempWorkDir dir;
    Workspace workspace{dir.workDir()};
    SignalLog log{workspace};
};

TEST_F(WorkspaceTest, SettersAnnounceOnlyWhatChanges) {
    workspace.setCalibration(Boundaries{});
    workspace.setChirpTexts(ChirpTexts{});
    EXPECT_TRUE(log.names.empty()) << "the defaults are what the workspace starts with";

    Boundaries calibration;
    calibration.Top = "12";
    workspace.setCalibration(calibration);
    ChirpTexts chirp;
    chirp.interval = "0.00002";
    workspace.setChirpTexts(chirp);
    EXPECT_EQ(log.names, (std::vector<std::string>{"calibration", "chirp"}));
    EXPECT_EQ(workspace.calibration().Top, "12");
    EXPECT_EQ(workspace.chirpTexts().interval, "0.00002");
}

// Each calibration field is converted by the rule of the one who uses it.
TEST_F(WorkspaceTest, CalibrationTextsConvertByTheirRules) {
    workspace.setCalibration(Boundaries::fromTexts({"100", "900", "", "", "5", "60", "20", "420"}));
    EXPECT_EQ(workspace.probeBounds(), (PixelBounds{5, 60, 20, 420}));
    // 800 mm over 400 rows: row offset 200 is 500 mm.
    EXPECT_DOUBLE_EQ(workspace.probeDepth(20, 420, 200, -1.0), 0.5);

    // The read-out's rule: Top by its numeric prefix, a Bottom that is no
    // number leaves the previous depth.
    workspace.setCalibration(
        Boundaries::fromTexts({"100mm", "900", "", "", "5", "60", "20", "420"}));
    EXPECT_DOUBLE_EQ(workspace.probeDepth(20, 420, 200, -1.0), 0.5);
    workspace.setCalibration(Boundaries::fromTexts({"100", "9x", "", "", "5", "6O", "20", "420"}));
    EXPECT_DOUBLE_EQ(workspace.probeDepth(20, 420, 200, -1.0), -1.0);
    // The pixel fields must be whole numbers: told once, then nothing.
    EXPECT_THROW(workspace.probeBounds(), QuarvelError);
    EXPECT_EQ(workspace.probeBounds(), std::nullopt);
}

TEST_F(WorkspaceTest, UpdateBoundariesReadsThePhotographsFileOrProposesThePanel) {
    dir.write("core.BND", "1\r\n2\r\n3\r\n4\r\n5\r\n6\r\n7\r\n8\r\n");
    workspace.loadPhotograph(photo("core.bmp"));
    log.names.clear();
    EXPECT_TRUE(workspace.UpdateBoundaries(103, 432));
    EXPECT_EQ(workspace.calibration().texts(),
              (std::array<std::string, 8>{"1", "2", "3", "4", "5", "6", "7", "8"}));
    EXPECT_EQ(workspace.boundaryStatus().toStdString(),
              "BND File :" + dir.file("core.BND").string());

    workspace.loadPhotograph(photo("absent.bmp"));
    log.names.clear();
    EXPECT_FALSE(workspace.UpdateBoundaries(103, 432));
    EXPECT_EQ(workspace.calibration().texts(),
              (std::array<std::string, 8>{"1", "2", "3", "4", "1", "103", "1", "432"}));
    EXPECT_EQ(workspace.boundaryStatus(), "BND File not found ");
    EXPECT_EQ(log.names, (std::vector<std::string>{"calibration", "status"}));
}

TEST_F(WorkspaceTest, OnlyABoundaryFileWrittenBecomesTheCurrentOne) {
    workspace.loadPhotograph(photo("before.bmp"));
    EXPECT_THROW(workspace.saveBoundaries(dir.file("no-folder/x.BND")), QuarvelError);
    EXPECT_EQ(workspace.state().BndFileName, dir.file("before.BND").string());
    EXPECT_TRUE(workspace.boundaryStatus().isEmpty());

    workspace.saveBoundaries(dir.file("saved.BND"));
    EXPECT_EQ(workspace.state().BndFileName, dir.file("saved.BND").string());
    EXPECT_EQ(dir.read("saved.BND"), boundaryFileText(Boundaries{}));
    EXPECT_EQ(log.names, std::vector<std::string>{"status"});
}

// Refreshing shows the log; only loading one makes it the workspace's log,
// which the correlator and "Calc. Synthetic" wait for.
TEST_F(WorkspaceTest, ALogIsLoadedOnlyByTheDataEditorsLoad) {
    dir.write("log.dat", logText(3, 1500));
    workspace.refreshLog();
    EXPECT_TRUE(workspace.state().NoLogLoaded);
    EXPECT_EQ(workspace.state().LogCount, 3);
    EXPECT_EQ(workspace.plotSettings().scales().minVel, 1500);
    EXPECT_EQ(workspace.plotSettings().scales().maxVel, 1502);
    EXPECT_EQ(log.names, (std::vector<std::string>{"scales", "log"}));

    log.names.clear();
    dir.write("core.txt", logText(4, 1500));
    testing::ProposedAnswers answers;
    ASSERT_TRUE(workspace.log().load(dir.file("core.txt"), answers));
    EXPECT_FALSE(workspace.state().NoLogLoaded);
    EXPECT_EQ(workspace.state().LogCount, 4);
    EXPECT_EQ(log.names, (std::vector<std::string>{"scales", "log"}));

    // A session opened starts with no log: none on show, none to compute from.
    log.names.clear();
    workspace.addTiePoint({1, "0.1", 0.1, std::nullopt});
    workspace.startOver();
    EXPECT_TRUE(workspace.state().NoLogLoaded);
    EXPECT_EQ(workspace.state().LogCount, 0);
    EXPECT_FALSE(dir.exists("log.dat"));
    EXPECT_EQ(logSeriesLength(workspace.log().grid()), 0);
    EXPECT_TRUE(workspace.tiePoints().empty());
    EXPECT_EQ(log.names, (std::vector<std::string>{"scales", "log"}));
}

TEST_F(WorkspaceTest, OverlongFilesAreReadUpToTheCapacityWithANotice) {
    dir.write("log.dat", logText(LogCapacity + 1, 1500));
    workspace.refreshLog();
    EXPECT_EQ(workspace.state().LogCount, LogCapacity);
    EXPECT_EQ(
        log.names,
        (std::vector<std::string>{
            "scales", "\"log.dat\" holds more than 64000 records; the rest was left out.", "log"}));
}

TEST_F(WorkspaceTest, TraceExtentsComeFromTheFile) {
    dir.write("trace.txt", "10 0.2\r\n12 -3\r\n8 4\r\n11 1\r\n");
    workspace.readTrace();
    const WorkspaceState& state = workspace.state();
    EXPECT_EQ(state.TraceTimeFirst, 10.0);
    EXPECT_EQ(state.TraceTimeLast, 11.0);
    EXPECT_EQ(state.TraceAmpMin, -3.0);
    EXPECT_EQ(state.TraceAmpMax, 4.0);
    EXPECT_EQ(state.TraceTimeMaxMs, 12000.0);
    EXPECT_EQ(state.TraceTimeMinMs, 8000.0);
    EXPECT_EQ(workspace.trace().count(), 4);
    EXPECT_EQ(log.names, std::vector<std::string>{"trace"});
}

// "Calc. Synthetic": the panel is announced before the listing, and a run
// the engine refuses announces nothing.
TEST_F(WorkspaceTest, ComputeSyntheticAnnouncesTheSeriesThenTheNewFile) {
    dir.write("log.dat", logText(40, 1500));
    EXPECT_THROW(workspace.computeSynthetic(), QuarvelError) << "no wavelet yet";
    EXPECT_TRUE(log.names.empty());

    workspace.makeWavelet();
    workspace.computeSynthetic();
    EXPECT_EQ(log.names, (std::vector<std::string>{"wavelet", "synth", "computed"}));
    EXPECT_GT(workspace.synthetic().count(), 0);
    EXPECT_EQ(workspace.syntheticExtents().timeFirst, workspace.state().SynthTimeFirst);
    EXPECT_EQ(std::max(-workspace.state().SynthAmpMin, workspace.state().SynthAmpMax), 1.0);
}

TEST_F(WorkspaceTest, RefusedChirpParametersLeaveTheWaveletUnannounced) {
    ChirpTexts texts;
    texts.interval = "0";
    workspace.setChirpTexts(texts);
    EXPECT_THROW(workspace.makeWavelet(), QuarvelError);
    EXPECT_FALSE(dir.exists("klauder.dat"));
    EXPECT_EQ(log.names, std::vector<std::string>{"chirp"});
}

TEST_F(WorkspaceTest, APhotographThatCannotBeReadChangesNothing) {
    workspace.loadPhotograph(photo("kept.bmp"));
    workspace.probe().showGuide(7);
    EXPECT_THROW(workspace.loadPhotograph(QString::fromStdString(dir.file("missing.bmp").string())),
                 QuarvelError);
    EXPECT_EQ(workspace.state().ImageFileName, dir.file("kept.bmp").string());
    EXPECT_EQ(workspace.state().BndFileName, dir.file("kept.BND").string());
    EXPECT_EQ(workspace.probe().guideRow(), 7);
}

TEST_F(WorkspaceTest, TheFinalPlotKeepsTheLastTraceAxis) {
    workspace.setFinalPlot(QImage(4, 3, QImage::Format_RGB32), 250);
    workspace.setFinalPlot(QImage(5, 3, QImage::Format_RGB32), std::nullopt);
    EXPECT_EQ(workspace.state().FinalPlotAxisX, 250);
    EXPECT_EQ(workspace.finalPlot().width(), 5);
    EXPECT_EQ(log.names, (std::vector<std::string>{"plot", "plot"}));
}

} // namespace
} // namespace quarvel
