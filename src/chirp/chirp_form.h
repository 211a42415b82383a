#pragma once

#include "workspace/forms.h"

#include <QMainWindow>

class QLabel;
class QLineEdit;

namespace quarvel {

class ImagePanel;

// "Chirp Signal Processor": the four sweep parameters, GO, the wavelet and
// sweep graphs and the ".SIG" files.
class TChirp_Form : public QMainWindow {
    Q_OBJECT
public:
    explicit TChirp_Form(Services& services);

    QLineEdit* peredit = nullptr;    // signal width, s
    QLineEdit* stfreqedit = nullptr; // start frequency, Hz
    QLineEdit* edfreqedit = nullptr; // end frequency, Hz
    QLineEdit* samedit = nullptr;    // sampling interval, s
    QLabel* Label5 = nullptr;
    ImagePanel* Grafico_Source0 = nullptr;
    ImagePanel* Grafico_source1 = nullptr;

private:
    Services& services_;
};

} // namespace quarvel
