// Core photographs: any bytes either decode as a Windows bitmap within the
// photograph's limits, or are refused with the program's message, never
// allocating beyond those limits.
#include "calibration/core_photo_loader.h"
#include "formats/quarvel_error.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QImage>
#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt finds its image readers through the application.
    static QGuiApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes =
        QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    try {
        const QImage photo = quarvel::decodeCorePhotograph(bytes);
        if (photo.isNull() || photo.height() > quarvel::MaxPhotoHeight ||
            static_cast<long long>(photo.width()) * photo.height() > quarvel::MaxPhotoPixels) {
            __builtin_trap();
        }
    } catch (const quarvel::QuarvelError&) {
        // Not a bitmap, or one too large: refused with a message.
    }
    return 0;
}
