#include "chirp/chirp_form.h"
#include "editor/tables_form_fixture.h"

#include <QImage>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <filesystem>
#include <string>
#include <sys/stat.h>

using quarvel::TTables_Form;
using quarvel::testing::TablesFormTest;

namespace {

// Time and amplitude pairs, lone LF line ends: the listing makes them CR LF.
const std::string SeriesLf = "0.000 0.0\n0.001 0.8\n0.002 -0.6\n0.003 0.1\n";
const std::string SeriesCrLf = "0.000 0.0\r\n0.001 0.8\r\n0.002 -0.6\r\n0.003 0.1\r\n";

} // namespace

TEST_F(TablesFormTest, LoadOnTheSyntheticPageWritesAmplDatDrawsAndEnablesTrace) {
    loadOnPage(TTables_Form::SyntheticPage, userFile("synth.txt", SeriesLf));
    EXPECT_EQ(workDir.read("ampl.dat"), SeriesCrLf);
    EXPECT_EQ(syntmemo()->toPlainText().toStdString(), SeriesLf);
    EXPECT_TRUE(mainWidgets().Grafico_sintetico->hasPicture());
    EXPECT_TRUE(mainWidgets().Trace->isEnabled());
    EXPECT_TRUE(mainWidgets().Trace->isChecked());
    EXPECT_FALSE(mainWidgets().Grafico_traccia->hasPicture());
    EXPECT_FALSE(workDir.exists("trace.txt"));
    EXPECT_FALSE(mainWidgets().SpeedButton1->isEnabled());
}

TEST_F(TablesFormTest, LoadOnTheTracePageWritesTraceTxtAndDrawsTheTrace) {
    loadOnPage(TTables_Form::TracePage, userFile("trace.asc", SeriesLf));
    EXPECT_EQ(workDir.read("trace.txt"), SeriesCrLf);
    EXPECT_TRUE(mainWidgets().Grafico_traccia->hasPicture());
    EXPECT_FALSE(mainWidgets().Grafico_sintetico->hasPicture());
    EXPECT_FALSE(workDir.exists("ampl.dat"));
}

TEST_F(TablesFormTest, ListingLoadErrorsStopTheCommandAndLeaveEverythingAsItWas) {
    // A sparse file just over the capacity: nothing of it needs to be read.
    const QString huge = userFile("huge.txt", "");
    std::filesystem::resize_file(workDir.file("huge.txt"), quarvel::ListingCapacity + 1);
    // Reading a FIFO would wait for a writer for ever.
    const QString fifo = QString::fromStdString(workDir.file("trace.fifo").string());
    ASSERT_EQ(::mkfifo(workDir.file("trace.fifo").c_str(), 0600), 0);
    const struct {
        QString path;
        QString message;
    } cases[] = {
        {missingFile(), cannotOpen(missingFile(), "No such file or directory.")},
        {userFile("bin.dat", std::string("0.1 2\0\0", 7)),
         cannotOpen(QString::fromStdString(workDir.file("bin.dat").string()),
                    "It is not a text file.")},
        {huge, "Text exceeds memo capacity"},
        {fifo, cannotOpen(fifo, "It is not a file.")},
    };
    for (const auto page : {TTables_Form::SyntheticPage, TTables_Form::TracePage}) {
        QPlainTextEdit* memo = page == TTables_Form::SyntheticPage ? syntmemo() : tracememo();
        memo->setPlainText("kept");
        for (const auto& c : cases) {
            SCOPED_TRACE(c.message.toStdString());
            errors.expectError(c.message);
            loadOnPage(page, c.path);
            errors.expectAllReported();
            EXPECT_EQ(memo->toPlainText(), "kept");
        }
    }
    EXPECT_FALSE(workDir.exists("ampl.dat"));
    EXPECT_FALSE(workDir.exists("trace.txt"));
    EXPECT_FALSE(mainWidgets().Grafico_sintetico->hasPicture());
    EXPECT_FALSE(mainWidgets().Grafico_traccia->hasPicture());
    EXPECT_FALSE(mainWidgets().Trace->isEnabled());
}

TEST_F(TablesFormTest, ListingThatCannotBeSavedStopsBeforeTheRedraw) {
    // A folder where the working file should be cannot be replaced by a file.
    std::filesystem::create_directory(workDir.file("trace.txt"));
    showPage(TTables_Form::TracePage);
    tracememo()->setPlainText("0.001 0.5\n0.002 -0.5");
    errors.expectError(QString::fromStdString(
        "Cannot create file \"" + workDir.file("trace.txt").string() + "\". Is a directory."));
    button("TraceRefreshButton")->click();
    errors.expectAllReported();
    EXPECT_FALSE(mainWidgets().Grafico_traccia->hasPicture());
}

