#include "platform/canvas.h"

#include <QFontMetrics>
#include <QPainter>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace quarvel {
namespace {

// Products of two coordinate differences need up to 65 bits: a line may run
// between points anywhere in the int range.
__extension__ typedef __int128 Wide;

constexpr QRgb Opaque = 0xff000000;

QImage whiteImage(int width, int height) {
    QImage image(std::max(0, width), std::max(0, height), QImage::Format_RGB32);
    image.fill(0xffffffff);
    return image;
}

// Text is drawn without anti-aliasing: panels are black on white and their
// pixels must not depend on the machine's rendering settings.
QFont drawingFont(const QFont& font) {
    QFont result(font);
    result.setStyleStrategy(QFont::NoAntialias);
    return result;
}

// Fills the pixels of left..right x top..bottom (inclusive) that lie on the
// image.
void fillClipped(QImage& image, int left, int top, int right, int bottom, QRgb color) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, image.width() - 1);
    bottom = std::min(bottom, image.height() - 1);
    for (int y = top; y <= bottom; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = left; x <= right; ++x) {
            line[x] = color | Opaque;
        }
    }
}

} // namespace

Canvas::Canvas(int width, int height) : image_(whiteImage(width, height)), font_(defaultFont()) {}

Canvas::Canvas(const QImage& image)
    : image_(image.convertToFormat(QImage::Format_RGB32)), font_(defaultFont()) {}

void Canvas::resetAttributes() {
    pen_ = QPoint(0, 0);
    penColor_ = 0xff000000;
    penMode_ = PenMode::Copy;
    brushColor_ = 0xffffffff;
    font_ = defaultFont();
}

QFont layoutFont() {
    static const bool substituted = [] {
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"),
                                  QStringLiteral("Liberation Sans"));
        return true;
    }();
    Q_UNUSED(substituted);
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPixelSize(11);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// A fixed family at a fixed pixel size, so pictures come out the same on
// every machine.
QFont Canvas::defaultFont() {
    return layoutFont();
}

void Canvas::plot(int x, int y) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
        return;
    }
    auto* line = reinterpret_cast<QRgb*>(image_.scanLine(y));
    if (penMode_ == PenMode::Copy) {
        line[x] = penColor_ | Opaque;
    } else {
        line[x] = ~(penColor_ ^ line[x]) | Opaque;
    }
}

// Bresenham's line in closed form: at step k along the major axis the minor
// offset is round(k * dMinor / dMajor), ties away from the start. Only the
// steps whose major coordinate lies on the surface are visited, so a line
// between far-away points costs no more than one across the surface.
void Canvas::lineTo(int x, int y) {
    const std::int64_t x0 = pen_.x();
    const std::int64_t y0 = pen_.y();
    pen_ = QPoint(x, y);
    const std::int64_t dx = std::int64_t{x} - x0;
    const std::int64_t dy = std::int64_t{y} - y0;
    const std::int64_t adx = std::llabs(dx);
    const std::int64_t ady = std::llabs(dy);
    const bool xMajor = adx >= ady;
    const std::int64_t dMajor = xMajor ? adx : ady;
    if (dMajor == 0) {
        return;
    }
    const std::int64_t dMinor = xMajor ? ady : adx;
    const std::int64_t major0 = xMajor ? x0 : y0;
    const std::int64_t minor0 = xMajor ? y0 : x0;
    const std::int64_t majorStep = (xMajor ? dx : dy) > 0 ? 1 : -1;
    const std::int64_t minorStep = (xMajor ? dy : dx) > 0 ? 1 : -1;
    const std::int64_t majorSize = xMajor ? image_.width() : image_.height();
    const std::int64_t minorSize = xMajor ? image_.height() : image_.width();

    // Steps k in [0, dMajor) with major0 + majorStep * k in [0, majorSize).
    std::int64_t kFirst = 0;
    std::int64_t kLast = dMajor - 1;
    if (majorStep > 0) {
        kFirst = std::max(kFirst, -major0);
        kLast = std::min(kLast, majorSize - 1 - major0);
    } else {
        kFirst = std::max(kFirst, major0 - (majorSize - 1));
        kLast = std::min(kLast, major0);
    }
    if (kFirst > kLast) {
        return;
    }

    const std::int64_t twiceMajor = 2 * dMajor;
    const Wide numerator = Wide{2} * kFirst * dMinor + dMajor;
    std::int64_t offset = static_cast<std::int64_t>(numerator / twiceMajor);
    std::int64_t remainder = static_cast<std::int64_t>(numerator % twiceMajor);
    for (std::int64_t k = kFirst; k <= kLast; ++k) {
        const std::int64_t major = major0 + majorStep * k;
        const std::int64_t minor = minor0 + minorStep * offset;
        if (minor >= 0 && minor < minorSize) {
            if (xMajor) {
                plot(static_cast<int>(major), static_cast<int>(minor));
            } else {
                plot(static_cast<int>(minor), static_cast<int>(major));
            }
        }
        remainder += 2 * dMinor;
        if (remainder >= twiceMajor) {
            remainder -= twiceMajor;
            ++offset;
        }
    }
}

