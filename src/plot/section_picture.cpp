#include "plot/section_picture.h"

#include "formats/numbers.h"
#include "platform/canvas.h"

#include <algorithm>
#include <cmath>

namespace quarvel {
namespace {

// Ticks at least this far apart, in pixels.
constexpr int TimeTickSpacing = 40;
constexpr int AcrossTickSpacing = 90;
constexpr int TickLength = 4;

QString decimalText(double value, double step) {
    const int decimals = step >= 1 ? 0 : static_cast<int>(std::ceil(-std::log10(step)));
    return QString::fromStdString(numbers::formatFixed(value, decimals));
}

// The core's mark in the margin above the section: a line over the columns
// of the traces nearest the core, a triangle pointing down at their middle.
void drawCoreMark(Canvas& canvas, const SegySection& section, const SectionStyle& style) {
    int first = -1;
    int last = -1;
    for (int c = 0; c < section.width; ++c) {
        const int trace = section.columns[static_cast<std::size_t>(c)].trace;
        if (trace >= style.coreFirst && trace <= style.coreLast) {
            first = first < 0 ? c : first;
            last = c;
        }
    }
    if (first < 0) {
        return;
    }
    canvas.setPenColor(SectionCoreMark);
    const int y = SectionTop - 2;
    canvas.moveTo(SectionLeft + first, y);
    canvas.lineTo(SectionLeft + last + 1, y);
    const int middle = SectionLeft + (first + last) / 2;
    for (int row = 0; row < SectionTop - 2; ++row) {
        const int half = row / 2;
        canvas.moveTo(middle - half, y - row);
        canvas.lineTo(middle + half + 1, y - row);
    }
    canvas.setPenColor(0xff000000);
}

} // namespace

double niceStep(double minimum) {
    if (!(minimum > 0) || !std::isfinite(minimum)) {
        return 1;
    }
    const double power = std::pow(10.0, std::floor(std::log10(minimum)));
    for (const double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * power >= minimum) {
            return factor * power;
        }
    }
    return 10 * power;
}

int sectionColumnAt(const SegySection& section, int x) {
    const int column = x - SectionLeft;
    return column >= 0 && column < section.width ? column : -1;
}

QImage renderSectionPicture(const SegySection& section, const SectionStyle& style,
                            SectionAcross across, const QFont& font) {
    const int width = SectionLeft + section.width + SectionRight;
    const int height = SectionTop + section.height + SectionBottom;
    Canvas canvas(width, height);
    canvas.setFont(font);
    const std::vector<std::uint32_t> pixels = sectionPixels(section, style);
    QImage raster(section.width, section.height, QImage::Format_RGB32);
    for (int row = 0; row < section.height; ++row) {
        std::copy_n(pixels.data() + static_cast<std::size_t>(row) * section.width, section.width,
                    reinterpret_cast<std::uint32_t*>(raster.scanLine(row)));
    }
    canvas.draw(SectionLeft, SectionTop, raster);
    canvas.setBrushColor(0xffffffff);
    const int bottom = SectionTop + section.height;
    const int right = SectionLeft + section.width;
    // The frame lies just outside the section.
    canvas.moveTo(SectionLeft - 1, SectionTop - 1);
    canvas.lineTo(right, SectionTop - 1);
    canvas.lineTo(right, bottom);
    canvas.lineTo(SectionLeft - 1, bottom);
    canvas.lineTo(SectionLeft - 1, SectionTop - 1);
    drawCoreMark(canvas, section, style);

    const int textHeight = canvas.textHeight(QStringLiteral("0"));
    const double span = section.lastTimeMs - section.firstTimeMs;
    if (section.height > 0 && span > 0) {
        const double msPerRow = span / section.height;
        const double step = niceStep(TimeTickSpacing * msPerRow);
        for (double t = std::ceil(section.firstTimeMs / step) * step; t <= section.lastTimeMs;
             t += step) {
            const int y =
                SectionTop + static_cast<int>(std::lround((t - section.firstTimeMs) / msPerRow));
            canvas.moveTo(SectionLeft - 1 - TickLength, y);
            canvas.lineTo(SectionLeft - 1, y);
            const QString label = decimalText(t, step);
            canvas.textOut(SectionLeft - 3 - TickLength - canvas.textWidth(label),
                           std::max(0, y - textHeight / 2), label);
        }
        const QString unit =
            section.flattened ? QStringLiteral("ms below sea floor") : QStringLiteral("ms");
        canvas.textOut(2, height - textHeight - 2, unit);
    }
    const bool distance = across == SectionAcross::Distance;
    const auto valueAt = [&](int column) {
        const SectionColumn& c = section.columns[static_cast<std::size_t>(column)];
        return distance ? c.distance : static_cast<double>(c.trace + 1);
    };
    if (section.width > 0) {
        // Ticks at round values, each at the first column reaching it.
        const double first = valueAt(0);
        const double last = valueAt(section.width - 1);
        const double perColumn = section.width > 1 ? (last - first) / (section.width - 1) : 1;
        const double step = niceStep(std::max(perColumn * AcrossTickSpacing, distance ? 0.01 : 1));
        int column = 0;
        for (double v = std::ceil(first / step) * step; v <= last; v += step) {
            while (column < section.width && valueAt(column) < v) {
                ++column;
            }
            const int x = SectionLeft + column;
            canvas.moveTo(x, bottom + 1);
            canvas.lineTo(x, bottom + 1 + TickLength);
            const QString label = decimalText(v, step);
            canvas.textOut(
                std::clamp(x - canvas.textWidth(label) / 2, 0, width - canvas.textWidth(label)),
                bottom + 2 + TickLength, label);
        }
        const QString name =
            distance ? QStringLiteral("distance along the line (m)") : QStringLiteral("trace");
        canvas.textOut(right - canvas.textWidth(name), height - textHeight - 2, name);
    }
    return canvas.image();
}

