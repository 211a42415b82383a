// The Tie window: what it refuses before measuring, the measurement on a
// worker thread finding the velocity factor and shift of a trace made from
// the same core, its plots, and "Apply" writing the scaled log.
#include "engine/engine_inputs.h"
#include "engine/synthetic.h"
#include "formats/numbers.h"
#include "formats/text_file.h"
#include "main_window/main_form.h"
#include "platform/image_panel.h"
#include "plot/depth_varying_plot.h"
#include "probe/depth_twt.h"
#include "support/app_fixture.h"
#include "support/proposed_answers.h"
#include "tie/tie_depth_varying.h"
#include "tie/tie_form.h"
#include "tie/tie_synthesiser.h"

#include <QAction>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <cstdint>
#include <gtest/gtest.h>
#include <sstream>

namespace quarvel {
namespace {

using testing::AppFixture;

// A 1 m core every 5 mm, its velocities scaled by the factor.
MathFun::SyntheticLog coreLog(double factor) {
    MathFun::SyntheticLog log;
    for (int i = 1; i <= 200; ++i) {
        const double depth = i * 0.005;
        log.depth.push_back(depth);
        log.velocity.push_back(factor * (1500 + 40 * std::sin(depth * 9)));
        log.density.push_back(depth > 0.3 && depth < 0.35 ? 1.95 : (depth > 0.6 ? 1.5 : 1.65));
    }
    return log;
}

class TieWindow : public AppFixture {
protected:
    TieWindow() {
        showMainWindow();
        mainWidgets().Tie1->trigger();
        tie = forms().TieForm;
    }

    // The window's widgets, found by their names.
    QLineEdit* edit(const char* name) const { return child<QLineEdit>(tie, name); }
    QPushButton* button(const char* name) const { return child<QPushButton>(tie, name); }
    QLabel* result() const { return child<QLabel>(tie, "TieResult"); }
    ImagePanel* plot(const char* name) const { return child<ImagePanel>(tie, name); }

    // The log through the data editor, the default chirp, Calc. Synthetic,
    // and a trace made from the same core.
    MathFun::SyntheticLog haveCoreAndTrace() {
        std::string core;
        MathFun::SyntheticLog log = coreLog(1.0);
        for (int i = 0; i < log.rows(); ++i) {
            core += numbers::formatF6(log.depth[i]) + " " + numbers::formatF6(log.velocity[i]) +
                    " " + numbers::formatF6(log.density[i]) + "\r\n";
        }
        workDir.write("core.txt", core);
        workspace().chirp().makeWavelet();
        testing::ProposedAnswers answers;
        EXPECT_TRUE(workspace().log().load(workDir.file("core.txt"), answers));
        mainForm().SpeedButton3Click();

        // The trace: the tie's synthetic of the same core at 0.95 times its
        // velocities, 0.2 ms late, as the data editor hands it over.
        const tie::TieSynthetic recorded = tie::TieSynthesiser(
            coreLog(0.95), engine::readWavelet(workDir.workDir(), 0.00001, "0.00001"),
            tie::synthesisParameters("2000", "7000", "0.00001"))(1.0);
        std::string trace;
        for (std::size_t i = 0; i < recorded.value.size() + 20; ++i) {
            trace += numbers::formatF6(static_cast<double>(i) * 0.01) + " " +
                     numbers::formatF6(recorded.value[i < 20 ? 0 : i - 20]) + "\r\n";
        }
        workDir.write("trace.txt", trace);
        mainForm().Draw_trace();

        return log;
    }

    // Measure, then Align: the depth-varying verdict the window gives.
    QString measureAndAlign() {
        QSignalSpy measured(tie, &TTieForm::measured);
        button("MeasureButton")->click();
        EXPECT_TRUE(measured.count() == 1 || measured.wait(120000));
        QSignalSpy aligned(child<DepthVaryingPanel>(tie, "DepthVaryingPanel"),
                           &DepthVaryingPanel::finished);
        button("AlignButton")->click();
        EXPECT_TRUE(aligned.count() == 1 || aligned.wait(120000));
        return child<QLabel>(tie, "AlignResult")->text();
    }

