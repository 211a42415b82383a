// The demo start: the demo core loaded through the windows' commands, and
// its final plot saved, with nobody to answer a question.
#include "app/application.h"
#include "app/demo.h"
#include "main_window/main_form.h"
#include "platform/image_panel.h"
#include "quarvel/version.h"
#include "support/main_widgets.h"
#include "support/recording_error_reporter.h"
#include "support/temp_work_dir.h"

#include <QCheckBox>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QtGlobal>
#include <filesystem>
#include <gtest/gtest.h>
#include <optional>

namespace quarvel::testing {
namespace {

namespace fs = std::filesystem;

TEST(DemoTest, LoadsTheDemoThroughTheCommandsAndSavesItsFinalPlot) {
    TempWorkDir workDir;
    RecordingErrorReporter errors;
    DemoDialogs dialogs(nullptr);
    const QString plotPath = QString::fromStdString(workDir.file("demo.bmp").string());
    {
        AppWindows windows(dialogs, errors, workDir.workDir());
        windows.showMainWindow();
        loadDemo(windows, dialogs, QUARVEL_TEST_DEMO_DIR);
        const TMainForm& main = *windows.forms().MainForm;
        const MainWidgets widgets(main);
        for (const QCheckBox* box :
             {widgets.Photo, widgets.Synth, widgets.Trace, widgets.Pwave, widgets.density}) {
            EXPECT_TRUE(box->isEnabled() && box->isChecked()) << box->objectName().toStdString();
        }
        EXPECT_TRUE(widgets.correlator->isChecked());
        markRows(windows, {94});
        saveFinalPlot(windows, dialogs, plotPath);
    }
    EXPECT_EQ(dialogs.unansweredQuestions(), 0);
    EXPECT_TRUE(workDir.exists("ampl.dat"));
    const QImage plot = QImage(plotPath).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(plot.size(), QSize(1000, 660));
    // The mark across the synthetic panel, right of its depth label.
    for (int x = 310; x <= 358; ++x) {
        ASSERT_EQ(plot.pixel(x, 144), qRgb(0, 0, 0)) << "column " << x;
    }
}

// With nobody to ask, a message (an MSCL import's summary) leaves the run
// good; a warning makes it fail.
TEST(DemoTest, WithNobodyToAskOnlyAMessageLeavesTheRunGood) {
    DemoDialogs dialogs(nullptr);
    dialogs.showMessage("The session \"core.qvs\" opened.");
    EXPECT_EQ(dialogs.unansweredQuestions(), 0);
    dialogs.showWarning("Rows were left out.");
    EXPECT_EQ(dialogs.unansweredQuestions(), 1);
}

TEST(DemoTest, FindsTheDemoWhereQuarvelDemoDirPoints) {
    TempWorkDir elsewhere;
    const struct {
        fs::path folder;
        bool found;
    } cases[] = {{QUARVEL_TEST_DEMO_DIR, true}, {elsewhere.path(), false}};
    const QByteArray previous = qgetenv("QUARVEL_DEMO_DIR");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder.string());
        qputenv("QUARVEL_DEMO_DIR", QByteArray::fromStdString(c.folder.string()));
        const std::optional<fs::path> found = findDemoFolder();
        EXPECT_EQ(found.has_value(), c.found);
        if (found) {
            EXPECT_EQ(*found, c.folder);
        }
    }
    qputenv("QUARVEL_DEMO_DIR", previous);
}

// The program itself, as the README's first command runs it without a
// display: the final plot is saved and the exit status tells success; a demo
// that cannot be found is reported and fails. Without QUARVEL_DEMO_DIR the
// program finds the copy the build put beside it, as the installed program
// finds the installed demo.
TEST(DemoTest, TheProgramSavesTheFinalPlotOrSaysWhatIsMissing) {
    TempWorkDir workDir;
    TempWorkDir emptyFolder;
    const struct {
        QString demoFolder; // empty: QUARVEL_DEMO_DIR unset
        int exitCode;
        bool plotSaved;
        QString message;
    } cases[] = {
        {QUARVEL_TEST_DEMO_DIR, 0, true, ""},
        {"", 0, true, ""},
        {QString::fromStdString(emptyFolder.path().string()), 1, false,
         "quarvel: the demo core was not found"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.demoFolder.toStdString());
        const QString plotPath = QString::fromStdString(workDir.file("plot.bmp").string());
        QFile::remove(plotPath);
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "offscreen");
        environment.insert("QUARVEL_WORKDIR", QString::fromStdString(workDir.path().string()));
        environment.remove("QUARVEL_DEMO_DIR");
        if (!c.demoFolder.isEmpty()) {
            environment.insert("QUARVEL_DEMO_DIR", c.demoFolder);
        }
        program.setProcessEnvironment(environment);
        program.start(QUARVEL_TEST_PROGRAM, {"--demo", "--final-plot", plotPath});
        ASSERT_TRUE(program.waitForFinished(120000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), c.exitCode);
        EXPECT_EQ(QFile::exists(plotPath), c.plotSaved);
        EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardError()).contains(c.message));
    }
}

