// The models of what the panels and the final plot show: the photograph, the
// marks on the panels and the final plot as last composed.
#include "document/calibration_model.h"
#include "document/final_plot_model.h"
#include "document/marks_model.h"
#include "document/photograph_model.h"
#include "document/plot_settings.h"
#include "document/series_model.h"
#include "plot/plot_marks.h"
#include "support/temp_work_dir.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

// A photograph more than twice the panel's width, squeezed while "Fit Core
// to Panel" is on: announced when loaded, and again only when the columns
// shown move.
TEST(PhotographModel, AnnouncesEachLoadAndEveryMoveOfTheColumnsShown) {
    const testing::TempWorkDir dir;
    CalibrationModel calibration;
    PlotSettings settings;
    settings.setPanels({.fitCore = false});
    PhotographModel photo(calibration, settings);
    QSignalSpy changed(&photo, &PhotographModel::changed);
    calibration.setBoundaries(Boundaries::empty());
    EXPECT_EQ(photo.panelHeight(), StartPanelHeight);
    EXPECT_EQ(changed.count(), 0) << "nothing shown yet";

    const QString path = QString::fromStdString(dir.file("wide.bmp").string());
    ASSERT_TRUE(QImage(300, 40, QImage::Format_RGB32).save(path, "BMP"));
    photo.load(path);
    EXPECT_EQ(photo.fileName(), path.toStdString());
    EXPECT_EQ(photo.panelHeight(), 40);
    EXPECT_EQ(photo.coreColumns(), std::nullopt);
    settings.setPanels({});
    EXPECT_EQ(photo.coreColumns(), coreColumns(0, 299, 300, CorePanelWidth)) << "no X min yet";
    settings.setPanels({.correlator = true});
    calibration.setBoundaries(Boundaries::fromTexts({"0", "1", "0", "1", "x", "199", "0", "1"}));
    EXPECT_EQ(changed.count(), 2) << "the same columns";
    calibration.setBoundaries(Boundaries::fromTexts({"0", "1", "0", "1", "100", "199", "0", "1"}));
    EXPECT_EQ(photo.coreColumns(), coreColumns(100, 199, 300, CorePanelWidth));
    photo.load(path);
    EXPECT_EQ(changed.count(), 4);
}

// Marks added and cleared are announced; a panel drawn anew only loses its
// marks, the views drawing it anyway.
TEST(MarksModel, AnnouncesMarksAddedAndClearedAndKeepsWhatPanelsAreDrawn) {
    const testing::TempWorkDir dir;
    CalibrationModel calibration;
    PlotSettings settings;
    SeriesModel series(dir.workDir());
    PhotographModel photo(calibration, settings);
    MarksModel marks(settings, series, photo);
    QSignalSpy added(&marks, &MarksModel::added);
    QSignalSpy cleared(&marks, &MarksModel::cleared);
    marks.add({}); // a session without marks: the views draw what is there
    marks.add({{1, "0.1", {.photo = true, .trace = true}, 1.5, 15},
               {2, "0.2", {.trace = true}, 2.0, 20}});
    marks.panelsDrawn({.trace = true});
    EXPECT_EQ(marks.all(), (std::vector<PlotMark>{{1, "0.1", {.photo = true}, 1.5, 15}}));
    EXPECT_EQ(marks.drawnPanels(), PanelSet{.trace = true});
    marks.clear();
    EXPECT_TRUE(marks.all().empty());
    EXPECT_EQ(added.count(), 2);
    EXPECT_EQ(cleared.count(), 1);
}

TEST(FinalPlotModel, KeepsTheLastTraceAxisAndAnnouncesEveryPlot) {
    FinalPlotModel model;
    QSignalSpy changed(&model, &FinalPlotModel::changed);
    model.setPlot(QImage(4, 3, QImage::Format_RGB32), 250);
    model.setPlot(QImage(5, 3, QImage::Format_RGB32), std::nullopt);
    EXPECT_EQ(model.axisX(), 250);
    EXPECT_EQ(model.image().width(), 5);
    EXPECT_EQ(changed.count(), 2);
}

} // namespace
} // namespace quarvel
