// The tie model without any window, in the workspace that gives it the log,
// series and chirp: tie points, their marks and their export, the log's
// time-depth table, and the time-zero choice with its warning after "Calc.
// Synthetic".
#include "document/workspace.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "support/proposed_answers.h"
#include "support/temp_work_dir.h"

#include <QImage>
#include <QSignalSpy>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

using testing::TempWorkDir;

class TieModelTest : public ::testing::Test {
protected:
    TempWorkDir dir;
    Workspace workspace{dir.workDir()};
};

TEST_F(TieModelTest, TiePointsAreKeptInOrderExportedAndCleared) {
    QSignalSpy changed(&workspace.tie(), &TieModel::tiePointsChanged);
    workspace.addTiePoint({512, "0.4995", 0.66666, 0.66666});
    workspace.addTiePoint({200, "0.1795", 0.2, std::nullopt});
    workspace.addTiePoint({-3, "-0.0030", 0.0, 12.3456});
    EXPECT_EQ(changed.count(), 3);
    workspace.tie().exportTiePoints(dir.file("ties.csv"));
    EXPECT_EQ(dir.read("ties.csv"), "row,depth_m,est_twt_ms,trace_twt_ms\r\n"
                                    "512,0.4995,0.667,0.667\r\n"
                                    "200,0.1795,0.200,\r\n"
                                    "-3,-0.0030,0.000,12.346\r\n");

    workspace.tie().clearTiePoints();
    workspace.tie().clearTiePoints();
    EXPECT_EQ(changed.count(), 4) << "clearing nothing announces nothing";
    EXPECT_TRUE(workspace.tie().tiePoints().empty());
    workspace.tie().exportTiePoints(dir.file("ties.csv"));
    EXPECT_EQ(dir.read("ties.csv"), "row,depth_m,est_twt_ms,trace_twt_ms\r\n");
    EXPECT_THROW(workspace.tie().exportTiePoints(dir.file("no-folder/ties.csv")), QuarvelError);
}

// A tie point is a row of one photograph with a time from one log.
TEST_F(TieModelTest, ANewPhotographOrLogClearsTheTiePointsWithANotice) {
    const QString photo = QString::fromStdString(dir.file("core.bmp").string());
    QImage(20, 30, QImage::Format_RGB32).save(photo);
    dir.write("core.txt", "0.5 1600 1.7\r\n1.0 1650 1.8\r\n");
    testing::ProposedAnswers answers;
    const auto loadLog = [&] { workspace.log().load(dir.file("core.txt"), answers); };
    const struct {
        int points;
        std::function<void()> load;
        QStringList notices;
    } cases[] = {
        {2,
         [&] { workspace.loadPhotograph(photo); },
         {"The 2 tie points were marked on the last photograph; they were cleared."}},
        {1, loadLog, {"The 1 tie point was estimated from the last log; it was cleared."}},
        {0, loadLog, {}},
    };
    for (const auto& c : cases) {
        for (int i = 0; i < c.points; ++i) {
            workspace.addTiePoint({i, "0.1", 0.1, std::nullopt});
        }
        QStringList notices;
        const auto connection = QObject::connect(&workspace, &Workspace::notice,
                                                 [&](const QString& text) { notices << text; });
        c.load();
        QObject::disconnect(connection);
        EXPECT_TRUE(workspace.tie().tiePoints().empty());
        EXPECT_EQ(notices, c.notices);
    }
}

