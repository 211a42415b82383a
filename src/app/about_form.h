#pragma once

#include <QDialog>

namespace quarvel {

// "Version 0.2.0" (the program's version): a stay-on-top tool window with a
// picture, a text and "accept".
class TAboutForm : public QDialog {
    Q_OBJECT
public:
    TAboutForm();
};

} // namespace quarvel
