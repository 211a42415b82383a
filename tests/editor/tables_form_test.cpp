#include "editor/tables_form_fixture.h"
#include "formats/numbers.h"

#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTest>
#include <filesystem>
#include <functional>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

using quarvel::TTables_Form;
using quarvel::testing::TablesFormTest;

namespace {

const std::string ThreeRecords = "0.1 1500 1.8\r\n0.2 1510.5 1.9\r\n0.3 1520 2\r\n";
const std::string ThreeRecordsLogDat = "0.100000 1500.000000 1.800000\r\n"
                                       "0.200000 1510.500000 1.900000\r\n"
                                       "0.300000 1520.000000 2.000000\r\n";

} // namespace

TEST_F(TablesFormTest, StartsBlankOnTheLogsPageWithItsNamedComponents) {
    EXPECT_EQ(editor().windowTitle(), "Data Editor");
    EXPECT_EQ(pages()->currentIndex(), TTables_Form::LogsPage);
    ASSERT_EQ(pages()->count(), 3);
    EXPECT_EQ(pages()->tabText(1), "Synthetic");
    EXPECT_EQ(gridModel()->columnCount(), 3);
    EXPECT_EQ(gridModel()->rowCount(), 999);
    EXPECT_EQ(heading(0), "");
    EXPECT_EQ(button("SpeedButton1")->toolTip(), "Interpolate Series");
    EXPECT_EQ(syntmemo()->toPlainText(), "");
    EXPECT_EQ(syntmemo()->blockCount(), 1);
}

TEST_F(TablesFormTest, LoadOnTheLogsPageWritesLogDatDrawsTheLogPanelsAndEnablesCalcSynthetic) {
    // A row kept below the gap must stay out of the loaded log.
    setCell(5, 0, "9");
    setCell(5, 1, "1900");
    setCell(5, 2, "2.9");
    EXPECT_FALSE(mainWidgets().SpeedButton1->isEnabled());

    loadOnPage(TTables_Form::LogsPage, userFile("core.txt", ThreeRecords));

    EXPECT_EQ(workDir.read("log.dat"), ThreeRecordsLogDat);
    EXPECT_EQ(heading(0), "Depth(m)");
    EXPECT_EQ(heading(2), "Density (g/cm3)");
    EXPECT_EQ(cell(2, 1), "1510.500000");
    EXPECT_EQ(cell(4, 0), "");
    EXPECT_TRUE(mainWidgets().Grafico_velocita->hasPicture());
    EXPECT_TRUE(mainWidgets().grafico_densita->hasPicture());
    EXPECT_TRUE(mainWidgets().Pwave->isChecked());
    EXPECT_FALSE(ws().NoLogLoaded);
    EXPECT_TRUE(mainWidgets().SpeedButton1->isEnabled());
    EXPECT_TRUE(mainWidgets().Load1->isEnabled());
    EXPECT_FALSE(mainWidgets().Trace->isEnabled());
}

TEST_F(TablesFormTest, LoadOfAFileThatCannotBeReadChangesNothing) {
    setCell(1, 0, "0.5");
    setCell(1, 1, "1500");
    setCell(1, 2, "1.8");
    workDir.write("log.dat", "old\r\n");
    const std::string binary("1 2 3\0\x01\x02", 8);
    const QString fifo = QString::fromStdString(workDir.file("core.fifo").string());
    ASSERT_EQ(::mkfifo(workDir.file("core.fifo").c_str(), 0600), 0);
    const QString shortLine = userFile("short.txt", "0.5 1500 1.8\r\n0.6 1510\r\n0.7 1520 1.9\r\n");
    const struct {
        QString path;
        QString message;
    } cases[] = {{missingFile(), cannotOpen(missingFile(), "No such file or directory.")},
                 {userFile("core.bin", binary),
                  cannotOpen(QString::fromStdString(workDir.file("core.bin").string()),
                             "It is not a text file.")},
                 {fifo, cannotOpen(fifo, "It is not a file.")},
                 {shortLine, "Line 2 of \"" + shortLine +
                                 "\" holds 2 fields; every line holds exactly 3 numbers (depth, "
                                 "P-wave velocity, density)."}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path.toStdString());
        errors.expectError(c.message);
        loadOnPage(TTables_Form::LogsPage, c.path);
        errors.expectAllReported();
        EXPECT_EQ(cell(1, 0), "0.5");
        EXPECT_EQ(heading(0), "");
        EXPECT_EQ(workDir.read("log.dat"), "old\r\n");
        EXPECT_FALSE(mainWidgets().Grafico_velocita->hasPicture());
        EXPECT_TRUE(ws().NoLogLoaded);
        EXPECT_FALSE(mainWidgets().SpeedButton1->isEnabled());
    }
}

