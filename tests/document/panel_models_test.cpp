// The models of what the panels and the final plot show: the photograph, the
// marks on the panels and the final plot as last composed.
#include "document/final_plot_model.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace quarvel {
namespace {

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
