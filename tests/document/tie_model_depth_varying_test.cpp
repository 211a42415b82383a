// The depth-varying tie through the document: from the bulk measurement to
// the alignment, the exports, Apply rewriting the log's velocities and Undo
// taking them back, each refused while it would use a stale result.
#include "document/session_document.h"
#include "document/workspace.h"
#include "engine/engine_inputs.h"
#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"
#include "support/proposed_answers.h"
#include "support/temp_work_dir.h"
#include "tie/tie_synthesiser.h"
#include "tie/time_depth.h"

#include <QSignalSpy>
#include <cmath>
#include <functional>
#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

// A 1 m core every 5 mm; its true velocities are the log's times `above`
// down to 0.5 m and times `below` under it.
MathFun::SyntheticLog coreLog(double above, double below) {
    MathFun::SyntheticLog log;
    for (int i = 1; i <= 200; ++i) {
        const double depth = i * 0.005;
        log.depth.push_back(depth);
        log.velocity.push_back((depth <= 0.5 ? above : below) * (1500 + 40 * std::sin(depth * 9)));
        log.density.push_back(1.6 + 0.3 * std::sin(depth * 23) * std::sin(depth * 7));
    }
    return log;
}

template <class Result> void waitFor(Task<Result>& task) {
    QSignalSpy failed(&task, &TaskRunner::failed);
    QSignalSpy finished(&task, &TaskRunner::finished);
    ASSERT_TRUE(finished.wait(60000))
        << (failed.isEmpty() ? std::string("no end") : failed.at(0).at(0).toString().toStdString());
}

// A workspace with the core's log and a trace made from the core with other
// velocities above and below 0.5 m, reaching 1 ms below the core.
class TieModelDepthVarying : public ::testing::Test {
protected:
    TieModelDepthVarying() {
        std::string core;
        for (int i = 0; i < log.rows(); ++i) {
            core += numbers::formatF6(log.depth[i]) + " " + numbers::formatF6(log.velocity[i]) +
                    " " + numbers::formatF6(log.density[i]) + "\r\n";
        }
        dir.write("core.txt", core);
        workspace.chirp().makeWavelet();
        EXPECT_TRUE(workspace.log().load(dir.file("core.txt"), answers));
        const tie::TieSynthetic recorded = tie::TieSynthesiser(
            coreLog(0.95, 1.05), engine::readWavelet(dir.workDir(), 0.00001, "0.00001"),
            tie::synthesisParameters("2000", "7000", "0.00001"))(1.0);
        for (std::size_t i = 0; i < recorded.value.size() + 100; ++i) {
            const std::string value =
                numbers::formatF6(i < recorded.value.size() ? recorded.value[i] : 0.0) + "\r\n";
            trace += numbers::formatF6(static_cast<double>(i) * 0.01) + " " + value;
            slowTrace += numbers::formatF6(static_cast<double>(i) * 0.02) + " " + value;
        }
        dir.write("listing.txt", trace);
        workspace.series().loadTraceListing(dir.file("listing.txt"));
    }

    void measure() {
        workspace.tie().startTieMeasurement("", "", "");
        waitFor(workspace.tie().tieTask());
    }

    void align() {
        workspace.tie().startDepthVaryingTie("25");
        waitFor(workspace.tie().depthVaryingTask());
    }

    testing::TempWorkDir dir;
    Workspace workspace{dir.workDir()};
    const MathFun::SyntheticLog log = coreLog(1, 1);
    testing::ProposedAnswers answers;
    std::string trace;
    // The same samples at half the rate.
    std::string slowTrace;
};

