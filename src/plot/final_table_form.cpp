#include "plot/final_table_form.h"

#include "document/workspace.h"
#include "platform/dialogs.h"
#include "platform/error_reporter.h"
#include "platform/image_file.h"
#include "platform/image_panel.h"
#include "platform/window_geometry.h"

#include <QMenuBar>
#include <QScrollArea>

namespace quarvel {

TFinalTableForm::TFinalTableForm(Services& services) : services_(services) {
    setObjectName("FinalTableForm");
    setWindowTitle("Quarvel Final Plot");
    ScrollBox1 = new QScrollArea(this);
    ScrollBox1->setObjectName("ScrollBox1");
    Image1 = new ImagePanel("Image1", 761, 615);
    ScrollBox1->setWidget(Image1);
    setCentralWidget(ScrollBox1);

    QMenu* file = menuBar()->addMenu("&File");
    Save1 = file->addAction("&Save as");
    Save1->setObjectName("Save1");
    // Nothing to save until a plot has been composed.
    Save1->setEnabled(false);
    Exit1 = file->addAction("E&xit");
    Exit1->setObjectName("Exit1");
    QMenu* set = menuBar()->addMenu("&Set");
    Parameters1 = set->addAction("&Parameters");
    Parameters1->setObjectName("Parameters1");
    // Laid out as a 773 x 646 window: its client area below the menu bar.
    setClientSize(*this, layoutClientSize({773, 646}));

    connect(Save1, &QAction::triggered, this, [this] { Save1Click(); });
    connect(Exit1, &QAction::triggered, this, [this] { Exit1Click(); });
    connect(Parameters1, &QAction::triggered, this, [this] { Parameters1Click(); });
    connect(&services_.workspace.finalPlot(), &FinalPlotModel::changed, this,
            [this] { showPlot(services_.workspace.finalPlot().image()); });
}

void TFinalTableForm::showPlot(const QImage& plot) {
    // No plot (a session opened since) leaves nothing to save.
    Image1->setPanelSize(plot.width(), plot.height());
    if (plot.isNull()) {
        Image1->clearPicture();
    } else {
        Image1->setPicture(plot);
    }
    Save1->setEnabled(!plot.isNull());
}

// The plot goes to the chosen file as a Windows bitmap, replacing an existing
// file without asking. It is written beside the target and renamed into place,
// so a failed write leaves an existing file as it was.
void TFinalTableForm::Save1Click() {
    guarded(services_.errors, [this] {
        if (!Image1->hasPicture()) {
            return;
        }
        const std::optional<QString> name =
            services_.dialogs.saveFile({"Save As", "Bitmap|*.BMP", "BMP", "final plot"});
        if (!name || name->isEmpty()) {
            return;
        }
        writeImageFile(Image1->picture().image(), name->toStdString(), "BMP");
    });
}

void TFinalTableForm::Exit1Click() {
    guarded(services_.errors, [this] { close(); });
}

// The parameters take effect at the next composition; the plot shown stays.
void TFinalTableForm::Parameters1Click() {
    guarded(services_.errors, [this] { services_.forms.showAndRaise(FormId::GraphForm); });
}

} // namespace quarvel
