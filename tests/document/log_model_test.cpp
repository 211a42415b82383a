// The document's log without any window: each command announces one change
// and says whether the grid still holds what log.dat was written from; a
// refused command leaves log.dat as it was. The data editor's tests show the
// files the commands write, through the table model over the grid.
#include "document/log_model.h"
#include "formats/quarvel_error.h"
#include "support/proposed_answers.h"
#include "support/temp_work_dir.h"

#include <QSignalSpy>
#include <array>
#include <functional>
#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace quarvel {
namespace {

using testing::TempWorkDir;
using Command = std::function<void(LogModel&, const TempWorkDir&)>;

constexpr const char* CoreLogDat =
    "0.100000 1500.000000 1.800000\r\n0.200000 1510.000000 1.900000\r\n";

struct LoadedLog {
    TempWorkDir dir;
    LogModel log{dir.workDir()};
    LoadedLog() {
        dir.write("core.txt", "0.1 1500 1.8\r\n0.2 1510 1.9\r\n");
        testing::ProposedAnswers answers;
        EXPECT_TRUE(log.load(dir.file("core.txt"), answers));
    }
};

// Each command announces one change (none when refused) and tells whether
// the grid still holds what log.dat was written from.
TEST(LogModel, EachCommandAnnouncesOneChangeOrChangesNothing) {
    using C = LogModel;
    const C::Changes none;
    const struct {
        const char* name;
        Command command;
        bool refused;
        C::Changes changes;
        bool edited;
        std::string logDat;
    } cases[] = {
        {"load",
         [](C& m, const TempWorkDir& d) {
             testing::ProposedAnswers answers;
             m.load(d.file("core.txt"), answers);
         },
         false, C::GridReplaced | C::LogSaved | C::NewLog, false, CoreLogDat},
        {"save",
         [](C& m, const TempWorkDir&) {
             m.setCell(2, 2, "1.9");
             m.save();
         },
         false, C::LogSaved, false,
         "0.100000 1500.000000 1.800000\r\n0.200000 1510.000000 1.9\r\n"},
        {"clear", [](C& m, const TempWorkDir&) { m.clear(); }, false, C::GridReplaced, true,
         CoreLogDat},
        {"interpolate", [](C& m, const TempWorkDir&) { m.interpolate(); }, false, C::GridReplaced,
         true, "0.100 1500.000 1.800\r\n0.200 1510.000 1.900\r\n"},
        {"apply", [](C& m, const TempWorkDir&) { m.scaleVelocities(2.0); }, false,
         C::GridReplaced | C::LogSaved, false,
         "0.100000 3000.000000 1.800000\r\n0.200000 3020.000000 1.900000\r\n"},
        {"apply with no log",
         [](C& m, const TempWorkDir&) {
             m.clear();
             m.scaleVelocities(0.997);
         },
         true, C::GridReplaced, true, CoreLogDat},
        {"apply over edits not measured",
         [](C& m, const TempWorkDir&) {
             m.setCell(2, 2, "2.0");
             m.scaleVelocities(0.997);
         },
         true, none, true, CoreLogDat},
        {"save as into no folder writes neither file",
         [](C& m, const TempWorkDir& d) { m.saveAs(d.file("none/log.txt")); }, true, none, false,
         CoreLogDat},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        LoadedLog loaded;
        QSignalSpy changed(&loaded.log, &LogModel::changed);
        if (c.refused) {
            EXPECT_THROW(c.command(loaded.log, loaded.dir), QuarvelError);
        } else {
            c.command(loaded.log, loaded.dir);
        }
        EXPECT_EQ(loaded.dir.read("log.dat"), c.logDat);
        ASSERT_EQ(changed.count(), c.changes == none ? 0 : 1);
        if (c.changes != none) {
            EXPECT_EQ(changed.at(0).at(0).value<LogModel::Changes>(), c.changes);
        }
        EXPECT_EQ(loaded.log.edited(), c.edited);
    }
}

// Undo takes back the last Apply, bulk or depth-varying, and nothing else.
TEST(LogModel, UndoRestoresTheLogBeforeTheLastApplyWhileNothingElseChangedIt) {
    LoadedLog loaded;
    LogModel& log = loaded.log;
    EXPECT_FALSE(log.canUndoApply());
    log.retimeVelocities([](double depth) { return 2000 * depth / 1600; });
    EXPECT_EQ(loaded.dir.read("log.dat"),
              "0.100000 1600.000000 1.800000\r\n0.200000 1600.000000 1.900000\r\n");
    ASSERT_TRUE(log.canUndoApply());
    log.undoApply();
    EXPECT_EQ(loaded.dir.read("log.dat"), CoreLogDat);
    EXPECT_EQ(log.savedText(), CoreLogDat);
    EXPECT_EQ(log.grid().cell(2, 1), "1510.000000");
    EXPECT_FALSE(log.edited());
    EXPECT_FALSE(log.canUndoApply());

    log.scaleVelocities(2.0);
    log.setCell(1, 2, "1.7");
    EXPECT_FALSE(log.canUndoApply());
    EXPECT_THROW(log.undoApply(), QuarvelError);
}

// Rows left below whose depths would run on a loaded log are emptied when
// the question says so, and otherwise join it as they always did.
TEST(LogModel, LoadClearsTheRowsThatWouldJoinTheLogWhenAskedTo) {
    for (const bool clear : {true, false}) {
        SCOPED_TRACE(clear);
        LoadedLog loaded;
        loaded.log.clear();
        for (int column = 0; column < 3; ++column) {
            loaded.log.setCell(3, column, std::array{"0.3", "1520", "2"}[column]);
        }
        loaded.log.setCell(5, 0, "9");
        std::vector<std::pair<int, int>> asked;
        testing::ProposedAnswers answers;
        loaded.log.load(loaded.dir.file("core.txt"), answers, [&](int first, int rows) {
            asked.emplace_back(first, rows);
            return clear;
        });
        EXPECT_EQ(asked, (std::vector<std::pair<int, int>>{{3, 1}}));
        EXPECT_EQ(loaded.dir.read("log.dat"),
                  std::string(CoreLogDat) + (clear ? "" : "0.3 1520 2\r\n"));
        EXPECT_EQ(loaded.log.grid().cell(3, 1), clear ? "" : "1520");
        EXPECT_EQ(loaded.log.grid().cell(5, 0), "9");
    }
}

} // namespace
} // namespace quarvel