void Canvas::rectangle(int x1, int y1, int x2, int y2) {
    if (x1 > x2) {
        std::swap(x1, x2);
    }
    if (y1 > y2) {
        std::swap(y1, y2);
    }
    if (x1 == x2 || y1 == y2) {
        return;
    }
    fillClipped(image_, x1, y1, x2 - 1, y2 - 1, brushColor_);
    // Each outline pixel is set once, so a not-XOR frame drawn twice
    // restores the picture, corners included. Only visible pixels are
    // visited.
    const int right = x2 - 1;
    const int bottom = y2 - 1;
    for (int x = std::max(x1, 0); x <= std::min(right, image_.width() - 1); ++x) {
        plot(x, y1);
        if (bottom != y1) {
            plot(x, bottom);
        }
    }
    for (int y = std::max(y1 + 1, 0); y <= std::min(bottom - 1, image_.height() - 1); ++y) {
        plot(x1, y);
        if (right != x1) {
            plot(right, y);
        }
    }
}

void Canvas::fillRect(const QRect& rect) {
    const QRect r = rect.normalized();
    fillClipped(image_, r.left(), r.top(), r.right(), r.bottom(), brushColor_);
}

void Canvas::textOut(int x, int y, const QString& text) {
    if (text.isEmpty() || image_.isNull()) {
        return;
    }
    const QFont font = drawingFont(font_);
    const QFontMetrics metrics(font, &image_);
    fillRect(QRect(x, y, metrics.horizontalAdvance(text), metrics.height()));
    QPainter painter(&image_);
    painter.setFont(font);
    painter.setPen(QColor(Qt::black));
    painter.drawText(QPoint(x, y + metrics.ascent()), text);
}

int Canvas::textWidth(const QString& text) const {
    return QFontMetrics(drawingFont(font_), &image_).horizontalAdvance(text);
}

int Canvas::textHeight(const QString& text) const {
    return text.isEmpty() ? 0 : QFontMetrics(drawingFont(font_), &image_).height();
}

QRgb Canvas::pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
        return 0;
    }
    return reinterpret_cast<const QRgb*>(image_.constScanLine(y))[x];
}

void Canvas::setPixel(int x, int y, QRgb color) {
    if (x < 0 || y < 0 || x >= image_.width() || y >= image_.height()) {
        return;
    }
    reinterpret_cast<QRgb*>(image_.scanLine(y))[x] = color | Opaque;
}

void Canvas::draw(int x, int y, const QImage& source) {
    copyRect(QRect(QPoint(x, y), source.size()), source, source.rect());
}

void Canvas::copyRect(const QRect& destination, const QImage& source, const QRect& sourceRect) {
    if (source.isNull() || image_.isNull() || destination.isEmpty() || sourceRect.isEmpty()) {
        return;
    }
    QPainter painter(&image_);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.drawImage(destination, source.convertToFormat(QImage::Format_RGB32), sourceRect);
}

void Canvas::resize(int width, int height) {
    image_ = whiteImage(width, height);
}

} // namespace quarvel
