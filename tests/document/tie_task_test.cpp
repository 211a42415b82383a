// The tie measurement as the document's task, without any window: the work
// runs on a worker thread and reaches the document only through the task's
// outcome. scripts/run-tsan.sh runs this under ThreadSanitizer.
#include "document/workspace.h"
#include "engine/engine_inputs.h"
#include "formats/numbers.h"
#include "support/proposed_answers.h"
#include "support/temp_work_dir.h"
#include "tie/tie_synthesiser.h"

#include <QSignalSpy>
#include <QTest>
#include <cmath>
#include <gtest/gtest.h>
#include <string>

namespace quarvel {
namespace {

std::string coreText() {
    std::string core;
    for (int i = 1; i <= 200; ++i) {
        const double depth = i * 0.005;
        core += numbers::formatF6(depth) + " " +
                numbers::formatF6(1500 + 40 * std::sin(depth * 9)) +
                (depth > 0.3 && depth < 0.35 ? " 1.95\r\n" : " 1.65\r\n");
    }
    return core;
}

TEST(TieTask, MeasuresOnAWorkerAndEndsFinishedOrCancelled) {
    testing::TempWorkDir dir;
    Workspace workspace{dir.workDir()};
    dir.write("core.txt", coreText());
    workspace.chirp().makeWavelet();
    testing::ProposedAnswers answers;
    ASSERT_TRUE(workspace.log().load(dir.file("core.txt"), answers));
    // The trace: the core's own synthetic, 0.2 ms late, in ms as a listing.
    const std::string log = dir.read("log.dat");
    const tie::TieSynthetic recorded = tie::TieSynthesiser(
        engine::readLogText(log, "log.dat"), engine::readWavelet(dir.workDir(), 0.00001, "0.00001"),
        tie::synthesisParameters("2000", "7000", "0.00001"))(1.0);
    std::string trace;
    for (std::size_t i = 0; i < recorded.value.size() + 20; ++i) {
        trace += numbers::formatF6(static_cast<double>(i) * 0.01) + " " +
                 numbers::formatF6(recorded.value[i < 20 ? 0 : i - 20]) + "\r\n";
    }
    dir.write("trace.txt", trace);
    workspace.series().readTrace();

    for (const bool cancel : {false, true}) {
        SCOPED_TRACE(cancel ? "cancelled" : "finished");
        Task<tie::TieMeasurement>& task = workspace.tie().tieTask();
        QSignalSpy finished(&task, &TaskRunner::finished);
        QSignalSpy cancelled(&task, &TaskRunner::cancelled);
        QSignalSpy failed(&task, &TaskRunner::failed);
        workspace.tie().startTieMeasurement("0.5", "0.98", "1.02");
        if (cancel) {
            task.cancel();
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !task.running(); }, 120000));
        EXPECT_EQ(failed.count(), 0)
            << (failed.isEmpty() ? "" : failed[0][0].toString().toStdString());
        EXPECT_EQ(finished.count(), cancel ? 0 : 1);
        EXPECT_EQ(cancelled.count(), cancel ? 1 : 0);
        if (!cancel) {
            EXPECT_TRUE(task.result().has_value());
        }
    }
}

} // namespace
} // namespace quarvel
