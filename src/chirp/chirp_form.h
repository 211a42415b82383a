#pragma once

#include "main_window/forms.h"

#include <QMainWindow>
#include <array>

class QAction;
class QFrame;
class QGroupBox;
class QLabel;
class QLineEdit;
class QScrollArea;
class QToolButton;

namespace quarvel {

class ImagePanel;
class Workspace;

// "Chirp Signal Processor": the workspace's four sweep parameters, GO, the
// wavelet and sweep graphs and the ".SIG" files.
class TChirp_Form : public QMainWindow {
    Q_OBJECT
public:
    explicit TChirp_Form(Services& services);

    // Writes "chirp.dat" and "klauder.dat" from the parameters, then draws them.
    void SpeedButton1Click();
    // Redraws both graphs from the working files.
    void DRAW_SOURCE();
    // Seconds from the graphs' centre column at pixel column X.
    double CALC_TIME(int X) const;
    void Grafico_Source0MouseMove(int x);
    void Grafico_source1MouseMove(int x);
    void Load1Click();
    void Save1Click();
    void Exit1Click();

private:
    QScrollArea* ScrollBox1 = nullptr;
    QFrame* Panel1 = nullptr;
    QToolButton* SpeedButton1 = nullptr;   // "GO"
    QLabel* Label5 = nullptr;              // name of the loaded ".SIG" file
    QGroupBox* GroupBox1 = nullptr;        // "Parameter Editor"
    QLineEdit* peredit = nullptr;          // signal width, s
    QLineEdit* stfreqedit = nullptr;       // start frequency, Hz
    QLineEdit* edfreqedit = nullptr;       // end frequency, Hz
    QLineEdit* samedit = nullptr;          // sampling interval, s
    ImagePanel* Grafico_Source0 = nullptr; // the Klauder wavelet
    ImagePanel* Grafico_source1 = nullptr; // the sweep
    QLabel* StatusPanel = nullptr;         // the status bar's one panel
    QAction* Load1 = nullptr;
    QAction* Save1 = nullptr;
    QAction* Exit1 = nullptr;

    void buildParameterEditor(QWidget* content);
    void showTime(int x);
    // The workspace's chirp texts into the fields.
    void showChirpTexts();

    Services& services_;
    Workspace& workspace_;
    // Which of the four lines of the last loaded ".SIG" file were Latin-1,
    // so that Save writes them back as they were read.
    std::array<bool, 4> signalLineLatin1_{};
};

} // namespace quarvel
