#pragma once

#include "workspace/forms.h"

#include <QImage>
#include <QMainWindow>

class QScrollArea;

namespace quarvel {

class ImagePanel;

// "Quarvel Final Plot": shows the composed plot and saves it as a bitmap.
class TFinalTableForm : public QMainWindow {
    Q_OBJECT
public:
    explicit TFinalTableForm(Services& services);

    QScrollArea* ScrollBox1 = nullptr;
    ImagePanel* Image1 = nullptr;

private:
    Services& services_;
};

} // namespace quarvel