TEST_F(TablesFormTest, TraceListingThePanelCannotDrawIsRefusedBeforeTraceTxtIsReplaced) {
    loadOnPage(TTables_Form::TracePage, userFile("good.txt", SeriesLf));
    const QImage before = mainWidgets().Grafico_traccia->picture().image();
    const std::string refused = "The trace listing cannot be drawn: ";
    const std::string kept = ". \"trace.txt\" was left as it was.";
    const std::string needsTimes = "the trace needs at least two samples with different times";
    const struct {
        const char* listing;
        std::string reason;
    } cases[] = {
        {"0.001 0.5\n", needsTimes},
        {"\n0.001 0.5\n0.001 0.7\n", needsTimes},
        {"Time Amplitude\nms counts\n", needsTimes},
        {"", needsTimes},
        {"0.001 0\n0.002 0\n", "the trace needs at least two samples with different amplitudes"},
        {"0.001 0.5\n0.002 nan\n0.003 0.1\n", "line 2 holds nan"},
        {"0.001 0.5\r\n\r\n-INF 0.4\r\n", "line 3 holds -INF"},
        {"0.001 0.5\n0.002 1e999 x\n", "line 2 holds 1e999"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.listing);
        const QString message = QString::fromStdString(refused + c.reason + kept);
        // Load: the listing, trace.txt and the panel stay as they were.
        errors.expectError(message);
        loadOnPage(TTables_Form::TracePage, userFile("bad.txt", c.listing));
        errors.expectAllReported();
        EXPECT_EQ(tracememo()->toPlainText().toStdString(), SeriesLf);
        // Save and Refresh Graph of an edited listing: trace.txt stays.
        tracememo()->setPlainText(QString::fromStdString(c.listing));
        errors.expectError(message);
        button("SaveButton")->click();
        errors.expectError(message);
        button("TraceRefreshButton")->click();
        errors.expectAllReported();
        EXPECT_EQ(workDir.read("trace.txt"), SeriesCrLf);
        EXPECT_EQ(mainWidgets().Grafico_traccia->picture().image(), before);
        tracememo()->setPlainText(QString::fromStdString(SeriesLf));
    }
}

TEST_F(TablesFormTest, RefreshGraphOnTheSyntheticPageWritesAmplTxtAndLeavesThePanel) {
    loadOnPage(TTables_Form::SyntheticPage, userFile("synth.txt", SeriesLf));
    const QImage before = mainWidgets().Grafico_sintetico->picture().image();
    syntmemo()->setPlainText("0.000 0.0\n0.001 -0.9\n0.002 0.9\n0.003 0.0\n");
    const std::string edited = "0.000 0.0\r\n0.001 -0.9\r\n0.002 0.9\r\n0.003 0.0\r\n";

    button("SyntheticRefreshButton")->click();
    EXPECT_EQ(workDir.read("ampl.txt"), edited);
    EXPECT_EQ(workDir.read("ampl.dat"), SeriesCrLf);
    EXPECT_EQ(mainWidgets().Grafico_sintetico->picture().image(), before);

    button("SaveButton")->click();
    EXPECT_EQ(workDir.read("ampl.dat"), edited);
    EXPECT_NE(mainWidgets().Grafico_sintetico->picture().image(), before);
}

TEST_F(TablesFormTest, SaveAsOnAListingWritesTheChosenFileAndTheWorkingFile) {
    showPage(TTables_Form::TracePage);
    tracememo()->setPlainText("0.001 0.5\n0.002 -0.5");
    saveAs(QString::fromStdString(workDir.file("mine.txt").string()));
    EXPECT_EQ(workDir.read("mine.txt"), "0.001 0.5\r\n0.002 -0.5");
    EXPECT_EQ(workDir.read("trace.txt"), "0.001 0.5\r\n0.002 -0.5");
    EXPECT_TRUE(mainWidgets().Grafico_traccia->hasPicture());
}

TEST_F(TablesFormTest, SyntheticListingKeepsEachSampleOnOneLine) {
    const std::string ampl = " 1.00000000000000E-0005 -1.23456789012345E-0001\r\n"
                             " 2.00000000000000E-0005  4.56789012345678E-0001   first peak of "
                             "the low-passed envelope\r\n";
    editor().show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&editor()));
    loadOnPage(TTables_Form::SyntheticPage, userFile("ampl.txt", ampl));
    const QTextDocument* document = syntmemo()->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next())
        EXPECT_EQ(block.layout()->lineCount(), 1) << block.text().toStdString();
}

TEST_F(TablesFormTest, ListingFilesLoseALeadingByteOrderMark) {
    loadOnPage(TTables_Form::TracePage, userFile("bom.txt", "\xEF\xBB\xBF"
                                                            "0.001 0.5\r\n0.002 0.4\r\n"));
    EXPECT_EQ(workDir.read("trace.txt"), "0.001 0.5\r\n0.002 0.4\r\n");
}

TEST_F(TablesFormTest, ListingKeepsEveryByteOfItsFile) {
    std::string bytes = "0.001\t0.5 \xB5s\r\n\r\n0.002 -0.5\xA0\r\n";
    loadOnPage(TTables_Form::TracePage, userFile("odd.txt", bytes));
    EXPECT_EQ(workDir.read("trace.txt"), bytes);
}

TEST_F(TablesFormTest, CalcSyntheticRefillsTheSyntheticListingFromAmplDat) {
    syntmemo()->setPlainText("old listing");
    loadOnPage(TTables_Form::LogsPage,
               userFile("core.txt", "0.1 1500 1.8\r\n0.2 1600 2.0\r\n0.3 1550 1.9\r\n"));
    child<QToolButton>(forms().Chirp_Form, "SpeedButton1")->click();
    ASSERT_TRUE(mainWidgets().SpeedButton1->isEnabled());
    mainWidgets().SpeedButton1->click();
    const std::string ampl = workDir.read("ampl.dat");
    ASSERT_FALSE(ampl.empty());
    std::string lf = ampl;
    std::erase(lf, '\r');
    EXPECT_EQ(syntmemo()->toPlainText().toStdString(), lf);
}
