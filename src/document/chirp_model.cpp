#include "document/chirp_model.h"

#include <utility>

namespace quarvel {

ChirpModel::ChirpModel(WorkDir workDir, QObject* parent)
    : QObject(parent), workDir_(std::move(workDir)) {}

void ChirpModel::setTexts(const ChirpTexts& texts) {
    if (texts.width == texts_.width && texts.start == texts_.start && texts.end == texts_.end &&
        texts.interval == texts_.interval) {
        return;
    }
    texts_ = texts;
    emit textsChanged();
}

void ChirpModel::makeWavelet() {
    // Parameters the sweep cannot be made from are refused before a file is
    // touched, so the wavelet on show stays the one on disk.
    ChirpSource(texts_, workDir_);
    waveletMade_ = true;
    emit waveletChanged();
}

double ChirpModel::CALC_TIME(int x, int graphWidth) const {
    return quarvel::CALC_TIME(x, graphWidth, texts_.width);
}

} // namespace quarvel