TEST_F(TieModelDepthVarying, AlignsExportsAppliesAndUndoesOnTheLogItMeasured) {
    EXPECT_THROW(workspace.tie().startDepthVaryingTie("25"), QuarvelError) << "no bulk tie yet";
    measure();
    // The synthetic where the latest tie puts it: the bulk tie's shift, then
    // the alignment's lag, and none once the log is another.
    const double shift = workspace.tie().tieTask().result()->bestShift;
    EXPECT_DOUBLE_EQ(workspace.tie().tiedSynthetic().time.front(), shift);
    // The final plot's synthetic panel takes it, in the trace's ms, naming the tie.
    workspace.plotSettings().setFinalPlotOptions({true, false, "25"});
    const auto plotted = [&] { return workspace.finalPlotSource(false).tiedSynthetic.value(); };
    EXPECT_EQ(plotted().title, "Synthetic, bulk tie");
    EXPECT_DOUBLE_EQ(plotted().series.time.front(), shift * 1000);
    EXPECT_THROW(workspace.tie().startDepthVaryingTie("60"), QuarvelError);
    EXPECT_THROW(workspace.applyDepthVaryingTie(), QuarvelError) << "not aligned yet";
    align();
    const tie::DepthVaryingTie first = workspace.tie().depthVaryingTie()->tie;
    EXPECT_GT(first.alignment.coefficient, first.alignment.bulkCoefficient);
    EXPECT_DOUBLE_EQ(workspace.tie().tiedSynthetic().time.front(),
                     shift + first.alignment.lagAt(shift));
    EXPECT_EQ(plotted().title, "Synthetic, depth-varying tie");

    workspace.tie().exportDepthVaryingTable(dir.file("td.csv"));
    EXPECT_EQ(dir.read("td.csv").rfind("# Quarvel depth-varying tie", 0), 0u);
    workspace.tie().exportCorrectedLog(dir.file("core.las"));
    EXPECT_NE(dir.read("core.las").find("depth-varying tie, p = "), std::string::npos);

    // A tie point moved on the trace is accepted there and aligned through;
    // one moved above a point it lies below is refused, changing nothing.
    const tie::ProposedTie upper = first.proposals.at(0);
    workspace.tie().moveDepthVaryingTie(upper.depth, upper.traceTwt + 0.005);
    waitFor(workspace.tie().depthVaryingTask());
    EXPECT_THROW(workspace.tie().moveDepthVaryingTie(upper.depth + 0.3, upper.traceTwt - 0.01),
                 QuarvelError);
    ASSERT_EQ(workspace.tie().acceptedTies().size(), 1u);
    const DepthVaryingResult& result = *workspace.tie().depthVaryingTie();
    EXPECT_NEAR(result.tie.relation.twtAt(upper.depth), upper.traceTwt + 0.005, 1e-9);

    // A session keeps the accepted point and the relation; reopened, they
    // are shown, and applied only after Measure and Align.
    testing::TempWorkDir elsewhere;
    Workspace reopened{elsewhere.workDir()};
    EXPECT_EQ(restoreSession(reopened, snapshotSession(workspace), answers), QStringList());
    ASSERT_TRUE(reopened.tie().depthVaryingTie().has_value());
    EXPECT_EQ(reopened.tie().acceptedTies().at(0).twt, workspace.tie().acceptedTies().at(0).twt);
    EXPECT_EQ(reopened.tie().depthVaryingTie()->tie.relation.points().size(),
              result.tie.relation.points().size());
    EXPECT_THROW(reopened.applyDepthVaryingTie(), QuarvelError);

    const std::string before = dir.read("log.dat");
    workspace.applyDepthVaryingTie();
    waitFor(workspace.tie().applyTask());
    const AppliedTie& applied = *workspace.tie().applyTask().result();
    EXPECT_EQ(workspace.tie().tiedSynthetic().time, workspace.series().synthetic().time);
    // Measured; on this smooth core it does not follow how close the times come.
    EXPECT_TRUE(std::isfinite(applied.after));
    // The log's own times are now the relation's, from the core top.
    const MathFun::SyntheticLog retimed = engine::readLogText(dir.read("log.dat"), "log.dat");
    const std::vector<tie::TimeDepthPoint> table =
        tie::timeDepthTable(retimed.depth, retimed.velocity);
    const tie::TimeDepthRelation& relation = result.tie.relation;
    for (int i = 0; i < retimed.rows(); ++i) {
        EXPECT_NEAR(retimed.depth[i], log.depth[i], 1e-9);
        EXPECT_NEAR(retimed.density[i], log.density[i], 1e-6);
        EXPECT_NEAR(table[i + 1].twt, relation.twtAt(log.depth[i]) - relation.twtAt(0), 1e-4);
    }
    EXPECT_THROW(workspace.applyDepthVaryingTie(), QuarvelError) << "measured on the last log";

    workspace.undoApply();
    EXPECT_EQ(dir.read("log.dat"), before);
    EXPECT_THROW(workspace.undoApply(), QuarvelError);
}

// An alignment belongs to the trace and the bulk tie it was made from (and
// to the log, as before): a new one drops it, with its accepted tie points
// when the trace is new, and Apply has nothing to apply. The same samples at
// other times are a new trace, on which the bulk tie places nothing.
TEST_F(TieModelDepthVarying, ANewTraceOrBulkTieDropsTheAlignment) {
    QSignalSpy notices(&workspace, &Workspace::notice);
    const struct {
        const char* change;
        std::function<void()> make;
        std::size_t acceptedLeft;
    } cases[] = {
        {"the bulk tie", [&] { measure(); }, 1},
        {"the trace",
         [&] {
             workspace.series().takeTrace("0.000000 0.25\r\n" + trace.substr(trace.find('\n') + 1),
                                          {});
         },
         0},
    };
    measure();
    for (const auto& c : cases) {
        SCOPED_TRACE(c.change);
        align();
        const tie::ProposedTie& proposed = workspace.tie().depthVaryingTie()->tie.proposals.at(0);
        workspace.tie().acceptTie({proposed.depth, proposed.traceTwt / 1000});
        notices.clear();
        c.make();
        EXPECT_FALSE(workspace.tie().depthVaryingTie().has_value());
        EXPECT_EQ(workspace.tie().acceptedTies().size(), c.acceptedLeft);
        ASSERT_EQ(notices.count(), 1);
        EXPECT_TRUE(notices.at(0).at(0).toString().startsWith("The depth-varying tie"));
        EXPECT_THROW(workspace.applyDepthVaryingTie(), QuarvelError);
    }
    EXPECT_THROW(workspace.tie().startDepthVaryingTie("25"), QuarvelError)
        << "a trace new since Measure";
    workspace.series().takeTrace(trace, {});
    EXPECT_TRUE(workspace.tie().placedSynthetic().has_value()) << "the trace measured";
    workspace.series().takeTrace(slowTrace, {});
    EXPECT_FALSE(workspace.tie().placedSynthetic().has_value()) << "its samples at other times";
}

} // namespace
} // namespace quarvel
