#include "plot/final_plot.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "platform/canvas.h"
#include "plot/section_picture.h"

#include <QFileInfo>
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <new>
#include <numeric>

namespace quarvel {
namespace {

constexpr int PlotWidth = 1000;
constexpr int PlotTop = 50; // top edge of every panel
constexpr int FirstPanelX = 50;
constexpr int PanelPitch = 160; // a panel is 151 wide, plus a gap
constexpr int TraceGap = 100;   // room for the time axis left of the trace
constexpr int DepthAxisX = 45;
// Room right of the trace for its depth labels, before a section excerpt.
constexpr int TraceLabelRoom = 50;
constexpr int RightMargin = 10;

QString fromStd(const std::string& text) {
    return QString::fromStdString(text);
}

[[noreturn]] void throwDivisionByZero() {
    throw QuarvelError(std::string(msg::DivisionByZero));
}

// The smallest multiple of step (> 0) that is at least value.
long long firstMultipleAtOrAbove(long long value, long long step) {
    long long quotient = value / step;
    if (quotient * step < value) {
        ++quotient;
    }
    return quotient * step;
}

__extension__ typedef __int128 Wide;

// Where an axis's values fall on the panels' rows (0 is their top edge): its
// first value on firstRow, its last on lastRow (another row), the rows between
// spread evenly and truncated toward firstRow. Only rows 0 to height are drawn.
struct AxisRows {
    long long firstRow = 0;
    long long lastRow = 0;
    int height = 0;
};

// Walks the multiples of the mark frequency from origin to end inclusive, each
// at the row AxisRows gives it, and hands each visible row that receives a
// tick to draw(y, value, labelled) once. Several ticks on one row (a mark
// frequency finer than a pixel) cost one call, and ticks beyond the panels
// are skipped without a walk, so the work is bounded by the visible rows, not
// by the ticks. labelStep is 0 when every tick is labelled, otherwise the
// spacing of labelled ticks (a multiple of the mark frequency).
template <class Draw>
void forEachTickRow(long long origin, long long end, int markFreq, long long labelStep,
                    const AxisRows& rows, Draw&& draw) {
    if (origin > end) {
        return;
    }
    if (markFreq == 0) {
        throwDivisionByZero();
    }
    const long long step = std::llabs(static_cast<long long>(markFreq));
    long long value = firstMultipleAtOrAbove(origin, step);
    if (value > end) {
        return;
    }
    const long long span = end - origin;
    if (span == 0) {
        throwDivisionByZero();
    }
    // A value's row is firstRow + direction * offset, where the offset
    // reach * (value - origin) / span grows with the value; the offsets that
    // stay on the panels are first..last.
    const Wide reach = rows.lastRow >= rows.firstRow ? Wide{rows.lastRow} - rows.firstRow
                                                     : Wide{rows.firstRow} - rows.lastRow;
    if (reach == 0) {
        throwDivisionByZero();
    }
    const int direction = rows.lastRow >= rows.firstRow ? 1 : -1;
    const Wide first =
        std::max<Wide>(0, direction > 0 ? -Wide{rows.firstRow} : Wide{rows.firstRow} - rows.height);
    const Wide last = std::min<Wide>(reach, direction > 0 ? Wide{rows.height} - rows.firstRow
                                                          : Wide{rows.firstRow});
    if (first > last) {
        return;
    }
    if (first > 0) { // the first value whose offset reaches the panels
        const Wide numerator = first * span;
        const long long from = origin + static_cast<long long>((numerator + reach - 1) / reach);
        if (from > end) {
            return;
        }
        value = std::max(value, firstMultipleAtOrAbove(from, step));
    }
    while (value <= end) {
        const Wide offset = reach * (value - origin) / span;
        if (offset > last) {
            return;
        }
        const long long rowEnd =
            std::min(end, origin + static_cast<long long>(((offset + 1) * span - 1) / reach));
        long long chosen = value;
        bool labelled = labelStep == 0;
        if (!labelled) {
            const long long labelValue = firstMultipleAtOrAbove(value, labelStep);
            if (labelValue <= rowEnd) {
                chosen = labelValue;
                labelled = true;
            }
        }
        draw(PlotTop + static_cast<int>(rows.firstRow + direction * static_cast<long long>(offset)),
             chosen, labelled);
        if (rowEnd >= end) {
            return;
        }
        value = firstMultipleAtOrAbove(rowEnd + 1, step);
    }
}

// The spacing of labelled ticks: multiples of both frequencies (0: all).
long long labelStepFor(int markFreq, int labelFreq) {
    if (markFreq == 0 || labelFreq == 0) {
        return 0;
    }
    return std::lcm(std::llabs(static_cast<long long>(markFreq)),
                    std::llabs(static_cast<long long>(labelFreq)));
}

void placePanel(Canvas& canvas, const FinalPlotPanel& panel, const char* caption, int x) {
    if (!panel.picture) {
        throw QuarvelError("Nothing has been drawn in the \"" + std::string(caption) +
                           "\" panel yet.");
    }
    canvas.draw(x, PlotTop, *panel.picture);
}

void verticalLine(Canvas& canvas, int x, int height) {
    canvas.moveTo(x, PlotTop);
    canvas.lineTo(x, PlotTop + height);
}

void tick(Canvas& canvas, int x, int y) {
    canvas.moveTo(x, y);
    canvas.lineTo(x - 5, y);
}

// The trace's time span as a whole number (thousandths of its time unit).
long long traceSpan(double minMs, double maxMs) {
    const double span = std::trunc(maxMs - minMs);
    if (!std::isfinite(span) || std::fabs(span) > 2147483647.0) {
        throw QuarvelError(std::string(msg::InvalidOperation));
    }
    return static_cast<long long>(span);
}

} // namespace

FinalPlot composeFinalPlot(const FinalPlotInputs& in) {
    const int height = in.coreHeight;
    if (height < 0) {
        throw QuarvelError("The core image has no height to plot.");
    }
    const struct {
        const FinalPlotPanel& panel;
        const char* caption;
        bool isTrace;
    } panels[] = {
        {in.photo, "Photo", false},       {in.synthetic, "Synth", false},
        {in.pwave, "P-wave vel.", false}, {in.density, "Density", false},
        {in.trace, "Trace", true},
    };
    // The section excerpt follows the last panel (and the trace's depth
    // labels); the plot widens where it would not fit.
    int end = FirstPanelX;
    for (const auto& entry : panels) {
        end += entry.panel.checked ? PanelPitch + (entry.isTrace ? TraceGap : 0) : 0;
    }
    const int sectionLeft = end + (in.trace.checked ? TraceLabelRoom : 0);
    int width = PlotWidth;
    if (in.section) {
        Canvas measure(1, 1);
        measure.resetAttributes();
        width = std::max(
            {width, sectionLeft + in.section->width() + RightMargin,
             sectionLeft + SectionLeft + measure.textWidth(in.sectionCaption) + RightMargin});
    }
    Canvas canvas(width, height + 100);
    if (canvas.image().isNull()) {
        throw std::bad_alloc();
    }
    canvas.resetAttributes();

    FinalPlot plot;
    int x = FirstPanelX;
    for (const auto& entry : panels) {
        if (!entry.panel.checked) {
            continue;
        }
        if (entry.isTrace) {
            x += TraceGap;
            plot.axisX = x;
        }
        placePanel(canvas, entry.panel, entry.caption, x);
        plot.panelX.push_back(x);
        x += PanelPitch;
    }

    // Depth axis in millimetres, Top on the row Y min and Bottom on the row
    // Y max, as the probe reads depths off the photograph: a core that does
    // not fill its photograph gets ticks that agree with its marks.
    const int top = numbers::parseIntegerPrefix(in.topText);
    const int bottom = numbers::parseIntegerPrefix(in.bottomText);
    const AxisRows depthRows{numbers::parseInteger(in.yminText), numbers::parseInteger(in.ymaxText),
                             height};
    const int markFreq = numbers::parseInteger(in.markFreqText);
    const int labelFreq = numbers::parseInteger(in.labelFreqText);
    const long long labelStep = labelStepFor(markFreq, labelFreq);
    // Each label is written before its tick and the axis line comes last: a
    // label's opaque box reaches close to the axis and would cover them.
    forEachTickRow(top, bottom, markFreq, labelStep, depthRows,
                   [&](int y, long long depth, bool labelled) {
                       FinalPlotTick t{y, {}, {}};
                       if (labelled) {
                           t.label = fromStd(numbers::formatInteger(depth));
                           canvas.textOut(20, y, t.label);
                       }
                       tick(canvas, DepthAxisX, y);
                       plot.depthTicks.push_back(t);
                   });
    verticalLine(canvas, DepthAxisX, height);

    // Time axis beside the trace, counted from the trace's earliest sample,
    // with the depth each time reaches at the mean velocity.
    if (plot.axisX) {
        const int axisX = *plot.axisX;
        const long long span = traceSpan(in.traceTimeMinMs, in.traceTimeMaxMs);
        canvas.textOut(axisX, 25, fromStd("mean vel.: " + numbers::formatF3(in.meanVelocity)));
        forEachTickRow(0, span, markFreq, labelStep, AxisRows{0, height, height},
                       [&](int y, long long j, bool labelled) {
                           FinalPlotTick t{y, {}, {}};
                           if (labelled) {
                               const double ms = static_cast<double>(j) / 1000.0;
                               const double depth = ms * (in.meanVelocity / 2.0 / 1000.0);
                               t.label = fromStd(numbers::formatF3(ms));
                               t.depthLabel = QStringLiteral("(") +
                                              fromStd(numbers::formatF3(depth)) +
                                              QStringLiteral(")");
                               canvas.textOut(axisX - 35, y, t.label);
                               canvas.textOut(axisX + 155, y, t.depthLabel);
                           }
                           tick(canvas, axisX - 5, y);
                           plot.timeTicks.push_back(t);
                       });
        verticalLine(canvas, axisX - 5, height);
    }

    if (in.section) {
        canvas.draw(sectionLeft, PlotTop - SectionTop, *in.section);
        plot.sectionX = sectionLeft + SectionLeft;
        canvas.textOut(*plot.sectionX, 25, in.sectionCaption);
    }

    if (in.withTitle) {
        QFont font = canvas.font();
        font.setPointSize(15);
        canvas.setFont(font);
        canvas.textOut(50, 5, "Core: " + QFileInfo(fromStd(in.imageFileName)).fileName());
    }
    plot.image = canvas.image();
    return plot;
}

} // namespace quarvel
