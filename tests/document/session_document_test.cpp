// Sessions restored into the document alone, with no window: the demo's
// session loads whole, its snapshot restores to the same snapshot, and a
// table log's import answers answer its import again.
#include "document/session_document.h"
#include "document/workspace.h"
#include "editor/log_import.h"
#include "formats/quarvel_error.h"
#include "support/proposed_answers.h"
#include "support/temp_work_dir.h"

#include <QSignalSpy>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace quarvel::testing {
namespace {

namespace fs = std::filesystem;

// Nobody there: an import question the session does not answer cancels.
struct Nobody : LogImportQuestions {
    std::optional<int> column(LogRole, const ColumnTable&, int) override { return {}; }
    std::optional<LogUnit> unit(LogRole, const TableColumn&,
                                const std::optional<LogUnit>&) override {
        return {};
    }
    std::optional<CleaningRules> cleaning(const CleaningQuestion&) override { return {}; }
};

TEST(SessionDocumentTest, TheDemoSessionRestoresWithoutWindowsAndSnapshotsAlike) {
    const Session demo = readSessionFile(
        QString::fromStdString((fs::path(QUARVEL_SOURCE_DIR) / "data/demo/demo.qvs").string()));
    Nobody nobody;
    TempWorkDir first;
    Workspace workspace(first.workDir());
    QSignalSpy restored(&workspace.marks(), &MarksModel::added);
    EXPECT_EQ(restoreSession(workspace, demo, nobody), QStringList());
    EXPECT_EQ(restored.count(), 1);
    EXPECT_FALSE(workspace.photograph().image().isNull());
    EXPECT_EQ(workspace.tie().tiePoints().size(), 5u);
    EXPECT_EQ(workspace.series().trace().time.size(), workspace.series().trace().amplitude.size());
    EXPECT_FALSE(workspace.series().trace().time.empty());
    EXPECT_FALSE(workspace.series().synthetic().time.empty());
    const PanelChoices every{true, true, true, true, true, true, true};
    EXPECT_EQ(workspace.plotSettings().panels(), every) << "each panel drawn is ticked";

    const Session snapshot = snapshotSession(workspace);
    EXPECT_EQ(snapshot.photograph, demo.photograph);
    EXPECT_EQ(snapshot.log, demo.log);
    EXPECT_EQ(snapshot.trace, demo.trace);
    EXPECT_EQ(snapshot.tiePoints, demo.tiePoints);
    EXPECT_TRUE(snapshot.interpolated && snapshot.chirpGo && snapshot.synthetic);

    TempWorkDir second;
    Workspace again(second.workDir());
    EXPECT_EQ(restoreSession(again, snapshot, nobody), QStringList());
    EXPECT_EQ(snapshotSession(again), snapshot);
    for (const char* file : {"log.dat", "klauder.dat", "ampl.dat", "trace.txt"}) {
        EXPECT_EQ(second.read(file), first.read(file)) << file;
    }
}

// A session opened after another inherits nothing of it: with its
// photograph missing and no trace or synthetic of its own, the last
// session's photograph, series, marks, panels and final plot are gone, and
// the next save does not name them.
TEST(SessionDocumentTest, ASessionOpenedKeepsNothingOfTheLastOne) {
    const Session demo = readSessionFile(
        QString::fromStdString((fs::path(QUARVEL_SOURCE_DIR) / "data/demo/demo.qvs").string()));
    TempWorkDir dir;
    Workspace workspace(dir.workDir());
    Nobody nobody;
    ASSERT_EQ(restoreSession(workspace, demo, nobody), QStringList());
    workspace.finalPlot().setPlot(QImage(4, 4, QImage::Format_RGB32), 2);
    Session next = demo;
    next.photograph = QString::fromStdString(dir.file("moved.bmp").string());
    next.trace.clear();
    next.synthetic = false;
    next.tiePoints.clear();
    EXPECT_EQ(restoreSession(workspace, next, nobody).size(), 1) << "the photograph is missing";
    EXPECT_TRUE(workspace.photograph().image().isNull());
    EXPECT_TRUE(workspace.series().synthetic().time.empty());
    EXPECT_TRUE(workspace.series().trace().time.empty());
    EXPECT_TRUE(workspace.marks().all().empty());
    EXPECT_TRUE(workspace.finalPlot().image().isNull());
    const Session saved = snapshotSession(workspace);
    EXPECT_TRUE(saved.photograph.isEmpty() && saved.trace.isEmpty() && !saved.synthetic);
    EXPECT_FALSE(dir.exists("ampl.dat") || dir.exists("trace.txt"));
    // As the same session opened first: panels ticked and drawn alike.
    TempWorkDir freshDir;
    Workspace fresh(freshDir.workDir());
    restoreSession(fresh, next, nobody);
    EXPECT_EQ(saved, snapshotSession(fresh));
    EXPECT_EQ(workspace.marks().drawnPanels(), fresh.marks().drawnPanels());
}

// A new log or photograph clears the tie points, and their marks with them:
// no mark stays on a panel (nor reaches the final plot) for a point gone.
TEST(SessionDocumentTest, TiePointsClearedByANewLogOrPhotographTakeTheirMarks) {
    const fs::path demoDir = fs::path(QUARVEL_SOURCE_DIR) / "data/demo";
    const Session demo = readSessionFile(QString::fromStdString((demoDir / "demo.qvs").string()));
    const std::function<void(Workspace&)> commands[] = {
        [&](Workspace& w) {
            ProposedAnswers answers;
            ASSERT_TRUE(w.log().load(demoDir / "demo_core_log.txt", answers));
        },
        [&](Workspace& w) {
            w.loadPhotograph(QString::fromStdString((demoDir / "demo_core.bmp").string()));
        }};
    for (const auto& command : commands) {
        TempWorkDir dir;
        Workspace workspace(dir.workDir());
        Nobody nobody;
        ASSERT_EQ(restoreSession(workspace, demo, nobody), QStringList());
        command(workspace);
        EXPECT_TRUE(workspace.tie().tiePoints().empty());
        EXPECT_TRUE(workspace.marks().all().empty());
    }
}

// A table log imported with choices other than the proposals (depth in mm,
// a velocity range) is imported the same way, asking nobody.
TEST(SessionDocumentTest, TheLogsImportChoicesAnswerItsImportAgain) {
    const fs::path file = fs::path(QUARVEL_SOURCE_DIR) / "data/examples/piston_core_mscl.csv";
    ProposedAnswers proposals;
    RecordedLogQuestions proposed(proposals);
    ASSERT_TRUE(importLogFile(file, proposed).has_value());
    Session session;
    session.log = QString::fromStdString(file.string());
    session.logImport = proposed.choices();
    session.logImport.units[LogRole::Depth] = "mm";
    session.logImport.cleaning = CleaningRules{std::nullopt, 1085.0, 1095.0};
    TempWorkDir workDir;
    Workspace workspace(workDir.workDir());
    Nobody nobody;
    EXPECT_EQ(restoreSession(workspace, session, nobody), QStringList());
    RecordedLogQuestions recorded(nobody, session.logImport);
    const std::optional<ImportedLog> expected = importLogFile(file, recorded);
    ASSERT_TRUE(expected.has_value());
    EXPECT_EQ(workDir.read("log.dat"), expected->logDat);
    EXPECT_EQ(snapshotSession(workspace).logImport, recorded.choices()) << "kept for the next save";
}

// The core's position comes back from its own key, or from an older session
// that chose its trace by position, and goes into the next snapshot.
TEST(SessionDocumentTest, TheCoresPositionIsRestoredAndKept) {
    SegyChoiceFields byPosition;
    byPosition.kind = TraceChoiceKind::Near;
    byPosition.x = "48601.4";
    byPosition.y = "-12";
    const std::optional<CorePosition> none;
    const std::tuple<std::optional<CorePosition>, SegyChoiceFields, std::optional<CorePosition>>
        cases[] = {{CorePosition{5, 6}, byPosition, CorePosition{5, 6}},
                   {none, byPosition, CorePosition{48601.4, -12}},
                   {none, SegyChoiceFields{}, none}};
    TempWorkDir workDir;
    Workspace workspace(workDir.workDir());
    Nobody nobody;
    for (const auto& [kept, segy, restored] : cases) {
        Session session;
        session.corePosition = kept;
        session.segy = segy;
        restoreSession(workspace, session, nobody);
        EXPECT_EQ(workspace.corePosition(), restored);
        EXPECT_EQ(snapshotSession(workspace).corePosition, restored);
    }
}

// The demo with its trace taken from the demo line (three channels a shot):
// the section excerpt the session asks for is read from that line, so the
// window and `quarvel-synth plot` draw it alike; the traces either side are
// refused by name when they are not a number the plot can hold.
TEST(SessionDocumentTest, TheSectionExcerptComesFromTheSessionsLine) {
    Session session = readSessionFile(
        QString::fromStdString((fs::path(QUARVEL_SOURCE_DIR) / "data/demo/demo.qvs").string()));
    session.trace = QString::fromStdString(
        (fs::path(QUARVEL_SOURCE_DIR) / "data/examples/demo_line.sgy").string());
    session.sectionExcerpt = true;
    const struct {
        const char* traces;
        int lastTrace; // from 0; -1: refused
    } cases[] = {{"1", 3}, {"25", 12}, {"0", -1}, {"many", -1}};
    for (const auto& c : cases) {
        session.sectionTraces = c.traces;
        TempWorkDir dir;
        Workspace workspace(dir.workDir());
        Nobody nobody;
        ASSERT_EQ(restoreSession(workspace, session, nobody), QStringList());
        if (c.lastTrace < 0) {
            EXPECT_THROW(workspace.finalPlotSource(true), QuarvelError) << c.traces;
            continue;
        }
        const FinalPlotSource source = workspace.finalPlotSource(true);
        ASSERT_TRUE(source.section) << c.traces;
        const SegySection& section = source.section->section;
        EXPECT_EQ(section.columns.front().trace, 0) << c.traces;
        EXPECT_EQ(section.columns.back().trace, c.lastTrace) << c.traces;
        EXPECT_EQ(section.height, workspace.photograph().image().height());
        EXPECT_TRUE(composeFinalPlot(source).sectionX) << c.traces;
    }
}

} // namespace
} // namespace quarvel::testing
