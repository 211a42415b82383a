#include "document/final_plot_model.h"

namespace quarvel {

// Every composition is announced, the same picture too: the plot window comes
// up with it either way.
void FinalPlotModel::setPlot(const QImage& plot, std::optional<int> axisX) {
    if (axisX) {
        axisX_ = *axisX;
    }
    image_ = plot;
    emit changed();
}

void FinalPlotModel::clear() {
    axisX_ = 0;
    if (!image_.isNull()) {
        image_ = QImage();
        emit changed();
    }
}

} // namespace quarvel