// --version and --help answer without a display: the platform named here
// could not start, so any attempt to open a window would fail the run.
TEST(DemoTest, VersionAndHelpNeedNoDisplay) {
    const struct {
        QStringList arguments;
        QString output;
    } cases[] = {
        {{"--version"}, QStringLiteral("quarvel ") + QString::fromUtf8(Version.data()) + "\n"},
        {{"--demo", "--help"}, "Usage: quarvel [--demo [--final-plot FILE]"},
        {{"-h"}, "QUARVEL_WORKDIR"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        QProcess program;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.remove("DISPLAY");
        environment.remove("WAYLAND_DISPLAY");
        program.setProcessEnvironment(environment);
        program.start(QUARVEL_TEST_PROGRAM, c.arguments);
        ASSERT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0);
        EXPECT_TRUE(QString::fromLocal8Bit(program.readAllStandardOutput()).contains(c.output));
    }
}

// Black pixels of row y from column `from` to column `to`, both included.
int blackPixels(const QImage& plot, int y, int from, int to) {
    int count = 0;
    for (int x = from; x <= to; ++x) {
        count += plot.pixel(x, y) == qRgb(0, 0, 0) ? 1 : 0;
    }
    return count;
}

bool columnIsBlack(const QImage& plot, int x, int fromY, int toY) {
    for (int y = fromY; y < toY; ++y) {
        if (plot.pixel(x, y) != qRgb(0, 0, 0)) {
            return false;
        }
    }
    return true;
}

// The saved plot of the demo, with every panel: each tick of both axes shows
// beside its label. The tick rows are worked out here from the demo's own
// files (Top 0 and Bottom 2800 mm; trace times 83.5 to 87.3 ms) and the
// default mark frequency of 200. quarvel-synth draws the same plot from the
// demo's session without windows.
TEST(DemoTest, TheSavedDemoPlotShowsEveryTick) {
    TempWorkDir workDir;
    const QString plotPath = QString::fromStdString(workDir.file("plot.bmp").string());
    QProcess program;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("QUARVEL_WORKDIR", QString::fromStdString(workDir.path().string()));
    environment.insert("QUARVEL_DEMO_DIR", QUARVEL_TEST_DEMO_DIR);
    program.setProcessEnvironment(environment);
    program.start(QUARVEL_TEST_PROGRAM, {"--demo", "--final-plot", plotPath});
    ASSERT_TRUE(program.waitForFinished(120000));
    ASSERT_EQ(program.exitCode(), 0);
    const QImage plot = QImage(plotPath).convertToFormat(QImage::Format_RGB32);
    const int height = plot.height() - 100;
    ASSERT_EQ(height, 560);
    const QString toolPath = QString::fromStdString(workDir.file("tool.bmp").string());
    QProcess tool;
    tool.setProcessEnvironment(environment);
    tool.start(QUARVEL_SYNTH_PATH,
               {"plot", "--session", QUARVEL_TEST_DEMO_DIR "/demo.qvs", "--out", toolPath});
    ASSERT_TRUE(tool.waitForFinished(120000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    EXPECT_EQ(QImage(toolPath).convertToFormat(QImage::Format_RGB32), plot);

    constexpr int Mark = 200;
    constexpr int DepthAxis = 45;
    EXPECT_TRUE(columnIsBlack(plot, DepthAxis, 50, 50 + height));
    int depthTicks = 0;
    for (int depth = 0; depth <= 2800; depth += Mark, ++depthTicks) {
        const int y = 50 + height * depth / 2800;
        EXPECT_GE(blackPixels(plot, y, DepthAxis - 4, DepthAxis - 1), 2) << depth << " mm";
    }
    EXPECT_EQ(depthTicks, 15);

    constexpr int TimeAxis = 790 - 5; // all five panels: the trace stands at 790
    constexpr int Span = 87300 - 83500;
    EXPECT_TRUE(columnIsBlack(plot, TimeAxis, 50, 50 + height));
    int timeTicks = 0;
    for (int j = 0; j <= Span; j += Mark, ++timeTicks) {
        const int y = 50 + height * j / Span;
        EXPECT_GE(blackPixels(plot, y, TimeAxis - 4, TimeAxis - 1), 2) << j / 1000.0 << " ms";
    }
    EXPECT_EQ(timeTicks, 20);

    // The photograph as it is but for the rows of the demo's five marks: the
    // pointer's guide line is no part of the plot.
    const QImage photo = QImage(QUARVEL_TEST_DEMO_DIR "/demo_core.bmp")
                             .convertToFormat(QImage::Format_RGB32)
                             .copy(0, 0, 20, height);
    for (int y = 0; y < height; ++y) {
        if (y != 94 && y != 202 && y != 310 && y != 422 && y != 504) {
            ASSERT_EQ(plot.copy(50, 50 + y, 20, 1), photo.copy(0, y, 20, 1)) << "row " << y;
        }
    }
}

TEST(DemoTest, OnlyTheDemoOptionStartsTheDemo) {
    const struct {
        std::vector<const char*> arguments;
        bool demo;
    } cases[] = {{{"quarvel"}, false},
                 {{"quarvel", "--demo"}, true},
                 {{"quarvel", "-platform", "offscreen", "--demo", "--final-plot", "x.bmp"}, true},
                 {{"quarvel", "--demonstration"}, false}};
    for (const auto& c : cases) {
        std::vector<char*> argv;
        for (const char* argument : c.arguments) {
            argv.push_back(const_cast<char*>(argument));
        }
        EXPECT_EQ(wantsDemo(static_cast<int>(argv.size()), argv.data()), c.demo) << argv.back();
    }
}

} // namespace
} // namespace quarvel::testing
