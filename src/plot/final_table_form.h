#pragma once

#include "main_window/forms.h"

#include <QImage>
#include <QMainWindow>

class QAction;
class QScrollArea;

namespace quarvel {

class ImagePanel;

// "Quarvel Final Plot": shows the composed plot and saves it as a bitmap.
class TFinalTableForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TFinalTableForm(Services& services);

    // Installs a newly composed plot, sizing Image1 to it.
    void showPlot(const QImage& plot);

    void Save1Click();
    void Exit1Click();
    void Parameters1Click();

private:
    QAction* Save1 = nullptr;       // "&Save as"
    QAction* Exit1 = nullptr;       // "E&xit"
    QAction* Parameters1 = nullptr; // "Parameters"
    QScrollArea* ScrollBox1 = nullptr;
    ImagePanel* Image1 = nullptr;
    Services& services_;
};

} // namespace quarvel
