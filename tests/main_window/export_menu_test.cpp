// The File menu's exports for other programs: each refuses before asking for
// a file when there is nothing to export, and writes what the windows show.
#include "document/workspace.h"
#include "formats/numbers.h"
#include "main_window/main_form.h"
#include "support/app_fixture.h"
#include "survey/las_reader.h"
#include "survey/segy_reader.h"

#include <QAction>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

class ExportMenu : public testing::AppFixture {
protected:
    ExportMenu() { showMainWindow(); }

    void trigger(const char* name, const std::string& file) {
        dialogs.expectSaveFile(QString::fromStdString(workDir.file(file).string()));
        child<QAction>(&mainForm(), QLatin1String(name))->trigger();
    }
};

TEST_F(ExportMenu, RefusesWithNothingToExportAndWritesTheSyntheticAndLogOnShow) {
    errors.expectError("Cannot write the synthetic on show as SEG-Y. It needs two samples or "
                       "more to give its interval.");
    child<QAction>(&mainForm(), QStringLiteral("ExportSegy1"))->trigger();
    errors.expectError("There is no log to export. Load a log in the data editor first.");
    child<QAction>(&mainForm(), QStringLiteral("ExportLas1"))->trigger();
    EXPECT_TRUE(dialogs.fileQuestions().empty()) << "no file asked for without data";

    std::string ampl;
    for (int i = 0; i < 50; ++i) {
        ampl += numbers::formatE23(i * 5e-6) + " " + numbers::formatE23(0.01 * i) + "\r\n";
    }
    workDir.write("ampl.dat", ampl);
    workspace().series().readSynthetic();
    trigger("ExportSegy1", "synthetic.sgy");
    SegyReader reader(workDir.file("synthetic.sgy"));
    EXPECT_EQ(reader.layout().samplesPerTrace, 50);
    EXPECT_EQ(reader.traceHeader(0).intervalUs, 5);

    loadThreeRecordLog();
    trigger("ExportLas1", "core.las");
    const ColumnTable las = readLas(workDir.read("core.las"), "core.las");
    ASSERT_EQ(las.rows.size(), 3U) << "only the records of the log on show";
    EXPECT_EQ(las.rows[2], (std::vector<double>{1.0, 1600.0, 1.9}));
}

} // namespace
} // namespace quarvel
