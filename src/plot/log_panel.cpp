#include "plot/log_panel.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "platform/canvas.h"
#include "plot/pixel_coordinate.h"

#include <string>

namespace quarvel {

QImage renderLogPanel(const LogPanelInput& input, int width, int height, const QFont& font) {
    if (width <= 0 || height <= 0) {
        throw QuarvelError(std::string(msg::DivisionByZero));
    }
    const bool density = input.kind == LogPanelKind::Density;
    // In double, so bounds near the int limits cannot overflow the difference.
    const double sx =
        (static_cast<double>(input.maxBound) - static_cast<double>(input.minBound)) / width;
    const double sy = (input.bottomDepth - input.topDepth) / height;

    Canvas canvas(width, height);
    canvas.setBrushColor(0xffffffff);
    canvas.rectangle(0, 0, width, height);
    canvas.moveTo(0, 0);
    if (sx != 0 && sy != 0) {
        for (const LogRecord& record : input.records) {
            const double value = density ? record.Density * 1000 : record.Velocity;
            canvas.lineTo(truncToPixel((value - input.minBound) / sx),
                          truncToPixel(record.Depth / sy));
        }
    }

    canvas.setFont(font);
    canvas.textOut(5, 15, density ? QStringLiteral("Density") : QStringLiteral("PWave-Vel"));
    canvas.textOut(1, 1, QString::fromStdString(numbers::formatInteger(input.minBound)));
    const QString maxText = QString::fromStdString(numbers::formatInteger(input.maxBound));
    canvas.textOut(width - canvas.textWidth(maxText), 1, maxText);
    return canvas.image();
}

} // namespace quarvel
