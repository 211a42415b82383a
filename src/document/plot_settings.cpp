#include "document/plot_settings.h"

#include "platform/canvas.h"

namespace quarvel {

PlotSettings::PlotSettings(QObject* parent) : QObject(parent), font_(layoutFont()) {}

void PlotSettings::setScales(const LogScaleSettings& scales) {
    if (scales != scales_) {
        scales_ = scales;
        emit scalesChanged();
    }
}

void PlotSettings::setAxis(const AxisTexts& axis) {
    if (axis != axis_) {
        axis_ = axis;
        emit axisChanged();
    }
}

void PlotSettings::setFinalPlotOptions(const FinalPlotOptions& options) {
    if (options != options_) {
        options_ = options;
        emit finalPlotOptionsChanged();
    }
}

void PlotSettings::setFont(const QFont& font) {
    if (font != font_) {
        font_ = font;
        emit fontChanged();
    }
}

void PlotSettings::setPanels(const PanelChoices& panels) {
    if (panels != panels_) {
        panels_ = panels;
        emit panelsChanged();
    }
}

} // namespace quarvel
