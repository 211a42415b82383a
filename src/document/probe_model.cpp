#include "document/probe_model.h"

#include "probe/depth_twt.h"

#include <utility>

namespace quarvel {

void ProbeModel::pointerAt(long long column, long long row, QRgb colour, double depth,
                           const std::vector<LogRecord>& log, int logCount) {
    const depth_twt::TwtEstimate estimate = depth_twt::estimateTwt(log, logCount, depth);
    depth_twt::PointTexts texts = depth_twt::pointTexts(column, row, qRed(colour), qGreen(colour),
                                                        qBlue(colour), depth, estimate.estTwt);
    reading_ = {depth,
                estimate.estTwt,
                estimate.instVelocity,
                estimate.instDensity,
                std::move(texts.depthText),
                std::move(texts.twtText),
                estimate.velocityText,
                estimate.densityText,
                std::move(texts.status0),
                std::move(texts.status1)};
    emit readingChanged();
}

void ProbeModel::showGuide(int row) {
    hideGuide();
    guideRow_ = row;
    emit guideShown(row);
}

void ProbeModel::hideGuide() {
    if (const std::optional<int> row = std::exchange(guideRow_, std::nullopt)) {
        emit guideHidden(*row);
    }
}

} // namespace quarvel
