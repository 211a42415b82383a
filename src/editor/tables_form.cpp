#include "editor/tables_form.h"

#include <QPlainTextEdit>
#include <QTabWidget>
#include <QTableWidget>

namespace quarvel {

TTables_Form::TTables_Form(Services& services) : services_(services) {
    setObjectName("Tables_Form");
    setWindowTitle("Data Editor");
    PageControl1 = new QTabWidget(this);
    loggrid = new QTableWidget(1000, 3);
    loggrid->setObjectName("loggrid");
    Syntmemo = new QPlainTextEdit;
    Syntmemo->setObjectName("Syntmemo");
    Tracememo = new QPlainTextEdit;
    Tracememo->setObjectName("Tracememo");
    PageControl1->addTab(loggrid, "Logs");
    PageControl1->addTab(Syntmemo, "Synthetic");
    PageControl1->addTab(Tracememo, "Trace");
    setCentralWidget(PageControl1);
}

} // namespace quarvel