// Rows left below the old series join a new, longer one; when one of them
// cannot be saved, the load stops before anything the user has is replaced.
TEST_F(TablesFormTest, LoadThatCannotFinishLeavesTheGridAsItWas) {
    loadOnPage(TTables_Form::LogsPage, userFile("core.txt", ThreeRecords));
    setCell(5, 0, "0.5");
    setCell(5, 1, "fast");
    setCell(5, 2, "2.1");
    const std::string logDat = workDir.read("log.dat");
    const QString longer = userFile("longer.txt", ThreeRecords + "0.4 1530 2\r\n");
    errors.expectError("Row 5, column 2 (P-wave velocity) of the log: \"fast\" is not a number. "
                       "Write numbers with \".\" as the decimal point, and enter a missing value "
                       "as 0.");
    dialogs.expectOpenFile(longer);
    dialogs.expectQuestion("Row 5 below the loaded log holds a depth, so the log would run on into "
                           "it (1 row). Clear that row so that the log ends where the file does?",
                           false);
    action("Load1")->trigger();
    dialogs.expectAllAnswered();
    errors.expectAllReported();
    EXPECT_EQ(cell(4, 0), "") << "the grid is the one before the load";
    EXPECT_EQ(cell(3, 1), "1520.000000");
    EXPECT_EQ(cell(5, 1), "fast");
    EXPECT_EQ(workDir.read("log.dat"), logDat);
}

TEST_F(TablesFormTest, ALogFileWithAByteOrderMarkKeepsItsFirstRecord) {
    loadOnPage(TTables_Form::LogsPage, userFile("bom.txt", "\xEF\xBB\xBF" + ThreeRecords));
    EXPECT_EQ(cell(1, 0), "0.100000");
    EXPECT_EQ(workDir.read("log.dat"), ThreeRecordsLogDat);
}

TEST_F(TablesFormTest, CancelledOrEmptyFileDialogsDoNothing) {
    for (const auto& answer : {std::optional<QString>(), std::optional<QString>(QString())}) {
        for (int page = 0; page < 3; ++page) {
            showPage(static_cast<TTables_Form::Page>(page));
            load(answer);
            saveAs(answer);
        }
    }
    EXPECT_TRUE(std::filesystem::is_empty(workDir.path()));
    EXPECT_FALSE(mainWidgets().SpeedButton1->isEnabled());
}

TEST_F(TablesFormTest, NonNumericCellsStopSaveSaveAsAndRefreshBeforeLogDatIsWritten) {
    loadOnPage(TTables_Form::LogsPage, userFile("core.txt", ThreeRecords));
    setCell(2, 1, "1,5");
    const QString expected = "Row 2, column 2 (P-wave velocity) of the log: \"1,5\" is not a "
                             "number. Write numbers with \".\" as the decimal point, and enter "
                             "a missing value as 0.";
    const QString chosen = QString::fromStdString(workDir.file("saved.txt").string());
    const std::vector<std::pair<const char*, std::function<void()>>> commands = {
        {"Save", [&] { button("SaveButton")->click(); }},
        {"Save as", [&] { saveAs(chosen); }},
        {"Refresh Graph", [&] { button("LogsRefreshButton")->click(); }},
    };
    for (const auto& [name, command] : commands) {
        SCOPED_TRACE(name);
        errors.expectError(expected);
        command();
        errors.expectAllReported();
        EXPECT_EQ(workDir.read("log.dat"), ThreeRecordsLogDat);
        EXPECT_FALSE(workDir.exists("saved.txt"));
    }
    setCell(2, 1, "1515");
    saveAs(chosen);
    const std::string fixed = "0.100000 1500.000000 1.800000\r\n0.200000 1515 1.900000\r\n"
                              "0.300000 1520.000000 2.000000\r\n";
    EXPECT_EQ(workDir.read("saved.txt"), fixed);
    EXPECT_EQ(workDir.read("log.dat"), fixed);
}

TEST_F(TablesFormTest, TypedLogSavesAndDrawsButDoesNotEnableCalcSynthetic) {
    const char* rows[][3] = {{"0", "1490", "1.5"}, {"0.25", "1500", "1.6"}, {"0.5", "1510", "1.7"}};
    for (int r = 0; r < 3; ++r) {
        for (int c = 0; c < 3; ++c) {
            setCell(r + 1, c, rows[r][c]);
        }
    }
    button("LogsRefreshButton")->click();
    EXPECT_EQ(workDir.read("log.dat"), "0.25 1500 1.6\r\n0.5 1510 1.7\r\n");
    EXPECT_TRUE(mainWidgets().Grafico_velocita->hasPicture());
    EXPECT_FALSE(mainWidgets().SpeedButton1->isEnabled());
}

TEST_F(TablesFormTest, ClearBlanksEveryCellThatHoldsText) {
    loadOnPage(TTables_Form::LogsPage, userFile("core.txt", ThreeRecords));
    setCell(6, 0, "stray");
    button("ClearButton")->click();
    EXPECT_EQ(heading(1), "");
    EXPECT_EQ(cell(3, 2), "");
    EXPECT_EQ(cell(6, 0), "");
    EXPECT_EQ(quarvel::logSeriesLength(workspace().log().grid()), 0);
}