    TTieForm* tie = nullptr;
};

TEST_F(TieWindow, RefusesWhatItCannotMeasureBeforeRunning) {
    ASSERT_TRUE(tie->isVisible());
    const struct {
        const char* maxShift;
        const char* minFactor;
        const char* maxFactor;
        const char* message;
    } cases[] = {
        {"abc", "", "", "The maximum shift must be a number of ms from 0 to 100, not 'abc'."},
        {"", "1.3", "1.25",
         "The velocity factor range must be two numbers, the smaller first, from 0.50 to 2.00, "
         "not '1.3 1.25'."},
        {"", "", "",
         "There is no trace to compare the synthetic with. Load a trace on the data editor's "
         "Trace page first."},
    };
    for (const auto& c : cases) {
        edit("MaxShiftEdit")->setText(QLatin1String(c.maxShift));
        edit("MinFactorEdit")->setText(QLatin1String(c.minFactor));
        edit("MaxFactorEdit")->setText(QLatin1String(c.maxFactor));
        errors.expectError(QLatin1String(c.message));
        button("MeasureButton")->click();
        EXPECT_FALSE(tie->busy());
        EXPECT_TRUE(button("MeasureButton")->isEnabled());
    }
}

TEST_F(TieWindow, FindsTheFactorAndShiftOfTheTraceAndApplies) {
    const MathFun::SyntheticLog log = haveCoreAndTrace();
    EXPECT_FALSE(button("ApplyButton")->isEnabled());
    QSignalSpy done(tie, &TTieForm::measured);
    button("MeasureButton")->click();
    EXPECT_FALSE(button("MeasureButton")->isEnabled()) << "one measurement at a time";
    ASSERT_TRUE(done.count() == 1 || done.wait(120000));
    EXPECT_FALSE(tie->busy());
    const std::string text = result()->text().toStdString();
    const std::size_t at = text.find("Best velocity factor ");
    ASSERT_NE(at, std::string::npos) << text;
    const double factor = numbers::parseNumber(text.substr(at + 21, 5));
    EXPECT_NEAR(factor, 0.95, 0.01) << text;
    EXPECT_NE(text.find("shift 0.2"), std::string::npos) << text;
    EXPECT_NE(text.find("unlikely to be chance"), std::string::npos) << text;
    EXPECT_TRUE(plot("ShiftPlot")->hasPicture());
    EXPECT_TRUE(plot("FactorPlot")->hasPicture());
    // The report and the plots, saved where the user says.
    dialogs.expectSaveFile(QString::fromStdString(workDir.file("tie.txt").string()));
    button("SaveReportButton")->click();
    const std::string report = workDir.read("tie.txt");
    EXPECT_NE(report.find("# Settings\r\nlog_file "), std::string::npos) << report;
    EXPECT_NE(report.find("\r\nsignificant yes\r\n"), std::string::npos) << report;
    dialogs.expectSaveFile(QString::fromStdString(workDir.file("plots.png").string()));
    button("SavePlotsButton")->click();
    EXPECT_EQ(QImage(QString::fromStdString(workDir.file("plots.png").string())).width(), 600);

    // Another log is not scaled by a factor measured on this one.
    testing::ProposedAnswers answers;
    workDir.write("other.txt", "0.5 1600 1.7\r\n1.0 1650 1.8\r\n");
    ASSERT_TRUE(workspace().log().load(workDir.file("other.txt"), answers));
    const std::string other = workDir.read("log.dat");
    errors.expectError("The log has changed since the bulk tie was measured: press Measure "
                       "again first.");
    button("ApplyButton")->click();
    EXPECT_EQ(workDir.read("log.dat"), other);
    ASSERT_TRUE(workspace().log().load(workDir.file("core.txt"), answers));
    ASSERT_TRUE(button("ApplyButton")->isEnabled());
    button("ApplyButton")->click();
    EXPECT_FALSE(button("ApplyButton")->isEnabled());
    EXPECT_TRUE(result()->text().endsWith("load the trace again after Calc. Synthetic, so that it "
                                          "spans the new synthetic's times."));
    const std::vector<std::string> rows = splitLines(workDir.read("log.dat"));
    ASSERT_EQ(rows.size(), 200u);
    // The velocity column scaled as if typed; depth and density as they were.
    for (const std::size_t row : {std::size_t{0}, std::size_t{199}}) {
        std::istringstream fields(rows[row]);
        double depth = 0, velocity = 0, density = 0;
        fields >> depth >> velocity >> density;
        EXPECT_NEAR(depth, log.depth[row], 1e-9);
        EXPECT_NEAR(velocity, log.velocity[row] * factor, 1e-5);
        EXPECT_NEAR(density, log.density[row], 1e-9);
    }
    // The logs were redrawn from the new log.dat.
    EXPECT_NEAR(ws().LogTable.front().Velocity, log.velocity.front() * factor, 1e-5);
}

TEST_F(TieWindow, CancelStopsItReturnMeasuresAndAnEditClearsTheResult) {
    haveCoreAndTrace();
    QSignalSpy done(tie, &TTieForm::measured);
    button("MeasureButton")->click();
    EXPECT_TRUE(button("CancelButton")->isEnabled());
    button("CancelButton")->click();
    ASSERT_TRUE(done.count() == 1 || done.wait(120000));
    EXPECT_EQ(result()->text(), "Measurement cancelled.");
    EXPECT_FALSE(button("ApplyButton")->isEnabled());
    EXPECT_FALSE(button("CancelButton")->isEnabled());

    QTest::keyClick(edit("MaxShiftEdit"), Qt::Key_Return);
    ASSERT_TRUE(done.count() == 2 || done.wait(120000));
    EXPECT_TRUE(button("ApplyButton")->isEnabled()) << result()->text().toStdString();
    QTest::keyClicks(edit("MaxShiftEdit"), "1");
    EXPECT_FALSE(button("ApplyButton")->isEnabled());
    EXPECT_FALSE(button("SaveReportButton")->isEnabled());
    EXPECT_FALSE(plot("ShiftPlot")->hasPicture());
    EXPECT_EQ(result()->text(), "The fields changed: press Measure (or Return) again.");
}

// A tie point accepted 0.1 ms off the trace's own time for its depth: the
// alignment cannot beat the bulk tie, so the stretching is not supported,
// however rarely a surrogate aligns as well.
TEST_F(TieWindow, AnAlignmentWorseThanTheBulkTieIsNotSupported) {
    haveCoreAndTrace();
    workspace().tie().acceptTie({0.5, 1.0e-3});
    const QString text = measureAndAlign();
    EXPECT_TRUE(text.endsWith("not supported: the alignment matches worse than the bulk tie."))
        << text.toStdString();
}

// On a trace of noise the stretching is not supported, and Apply asks first.
TEST_F(TieWindow, AppliesANoiseTieOnlyWhenTheUserSaysSo) {
    haveCoreAndTrace();
    std::string trace;
    std::uint32_t state = 12345;
    for (int i = 0; i < 300; ++i) {
        state = state * 1664525u + 1013904223u;
        trace +=
            numbers::formatF6(i * 0.01) + " " + numbers::formatF6(state / 4294967296.0) + "\r\n";
    }
    workDir.write("trace.txt", trace);
    mainForm().Draw_trace();
    const QString text = measureAndAlign();
    EXPECT_NE(text.indexOf("not supported"), -1) << text.toStdString();
    const std::string before = workDir.read("log.dat");
    dialogs.expectQuestion(QStringLiteral("The depth-varying tie is not supported: an unrelated "
                                          "trace, or a bulk tie that may be chance, does as well. "
                                          "Rewrite the log's velocities all the same?"),
                           false);
    button("ApplyDepthVaryingButton")->click();
    EXPECT_EQ(workDir.read("log.dat"), before);
}

// An accepted tie point's mark dragged on the main window's trace: the
// point moves to the time under the release, is marked there, and the
// alignment runs again through it.
TEST_F(TieWindow, ATiePointMarkDraggedOnTheTraceMovesWhereItIsDropped) {
    haveCoreAndTrace();
    measureAndAlign();
    ASSERT_TRUE(workspace().tie().depthVaryingTie().has_value());
    const double depth = 0.5;
    const double ms = workspace().tie().depthVaryingTie()->tie.relation.twtAt(depth);
    workspace().tie().acceptTie({depth, ms / 1000});
    const testing::MainWidgets widgets = mainWidgets();
    ImagePanel* trace = widgets.Grafico_traccia;
    const SeriesExtents extents = workspace().series().traceExtents();
    const int from =
        depth_twt::traceMarkRow(ms, extents.timeFirst, extents.timeLast, trace->panelHeight());
    const int to = from + 2;
    widgets.ScrollBox4->ensureWidgetVisible(trace);
    QSignalSpy aligned(child<DepthVaryingPanel>(tie, "DepthVaryingPanel"),
                       &DepthVaryingPanel::finished);
    QTest::mousePress(trace, Qt::LeftButton, {}, QPoint(40, from + 1));
    QTest::mouseMove(trace, QPoint(40, to));
    QTest::mouseRelease(trace, Qt::LeftButton, {}, QPoint(40, to));
    ASSERT_TRUE(aligned.wait(120000));
    ASSERT_EQ(workspace().tie().acceptedTies().size(), 1u);
    EXPECT_EQ(workspace().tie().acceptedTies()[0].depth, depth);
    EXPECT_DOUBLE_EQ(
        workspace().tie().acceptedTies()[0].twt * 1000,
        depth_twt::traceTimeAtRow(to, extents.timeFirst, extents.timeLast, trace->panelHeight()));
    EXPECT_EQ(trace->picture().pixel(trace->panelWidth() / 2, to), AcceptedTieColor);
}

} // namespace
} // namespace quarvel
