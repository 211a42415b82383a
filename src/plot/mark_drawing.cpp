#include "plot/mark_drawing.h"

#include "platform/canvas.h"
#include "probe/depth_twt.h"

#include <string>

namespace quarvel {

bool holds(const PanelSet& set, PlotPanel panel) {
    switch (panel) {
    case PlotPanel::Photo:
        return set.photo;
    case PlotPanel::Synthetic:
        return set.synthetic;
    case PlotPanel::Pwave:
        return set.pwave;
    case PlotPanel::Density:
        return set.density;
    case PlotPanel::Trace:
        return set.trace;
    }
    return false;
}

void drawMark(Canvas& picture, const PlotMark& mark, PlotPanel panel, int panelWidth,
              const QFont& font) {
    if (panel == PlotPanel::Trace && !mark.traceTwt) {
        return;
    }
    const int row = panel == PlotPanel::Trace ? mark.traceRow : mark.row;
    picture.setPenMode(Canvas::PenMode::Copy);
    picture.moveTo(1, row);
    picture.lineTo(panelWidth - 1, row);
    if (panel == PlotPanel::Photo) {
        return;
    }
    const std::string label = panel == PlotPanel::Trace
                                  ? depth_twt::traceMarkLabel(*mark.traceTwt, mark.depthText)
                                  : mark.depthText;
    const QFont before = picture.font();
    picture.setFont(font);
    picture.textOut(1, row, QString::fromStdString(label));
    picture.setFont(before);
}

} // namespace quarvel