void drawSectionInset(QImage& picture, const SegySection& section, int chosenTrace,
                      const SeriesData& synthetic, std::optional<double> zeroMs) {
    int first = -1;
    int last = -1;
    for (int c = 0; c < section.width; ++c) {
        if (section.columns[static_cast<std::size_t>(c)].trace == chosenTrace) {
            first = first < 0 ? c : first;
            last = c;
        }
    }
    const double span = section.lastTimeMs - section.firstTimeMs;
    const SectionColumn& column = section.columns[static_cast<std::size_t>(std::max(first, 0))];
    if (first < 0 || synthetic.count() < 2 || span <= 0 || (!zeroMs && column.seaFloorRow < 0)) {
        return;
    }
    double largest = 0;
    for (const double a : synthetic.amplitude) {
        largest = std::max(largest, std::fabs(a));
    }
    const double rowsPerMs = section.height / span;
    const int centre = SectionLeft + (first + last) / 2;
    // The listing's time 0 on the section, which a flattened section has
    // moved up with the trace's sea floor.
    const double zeroOnSectionMs =
        zeroMs ? *zeroMs - column.shiftMs - section.firstTimeMs : column.seaFloorRow / rowsPerMs;
    const auto rowOf = [&](double seconds) {
        return SectionTop +
               static_cast<int>(std::lround((zeroOnSectionMs + seconds * 1000) * rowsPerMs));
    };
    // A tie may put the synthetic's first samples above the listing's start.
    const int top = std::max(SectionTop, std::min(rowOf(0), rowOf(synthetic.time.front())));
    const int bottom = std::min(SectionTop + section.height, rowOf(synthetic.time.back()) + 1);
    if (top >= bottom) {
        return;
    }
    Canvas canvas(picture);
    canvas.rectangle(centre - SectionInsetHalfWidth, top, centre + SectionInsetHalfWidth + 1,
                     bottom);
    const auto point = [&](std::size_t i) {
        const double scaled = largest > 0 ? synthetic.amplitude[i] / largest : 0;
        return QPoint(centre + static_cast<int>(std::lround(scaled * (SectionInsetHalfWidth - 2))),
                      rowOf(synthetic.time[i]));
    };
    canvas.setPenColor(0xff0000c0);
    bool drawing = false;
    for (std::size_t i = 0; i < synthetic.time.size(); ++i) {
        const QPoint p = point(i);
        if (p.y() >= bottom) {
            break;
        }
        if (p.y() < top) {
            continue;
        }
        if (drawing) {
            canvas.lineTo(p.x(), p.y());
        } else {
            canvas.moveTo(p.x(), p.y());
        }
        drawing = true;
    }
    picture = canvas.image();
}

} // namespace quarvel
