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
        QObject::connect(&workspace.calibration(), &CalibrationModel::changed,
                         record("calibration"));
        QObject::connect(&workspace.chirp(), &ChirpModel::textsChanged, record("chirp"));
        QObject::connect(&workspace.chirp(), &ChirpModel::waveletChanged, record("wavelet"));
        QObject::connect(&workspace.plotSettings(), &PlotSettings::scalesChanged, record("scales"));
        QObject::connect(&workspace, &Workspace::logChanged, record("log"));
        QObject::connect(&workspace.series(), &SeriesModel::synthChanged, record("synth"));
        QObject::connect(&workspace, &Workspace::synthComputed, record("computed"));
        QObject::connect(&workspace.series(), &SeriesModel::traceChanged, record("trace"));
        QObject::connect(&workspace, &Workspace::traceSelected, record("select"));
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
    workspace.calibration().setBoundaries(Boundaries{});
    workspace.chirp().setTexts(ChirpTexts{});
    EXPECT_TRUE(log.names.empty()) << "the defaults are what the workspace starts with";

    Boundaries calibration;
    calibration.Top = "12";
    workspace.calibration().setBoundaries(calibration);
    ChirpTexts chirp;
    chirp.interval = "0.00002";
    workspace.chirp().setTexts(chirp);
    EXPECT_EQ(log.names, (std::vector<std::string>{"calibration", "chirp"}));
    EXPECT_EQ(workspace.calibration().boundaries().Top, "12");
    EXPECT_EQ(workspace.chirp().texts().interval, "0.00002");
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
    EXPECT_TRUE(workspace.tie().tiePoints().empty());
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
    workspace.series().readTrace();
    const SeriesModel& series = workspace.series();
    EXPECT_EQ(series.traceExtents().timeFirst, 10.0);
    EXPECT_EQ(series.traceExtents().timeLast, 11.0);
    EXPECT_EQ(series.traceExtents().ampMin, -3.0);
    EXPECT_EQ(series.traceExtents().ampMax, 4.0);
    EXPECT_EQ(series.traceTimeMaxMs(), 12000.0);
    EXPECT_EQ(series.traceTimeMinMs(), 8000.0);
    EXPECT_EQ(workspace.series().trace().count(), 4);
    EXPECT_EQ(log.names, std::vector<std::string>{"trace"});
}

// "Calc. Synthetic": the panel is announced before the listing, and a run
// the engine refuses announces nothing.
TEST_F(WorkspaceTest, ComputeSyntheticAnnouncesTheSeriesThenTheNewFile) {
    dir.write("log.dat", logText(40, 1500));
    EXPECT_THROW(workspace.computeSynthetic(), QuarvelError) << "no wavelet yet";
    EXPECT_TRUE(log.names.empty());

    workspace.chirp().makeWavelet();
    workspace.computeSynthetic();
    EXPECT_EQ(log.names, (std::vector<std::string>{"wavelet", "synth", "computed"}));
    EXPECT_GT(workspace.series().synthetic().count(), 0);
    EXPECT_EQ(workspace.series().syntheticExtents().timeFirst,
              workspace.series().syntheticExtents().timeFirst);
    EXPECT_EQ(std::max(-workspace.series().syntheticExtents().ampMin,
                       workspace.series().syntheticExtents().ampMax),
              1.0);
}

TEST_F(WorkspaceTest, RefusedChirpParametersLeaveTheWaveletUnannounced) {
    ChirpTexts texts;
    texts.interval = "0";
    workspace.chirp().setTexts(texts);
    EXPECT_THROW(workspace.chirp().makeWavelet(), QuarvelError);
    EXPECT_FALSE(dir.exists("klauder.dat"));
    EXPECT_EQ(log.names, std::vector<std::string>{"chirp"});
}

TEST_F(WorkspaceTest, APhotographThatCannotBeReadChangesNothing) {
    workspace.loadPhotograph(photo("kept.bmp"));
    workspace.probe().showGuide(7);
    EXPECT_THROW(workspace.loadPhotograph(QString::fromStdString(dir.file("missing.bmp").string())),
                 QuarvelError);
    EXPECT_EQ(workspace.photograph().fileName(), dir.file("kept.bmp").string());
    EXPECT_EQ(workspace.calibration().boundaryFile(), dir.file("kept.BND").string());
    EXPECT_EQ(workspace.probe().guideRow(), 7);
}

} // namespace
} // namespace quarvel
