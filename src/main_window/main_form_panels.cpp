// Drawing of the four data panels: the two log panels, the synthetic and the
// recorded trace. The workspace reads the working files and announces what
// changed; each panel renders off screen and installs the picture in one
// step, so a failed drawing leaves the panel as it was.

#include "document/workspace.h"
#include "main_window/main_form.h"
#include "platform/error_reporter.h"
#include "platform/image_panel.h"
#include "plot/log_panel.h"
#include "plot/series_panel.h"

#include <QAction>
#include <QCheckBox>
#include <QSignalBlocker>
#include <utility>

namespace quarvel {

namespace {

void enableAndCheck(QCheckBox* box) {
    box->setEnabled(true);
    box->setChecked(true);
}

} // namespace

void TMainForm::connectWorkspace() {
    // A drawing that fails is reported on its own; the command that brought
    // the new data has done its work by then.
    const auto redraw = [this](void (TMainForm::*draw)()) {
        return [this, draw] { guarded(services_.errors, [this, draw] { (this->*draw)(); }); };
    };
    connect(&workspace_, &Workspace::logChanged, this, redraw(&TMainForm::drawLogPanels));
    connect(&workspace_.series(), &SeriesModel::synthChanged, this,
            redraw(&TMainForm::drawSynthetic));
    connect(&workspace_.series(), &SeriesModel::traceChanged, this, redraw(&TMainForm::drawTrace));
    connect(&workspace_, &Workspace::traceSelected, this, [this] { enableAndCheckTrace(); });
    connect(&workspace_.photograph(), &PhotographModel::changed, this,
            redraw(&TMainForm::showLoadedPhotograph));
    connect(&workspace_.marks(), &MarksModel::added, this, redraw(&TMainForm::drawMarks));
    connect(&workspace_.marks(), &MarksModel::cleared, this, redraw(&TMainForm::removeMarks));
    connect(&workspace_.probe(), &ProbeModel::readingChanged, this, [this] { showReading(); });
    connect(&workspace_.probe(), &ProbeModel::guideShown, this,
            [this](int row) { invertGuideRow(row); });
    connect(&workspace_.probe(), &ProbeModel::guideHidden, this,
            [this](int row) { invertGuideRow(row); });
    connect(&workspace_.plotSettings(), &PlotSettings::panelsChanged, this,
            [this] { showPanelChoices(); });
    for (QCheckBox* box : {Photo, Synth, Trace, Pwave, density, correlator}) {
        connect(box, &QCheckBox::toggled, this, [this] { storePanelChoices(); });
    }
    connect(FitCore1, &QAction::toggled, this, [this] { storePanelChoices(); });
}

void TMainForm::storePanelChoices() {
    workspace_.plotSettings().setPanels({Photo->isChecked(), Synth->isChecked(), Trace->isChecked(),
                                         Pwave->isChecked(), density->isChecked(),
                                         correlator->isChecked(), FitCore1->isChecked()});
}

// The ticks as the workspace holds them, set together: one at a time, each
// would hand the others' old ticks back to it.
void TMainForm::showPanelChoices() {
    const PanelChoices& choices = workspace_.plotSettings().panels();
    const std::pair<QCheckBox*, bool> boxes[] = {
        {Photo, choices.photo},    {Synth, choices.synthetic}, {Trace, choices.trace},
        {Pwave, choices.velocity}, {density, choices.density}, {correlator, choices.correlator}};
    for (const auto& [box, ticked] : boxes) {
        const QSignalBlocker blocker(box);
        box->setChecked(ticked);
    }
    const QSignalBlocker blocker(FitCore1);
    FitCore1->setChecked(choices.fitCore);
}

void TMainForm::draw_grafici() {
    workspace_.refreshLog();
}

void TMainForm::Draw_sintetico() {
    workspace_.series().readSynthetic();
}

void TMainForm::Draw_trace() {
    workspace_.series().readTrace();
}

void TMainForm::drawLogPanels() {
    const int height = core_image->panelHeight();
    Grafico_velocita->setPanelHeight(height);
    grafico_densita->setPanelHeight(height);

    const WorkspaceState& ws = workspace_.state();
    const LogScaleSettings& scales = workspace_.plotSettings().scales();
    LogPanelInput input;
    input.records = ws.LogTable;
    input.topDepth = ws.LogTopDepth;
    input.bottomDepth = ws.LogBottomDepth;

    input.kind = LogPanelKind::Velocity;
    input.minBound = scales.minVel;
    input.maxBound = scales.maxVel;
    Grafico_velocita->setPicture(renderLogPanel(input, Grafico_velocita->panelWidth(), height,
                                                workspace_.plotSettings().font()));

    input.kind = LogPanelKind::Density;
    input.minBound = scales.minDens;
    input.maxBound = scales.maxDens;
    grafico_densita->setPicture(renderLogPanel(input, grafico_densita->panelWidth(), height,
                                               workspace_.plotSettings().font()));

    enableAndCheck(Pwave);
    enableAndCheck(density);
    if (!ws.NoLogLoaded) {
        enableCalcSynthetic();
    }
}

void TMainForm::drawSynthetic() {
    drawSeriesPanel(Grafico_sintetico, Synth, workspace_.series().synthetic(),
                    workspace_.series().syntheticExtents(), QStringLiteral("Synthetic"));
}

void TMainForm::drawTrace() {
    drawSeriesPanel(Grafico_traccia, Trace, workspace_.series().trace(),
                    workspace_.series().traceExtents(), QStringLiteral("Seismic Trace"));
}

void TMainForm::drawSeriesPanel(ImagePanel* panel, QCheckBox* box, const SeriesData& series,
                                const SeriesExtents& extents, const QString& title) {
    panel->setPanelHeight(core_image->panelHeight());
    panel->setPicture(renderSeriesPanel(series, extents, title, panel->panelWidth(),
                                        panel->panelHeight(), workspace_.plotSettings().font()));
    enableAndCheck(box);
}

} // namespace quarvel
