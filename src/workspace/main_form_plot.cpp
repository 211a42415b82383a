// The final plot commands of the main window: gather what the plot is made of
// from this window and its companions, compose it, and show it.
#include "calibration/core_photo_form.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "plot/final_plot.h"
#include "plot/final_table_form.h"
#include "plot/graph_form.h"
#include "workspace/main_form.h"

#include <QCheckBox>
#include <QLineEdit>

namespace quarvel {
namespace {

FinalPlotPanel panelOf(const QCheckBox* box, const ImagePanel* panel) {
    FinalPlotPanel result;
    result.checked = box->isChecked();
    if (panel->hasPicture()) {
        result.picture = panel->picture().image();
    }
    return result;
}

// Composes the plot from the panels as they stand and shows it. A composition
// that fails leaves the plot window as it was: the message tells what to fix,
// and a half-drawn plot would only be mistaken for a finished one.
void composeAndShow(TMainForm& form, bool withTitle) {
    const Forms& forms = form.services().forms;
    FinalPlotInputs in;
    in.coreHeight = form.core_image->panelHeight();
    in.photo = panelOf(form.Photo, form.core_image);
    in.synthetic = panelOf(form.Synth, form.Grafico_sintetico);
    in.pwave = panelOf(form.Pwave, form.Grafico_velocita);
    in.density = panelOf(form.density, form.grafico_densita);
    in.trace = panelOf(form.Trace, form.Grafico_traccia);
    in.topText = forms.Core_Photo_Form->Top->text().toStdString();
    in.bottomText = forms.Core_Photo_Form->Bottom->text().toStdString();
    in.markFreqText = forms.GraphForm->Edit3->text().toStdString();
    in.labelFreqText = forms.GraphForm->Edit4->text().toStdString();
    in.traceTimeMinMs = form.ws.TraceTimeMinMs;
    in.traceTimeMaxMs = form.ws.TraceTimeMaxMs;
    in.meanVelocity = form.ws.MeanVelocity;
    in.imageFileName = form.ws.ImageFileName;
    in.withTitle = withTitle;

    const FinalPlot plot = composeFinalPlot(in);
    if (plot.axisX) {
        form.ws.FinalPlotAxisX = *plot.axisX;
    }
    TFinalTableForm* window = forms.FinalTableForm;
    window->showPlot(plot.image);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

void TMainForm::FinalTableshowClick() {
    guarded(services_.errors, [this] { composeAndShow(*this, true); });
}

void TMainForm::SaveToFile1Click() {
    guarded(services_.errors, [this] { composeAndShow(*this, false); });
}

} // namespace quarvel
