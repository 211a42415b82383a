// Drawing of the four data panels: the two log panels, the synthetic and the
// recorded trace. Each drawing reads its working file, renders off screen and
// installs the picture in one step, so a failed drawing leaves the panel as
// it was.

#include "platform/dialogs.h"
#include "platform/image_panel.h"
#include "plot/log_panel.h"
#include "plot/scale_forms.h"
#include "plot/series_panel.h"
#include "workspace/log_scale.h"
#include "workspace/main_form.h"

#include <QCheckBox>
#include <QSpinBox>

namespace quarvel {

namespace {

// A file longer than the panel's capacity is drawn up to the capacity; the
// user is told once.
void tellLeftOut(Dialogs& dialogs, const char* fileName, int capacity, const char* what) {
    dialogs.showMessage(QStringLiteral("\"%1\" holds more than %2 %3; the rest was left out.")
                            .arg(QLatin1String(fileName))
                            .arg(capacity)
                            .arg(QLatin1String(what)));
}

void enableAndCheck(QCheckBox* box) {
    box->setEnabled(true);
    box->setChecked(true);
}

} // namespace

void TMainForm::CALC_LOG_SCALE() {
    TVelScaleForm* velocity = services_.forms.VelScaleForm;
    TDensityScaleForm* density = services_.forms.DensityScaleForm;
    LogScaleSettings settings;
    settings.autoVel = velocity->Autovel->isChecked();
    settings.minVel = velocity->MinVel->value();
    settings.maxVel = velocity->Maxvel->value();
    settings.autoDens = density->autodens->isChecked();
    settings.minDens = density->MinDens->value();
    settings.maxDens = density->MaxDens->value();

    const LogScaleResult result = calcLogScaleFile(services_.workDir.file("log.dat"), settings);
    applyLogScale(result, ws);
    velocity->MinVel->setValue(result.scales.minVel);
    velocity->Maxvel->setValue(result.scales.maxVel);
    density->MinDens->setValue(result.scales.minDens);
    density->MaxDens->setValue(result.scales.maxDens);
    if (result.truncated)
        tellLeftOut(services_.dialogs, "log.dat", LogCapacity, "records");
}

void TMainForm::draw_grafici() {
    const int height = core_image->panelHeight();
    Grafico_velocita->setPanelHeight(height);
    grafico_densita->setPanelHeight(height);
    CALC_LOG_SCALE();

    LogPanelInput input;
    input.records = ws.LogTable;
    input.topDepth = ws.LogTopDepth;
    input.bottomDepth = ws.LogBottomDepth;

    input.kind = LogPanelKind::Velocity;
    input.minBound = services_.forms.VelScaleForm->MinVel->value();
    input.maxBound = services_.forms.VelScaleForm->Maxvel->value();
    Grafico_velocita->setPicture(
        renderLogPanel(input, Grafico_velocita->panelWidth(), height, annotationFont));

    input.kind = LogPanelKind::Density;
    input.minBound = services_.forms.DensityScaleForm->MinDens->value();
    input.maxBound = services_.forms.DensityScaleForm->MaxDens->value();
    grafico_densita->setPicture(
        renderLogPanel(input, grafico_densita->panelWidth(), height, annotationFont));

    enableAndCheck(Pwave);
    enableAndCheck(density);
}

void TMainForm::Draw_sintetico() {
    Grafico_sintetico->setPanelHeight(core_image->panelHeight());
    const SeriesData series = readSeriesFile(services_.workDir.file("ampl.dat"));
    if (series.truncated)
        tellLeftOut(services_.dialogs, "ampl.dat", SeriesCapacity, "samples");
    const SeriesExtents extents = seriesExtents(series);
    ws.SynthTimeFirst = extents.timeFirst;
    ws.SynthTimeLast = extents.timeLast;
    ws.SynthAmpMin = extents.ampMin;
    ws.SynthAmpMax = extents.ampMax;

    Grafico_sintetico->setPicture(renderSeriesPanel(
        series, extents, QStringLiteral("Synthetic"), Grafico_sintetico->panelWidth(),
        Grafico_sintetico->panelHeight(), annotationFont));
    enableAndCheck(Synth);
}

void TMainForm::Draw_trace() {
    Grafico_traccia->setPanelHeight(core_image->panelHeight());
    const SeriesData series = readSeriesFile(services_.workDir.file("trace.txt"));
    if (series.truncated)
        tellLeftOut(services_.dialogs, "trace.txt", SeriesCapacity, "samples");
    ws.TraceTimeMaxMs = series.runningTimeMax * 1000;
    ws.TraceTimeMinMs = series.runningTimeMin * 1000;
    const SeriesExtents extents = seriesExtents(series);
    ws.TraceTimeFirst = extents.timeFirst;
    ws.TraceTimeLast = extents.timeLast;
    ws.TraceAmpMin = extents.ampMin;
    ws.TraceAmpMax = extents.ampMax;

    Grafico_traccia->setPicture(renderSeriesPanel(series, extents, QStringLiteral("Seismic Trace"),
                                                  Grafico_traccia->panelWidth(),
                                                  Grafico_traccia->panelHeight(), annotationFont));
    enableAndCheck(Trace);
}

} // namespace quarvel
