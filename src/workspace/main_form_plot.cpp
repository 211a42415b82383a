// The final plot commands of the main window: gather what the plot is made of
// from this window's panels and the workspace, compose it, and show it.
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "plot/final_plot.h"
#include "workspace/main_form.h"
#include "workspace/workspace.h"

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
    Workspace& workspace = form.services().workspace;
    const WorkspaceState& ws = workspace.state();
    FinalPlotInputs in;
    in.coreHeight = form.core_image->panelHeight();
    in.photo = panelOf(form.Photo, form.core_image);
    in.synthetic = panelOf(form.Synth, form.Grafico_sintetico);
    in.pwave = panelOf(form.Pwave, form.Grafico_velocita);
    in.density = panelOf(form.density, form.grafico_densita);
    in.trace = panelOf(form.Trace, form.Grafico_traccia);
    // The final plot's own rule for Top and Bottom (the whole number each
    // starts with) is applied by composeFinalPlot.
    in.topText = workspace.calibration().Top;
    in.bottomText = workspace.calibration().Bottom;
    in.markFreqText = workspace.axisTexts().yMarkFreq;
    in.labelFreqText = workspace.axisTexts().yLabelFreq;
    in.traceTimeMinMs = ws.TraceTimeMinMs;
    in.traceTimeMaxMs = ws.TraceTimeMaxMs;
    in.meanVelocity = ws.MeanVelocity;
    in.imageFileName = ws.ImageFileName;
    in.withTitle = withTitle;

    const FinalPlot plot = composeFinalPlot(in);
    workspace.setFinalPlot(plot.image, plot.axisX);
    form.services().forms.showAndRaise(FormId::FinalTableForm);
}

} // namespace

void TMainForm::FinalTableshowClick() {
    guarded(services_.errors, [this] { composeAndShow(*this, true); });
}

void TMainForm::SaveToFile1Click() {
    guarded(services_.errors, [this] { composeAndShow(*this, false); });
}

} // namespace quarvel