// A point marks the panels chosen at the time (the trace only with a trace
// time); a panel drawn again loses its marks, as a window's picture does.
TEST_F(TieModelTest, MarksLieOnTheChosenPanelsUntilTheyAreDrawnAgain) {
    const QString photo = QString::fromStdString(dir.file("core.bmp").string());
    QImage(20, 30, QImage::Format_RGB32).save(photo);
    workspace.loadPhotograph(photo);
    dir.write("trace.txt", "0 0\r\n3 1\r\n"); // 0.1 ms a row of the 30-row panel
    workspace.series().readTrace();
    workspace.plotSettings().setPanels({.photo = true, .synthetic = true, .trace = true});
    workspace.addTiePoint({5, "0.1", 1.5, 1.5});
    workspace.addTiePoint({7, "0.2", 0.5, std::nullopt});
    workspace.plotSettings().setPanels({.photo = false});
    workspace.addTiePoint({9, "0.3", 0.7, std::nullopt});
    const PanelSet photoAndSynth{.photo = true, .synthetic = true};
    EXPECT_EQ(workspace.marks().all(),
              (std::vector<PlotMark>{
                  {5, "0.1", {.photo = true, .synthetic = true, .trace = true}, 1.5, 15},
                  {7, "0.2", photoAndSynth, std::nullopt, 0}}));

    workspace.pickTraceTime(2.0);
    EXPECT_EQ(workspace.marks().all(),
              (std::vector<PlotMark>{{5, "0.1", photoAndSynth, 1.5, 15},
                                     {7, "0.2", photoAndSynth, std::nullopt, 0},
                                     {5, "0.1", {.trace = true}, 1.5, 15},
                                     {9, "0.3", {.trace = true}, 2.0, 20}}));
    workspace.series().readTrace();
    EXPECT_EQ(workspace.marks().all(),
              (std::vector<PlotMark>{{5, "0.1", photoAndSynth, 1.5, 15},
                                     {7, "0.2", photoAndSynth, std::nullopt, 0}}));
    dir.write("ampl.dat", "0 0\r\n");
    workspace.series().readSynthetic();
    EXPECT_EQ(workspace.marks().all(),
              (std::vector<PlotMark>{{5, "0.1", {.photo = true}, 1.5, 15},
                                     {7, "0.2", {.photo = true}, std::nullopt, 0}}));
}

TEST_F(TieModelTest, TimeDepthTableFollowsTheEnginesRule) {
    EXPECT_THROW(workspace.timeDepthCsv(), QuarvelError) << "no log loaded";
    dir.write("log.dat", "0.5 1600 1.7\r\n1.0 1650 1.8\r\n");
    workspace.logLoaded();
    EXPECT_EQ(workspace.timeDepthCsv(),
              "depth_m,twt_ms\r\n0.0000,0.000\r\n0.5000,0.625\r\n1.0000,1.231\r\n");
}

// Sediment almost like water down to a dense bed at 0.6 m: the bed, not the
// sea floor, gives the strongest arrival. Without the bed the sea floor does.
std::string coreLog(bool bed) {
    std::string text;
    for (int i = 1; i <= 100; ++i) {
        const bool inBed = bed && std::abs(i - 60) < 3;
        const std::string rest = inBed ? " 1750 2.1" : (bed ? " 1500 1.05" : " 1600 1.7");
        text += numbers::formatFixed(i * 0.01, 6) + rest + "\r\n";
    }
    return text;
}

TEST_F(TieModelTest, WarnsWhenTimeZeroIsFarFromTheSeaFloorUnlessAnchoredThere) {
    const std::string farWarning =
        "Time 0 of the synthetic is an arrival 0.790 ms below the sea floor; events are drawn "
        "too shallow. (Set, Synthetic Starts at Sea Floor)";
    struct Case {
        bool bed;
        MathFun::TimeZero timeZero;
        std::string warning;
    };
    const Case cases[] = {
        {true, MathFun::TimeZero::Strongest, farWarning},
        {true, MathFun::TimeZero::SeaFloor, ""},
        {false, MathFun::TimeZero::Strongest, ""},
    };
    workspace.chirp().makeWavelet();
    QSignalSpy choice(&workspace.tie(), &TieModel::timeZeroChanged);
    std::string amplStrongest;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.warning);
        dir.write("log.dat", coreLog(c.bed));
        workspace.tie().setTimeZero(c.timeZero);
        workspace.computeSynthetic();
        EXPECT_EQ(workspace.timeZeroWarning().toStdString(), c.warning);
        if (c.bed && c.timeZero == MathFun::TimeZero::Strongest) {
            amplStrongest = dir.read("ampl.dat");
        } else if (c.bed) {
            EXPECT_NE(dir.read("ampl.dat"), amplStrongest) << "starts at the sea floor";
        }
    }
    EXPECT_EQ(choice.count(), 2);
}

} // namespace
} // namespace quarvel
