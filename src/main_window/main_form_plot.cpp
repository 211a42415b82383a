// The final plot commands of the main window: the plot is composed from what
// the workspace holds, never from this window's panels, so the guide line
// and a released row stay off it.
#include "calibration/boundary_check.h"
#include "document/workspace.h"
#include "formats/quarvel_error.h"
#include "main_window/main_form.h"
#include "platform/error_reporter.h"
#include "plot/final_plot_source.h"

namespace quarvel {

// A composition that fails leaves the plot window as it was: the message
// tells what to fix, and a half-drawn plot would only be mistaken for a
// finished one.
void TMainForm::composeAndShow(bool withTitle) {
    if (const auto problem = depthAxisProblem(workspace_.calibration().boundaries())) {
        throw QuarvelError(*problem);
    }
    const FinalPlot plot = composeFinalPlot(workspace_.finalPlotSource(withTitle));
    workspace_.finalPlot().setPlot(plot.image, plot.axisX);
    services_.forms.showAndRaise(FormId::FinalTableForm);
}

void TMainForm::FinalTableshowClick() {
    guarded(services_.errors, [this] { composeAndShow(true); });
}

void TMainForm::SaveToFile1Click() {
    guarded(services_.errors, [this] { composeAndShow(false); });
}

} // namespace quarvel
