#pragma once

#include "workspace/forms.h"

#include <QMainWindow>

class QPlainTextEdit;
class QTableWidget;
class QTabWidget;

namespace quarvel {

// "Data Editor": the log grid and the synthetic and trace listings, and the
// working files made from them.
class TTables_Form : public QMainWindow {
    Q_OBJECT
public:
    explicit TTables_Form(Services& services);

    QTabWidget* PageControl1 = nullptr;
    QTableWidget* loggrid = nullptr;
    QPlainTextEdit* Syntmemo = nullptr;
    QPlainTextEdit* Tracememo = nullptr;

private:
    Services& services_;
};

} // namespace quarvel
