#pragma once

#include "probe/log_scale.h"

#include <QFont>
#include <QObject>
#include <string>

namespace quarvel {

// The tick settings of the final plot's axes as typed ("Graphic Param.").
struct AxisTexts {
    std::string xMarkFreq = "10";
    std::string xLabelFreq = "50";
    std::string yMarkFreq = "200";
    std::string yLabelFreq = "200";

    bool operator==(const AxisTexts&) const = default;
};

// The ticks of the main window's selection bar (which panels a mark goes
// on), "Correlator" and "Fit Core to Panel".
struct PanelChoices {
    bool photo = true;
    bool synthetic = false;
    bool trace = false;
    bool velocity = false;
    bool density = false;
    bool correlator = false;
    bool fitCore = true;

    bool operator==(const PanelChoices&) const = default;
};

// What "Graphic Param." adds to the final plot: the synthetic moved onto the
// trace by the tie, in the synthetic panel's place, and an excerpt of the
// SEG-Y line around the core's trace (so many traces either side, as typed).
struct FinalPlotOptions {
    bool tiedSynthetic = false;
    bool sectionExcerpt = false;
    std::string sectionTraces = "25";

    bool operator==(const FinalPlotOptions&) const = default;
};

// How the panels and the final plot are drawn: the log panels' scales, the
// final plot's axis ticks and additions, the annotation font and the panels
// chosen. Each
// setter announces a change, and only a change, with its own signal.
class PlotSettings : public QObject {
    Q_OBJECT
public:
    explicit PlotSettings(QObject* parent = nullptr);

    // The scale dialogs' bounds; a log reading replaces the automatic ones.
    const LogScaleSettings& scales() const { return scales_; }
    void setScales(const LogScaleSettings& scales);
    const AxisTexts& axis() const { return axis_; }
    void setAxis(const AxisTexts& axis);
    const FinalPlotOptions& finalPlotOptions() const { return options_; }
    void setFinalPlotOptions(const FinalPlotOptions& options);
    // The font of the panels' titles and the marks' labels ("Anot. Font"); a
    // new one shows at each panel's next drawing.
    const QFont& font() const { return font_; }
    void setFont(const QFont& font);
    const PanelChoices& panels() const { return panels_; }
    void setPanels(const PanelChoices& panels);

signals:
    void scalesChanged();
    void axisChanged();
    void finalPlotOptionsChanged();
    void fontChanged();
    void panelsChanged();

private:
    LogScaleSettings scales_;
    AxisTexts axis_;
    FinalPlotOptions options_;
    QFont font_;
    PanelChoices panels_;
};

} // namespace quarvel
