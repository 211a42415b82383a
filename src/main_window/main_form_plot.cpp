// The final plot commands of the main window: gather what the plot is made of
// from this window's panels and the workspace, compose it, and show it.
#include "calibration/boundary_check.h"
#include "document/workspace.h"
#include "main_window/main_form.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "plot/final_plot.h"

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

// The photograph as the plot shows it: the guide line follows the pointer and
// is no part of the picture, so its row gets its own colours back (the guide
// inverts columns 1 to width - 2).
FinalPlotPanel photographOf(const QCheckBox* box, const ImagePanel* panel,
                            const WorkspaceState& ws) {
    FinalPlotPanel result = panelOf(box, panel);
    if (result.picture && ws.GuideShown && ws.GuideY >= 0 && ws.GuideY < result.picture->height()) {
        QImage& image = *result.picture;
        auto* row = reinterpret_cast<QRgb*>(image.scanLine(ws.GuideY));
        for (int x = 1; x <= image.width() - 2; ++x) {
            row[x] ^= 0x00ffffffU;
        }
    }
    return result;
}

} // namespace

// Composes the plot from the panels as they stand and shows it. A composition
// that fails leaves the plot window as it was: the message tells what to fix,
// and a half-drawn plot would only be mistaken for a finished one.
void TMainForm::composeAndShow(bool withTitle) {
    const WorkspaceState& ws = workspace_.state();
    FinalPlotInputs in;
    in.coreHeight = core_image->panelHeight();
    in.photo = photographOf(Photo, core_image, ws);
    in.synthetic = panelOf(Synth, Grafico_sintetico);
    in.pwave = panelOf(Pwave, Grafico_velocita);
    in.density = panelOf(density, grafico_densita);
    in.trace = panelOf(Trace, Grafico_traccia);
    // The final plot's own rule for Top and Bottom (the whole number each
    // starts with) is applied by composeFinalPlot.
    in.topText = workspace_.calibration().Top;
    in.bottomText = workspace_.calibration().Bottom;
    in.yminText = workspace_.calibration().ymin;
    in.ymaxText = workspace_.calibration().ymax;
    in.markFreqText = workspace_.axisTexts().yMarkFreq;
    in.labelFreqText = workspace_.axisTexts().yLabelFreq;
    in.traceTimeMinMs = ws.TraceTimeMinMs;
    in.traceTimeMaxMs = ws.TraceTimeMaxMs;
    in.meanVelocity = ws.MeanVelocity;
    in.imageFileName = ws.ImageFileName;
    in.withTitle = withTitle;

    if (const auto problem = depthAxisProblem(workspace_.calibration())) {
        throw QuarvelError(*problem);
    }
    const FinalPlot plot = composeFinalPlot(in);
    workspace_.setFinalPlot(plot.image, plot.axisX);
    services_.forms.showAndRaise(FormId::FinalTableForm);
}

void TMainForm::FinalTableshowClick() {
    guarded(services_.errors, [this] { composeAndShow(true); });
}

void TMainForm::SaveToFile1Click() {
    guarded(services_.errors, [this] { composeAndShow(false); });
}

} // namespace quarvel
