#include "plot/final_table_form.h"

#include "platform/image_panel.h"

#include <QScrollArea>

namespace quarvel {

TFinalTableForm::TFinalTableForm(Services& services) : services_(services) {
    setObjectName("FinalTableForm");
    setWindowTitle("Quarvel Final Plot");
    ScrollBox1 = new QScrollArea(this);
    Image1 = new ImagePanel("Image1", 761, 615);
    ScrollBox1->setWidget(Image1);
    setCentralWidget(ScrollBox1);
}

} // namespace quarvel