// At its size the grid shows its three columns whole; Delete and Backspace
// empty the cells selected, and Load offers to clear a row that would run on
// the loaded log.
TEST_F(TablesFormTest, CellsClearByKeyAndTheLoadMessageOffersToClearAStrayRow) {
    editor().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor()));
    EXPECT_FALSE(grid()->horizontalScrollBar()->isVisible());
    EXPECT_LE(grid()->horizontalHeader()->length(), grid()->viewport()->width());
    for (const auto& [row, key] : {std::pair(1, Qt::Key_Delete), std::pair(2, Qt::Key_Backspace)}) {
        setCell(row, 0, "x");
        setCell(row, 1, "y");
        grid()->selectionModel()->select(gridModel()->index(row - 1, 0),
                                         QItemSelectionModel::ClearAndSelect);
        QTest::keyClick(grid(), key);
        EXPECT_EQ(cell(row, 0), "");
        EXPECT_EQ(cell(row, 1), "y");
    }
    setCell(4, 0, "stray");
    dialogs.expectOpenFile(userFile("core.txt", ThreeRecords));
    dialogs.expectQuestion("Row 4 below the loaded log holds a depth, so the log would run on into "
                           "it (1 row). Clear that row so that the log ends where the file does?",
                           true);
    action("Load1")->trigger();
    dialogs.expectAllAnswered();
    EXPECT_EQ(workDir.read("log.dat"), ThreeRecordsLogDat);
    EXPECT_EQ(cell(4, 0), "");
}

TEST_F(TablesFormTest, InterpolateSeriesFillsLogDatAndReloadsTheGrid) {
    workDir.write("log.dat", "1 1500 1.8\r\n2 0 1.8\r\n3 0 1.8\r\n4 1600 1.8\r\n");
    button("SpeedButton1")->click();
    EXPECT_EQ(workDir.read("log.dat"), "1.000 1500.000 1.800\r\n2.000 1533.333 1.800\r\n"
                                       "3.000 1566.667 1.800\r\n4.000 1600.000 1.800\r\n");
    EXPECT_EQ(heading(0), "Depth(m)");
    EXPECT_EQ(cell(3, 1), "1566.667000");
    EXPECT_EQ(cell(5, 0), "");
}

TEST_F(TablesFormTest, InterpolateSeriesKeepsTenthOfAMillimetreDepthsApart) {
    std::string log;
    for (int i = 0; i < 200; ++i)
        log += quarvel::numbers::formatFixed(1.0 + i * 0.0001, 4) + " 1500 1.8\r\n";
    workDir.write("log.dat", log);
    button("SpeedButton1")->click();
    EXPECT_EQ(cell(2, 0), "1.000100");
    EXPECT_EQ(workDir.read("log.dat").substr(0, 36), "1.0000 1500.000 1.800\r\n1.0001 1500.0");
    button("LogsRefreshButton")->click();
    EXPECT_EQ(ws().LogCount, 200) << "no depth merged with the next";
}

TEST_F(TablesFormTest, InterpolateSeriesWithoutLogDatTellsTheUserAndWritesNothing) {
    dialogs.expectWarning("There is no working log file \"log.dat\" to interpolate yet. Load a "
                          "log, or save the grid with Save or Refresh Graph, first.");
    button("SpeedButton1")->click();
    dialogs.expectAllAnswered();
    EXPECT_FALSE(workDir.exists("log.dat"));
    EXPECT_EQ(heading(0), "");
}

TEST_F(TablesFormTest, LoadSaysWhichRowsLogDatLeavesOut) {
    const QString path = userFile("core.txt", "0 1500 1.8\r\n0.5 1510 1.9\r\n0.5 1520 1.9\r\n");
    dialogs.expectOpenFile(path);
    dialogs.expectWarning("2 rows of the log \"" + path +
                          "\" were left out of the grid and log.dat, whose depths must "
                          "increase: row 1 lies at depth 0 or above (the log starts below the "
                          "core top); 1 row repeats the depth of the last row kept (first: row "
                          "3).");
    button("LoadButton")->click();
    dialogs.expectAllAnswered();
    EXPECT_EQ(workDir.read("log.dat"), "0.500000 1510.000000 1.900000\r\n");
}

TEST_F(TablesFormTest, ACellStillBeingTypedIntoIsSaved) {
    loadOnPage(TTables_Form::LogsPage, userFile("core.txt", ThreeRecords));
    editor().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&editor()));
    const QModelIndex item = gridModel()->index(1, 1);
    grid()->setCurrentIndex(item);
    grid()->edit(item);
    auto* cellEditor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(cellEditor, nullptr);
    cellEditor->selectAll();
    QTest::keyClicks(cellEditor, "1515");
    button("SaveButton")->click();
    EXPECT_EQ(workDir.read("log.dat"), "0.100000 1500.000000 1.800000\r\n0.200000 1515 1.900000\r\n"
                                       "0.300000 1520.000000 2.000000\r\n");
}
