// Long work on a worker thread: its progress, then exactly one of finished,
// failed or cancelled, reach the task's own thread.
#include "document/task.h"
#include "formats/quarvel_error.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

TEST(Task, ReportsItsProgressThenExactlyOneOutcome) {
    const struct {
        const char* name;
        std::function<int(TaskProgress&)> work;
        bool cancel;
        QStringList events;
    } cases[] = {
        {"a result",
         [](TaskProgress& p) {
             p.report(0.5, "half");
             return 42;
         },
         false,
         {"0.5 half", "finished 42"}},
        {"an error",
         [](TaskProgress&) -> int { throw QuarvelError("No trace."); },
         false,
         {"failed No trace."}},
        {"cancelled",
         [](TaskProgress& p) -> int {
             for (;;)
                 p.checkCancelled();
         },
         true,
         {"cancelled"}},
        {"a result nobody wants any more",
         [](TaskProgress& p) {
             while (!p.cancelRequested()) {
             }
             return 1;
         },
         true,
         {"cancelled"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Task<int> task;
        QStringList events;
        QObject::connect(&task, &TaskRunner::progress, [&](double share, const QString& step) {
            events << QString::number(share) + ' ' + step;
        });
        QObject::connect(&task, &TaskRunner::finished,
                         [&] { events << "finished " + QString::number(*task.result()); });
        QObject::connect(&task, &TaskRunner::failed,
                         [&](const QString& m) { events << "failed " + m; });
        QObject::connect(&task, &TaskRunner::cancelled, [&] { events << "cancelled"; });
        task.start(c.work);
        EXPECT_THROW(task.start(c.work), QuarvelError) << "one at a time";
        if (c.cancel) {
            task.cancel();
        }
        ASSERT_TRUE(QTest::qWaitFor([&] { return !task.running(); }));
        EXPECT_EQ(events, c.events);
    }
}

} // namespace
} // namespace quarvel
