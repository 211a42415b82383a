#pragma once

#include "chirp/chirp_source.h"
#include "platform/work_dir.h"

#include <QObject>

namespace quarvel {

// The chirp's four texts as typed and the wavelet made from them: GO writes
// the sweep and its Klauder wavelet into the working directory, which the
// synthetic and the tie are computed with.
class ChirpModel : public QObject {
    Q_OBJECT
public:
    explicit ChirpModel(WorkDir workDir, QObject* parent = nullptr);

    const ChirpTexts& texts() const { return texts_; }
    void setTexts(const ChirpTexts& texts);
    // GO: the sweep and the Klauder wavelet from the texts. Texts the sweep
    // cannot be made from throw before a file is touched.
    void makeWavelet();
    // Whether GO has run in this document.
    bool waveletMade() const { return waveletMade_; }
    // Seconds from the centre column of a chirp graph of that width.
    double CALC_TIME(int x, int graphWidth) const;

signals:
    void textsChanged();
    void waveletChanged();

private:
    WorkDir workDir_;
    ChirpTexts texts_;
    bool waveletMade_ = false;
};

} // namespace quarvel
