#include "calibration/core_photo_loader.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace quarvel {

namespace {

[[noreturn]] void notValid() {
    throw QuarvelError(std::string(msg::BitmapNotValid));
}

quint32 littleEndian(const QByteArray& bytes, int offset, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<quint8>(bytes[offset + i]);
    }
    return value;
}

// Qt reads a bitmap whose pixel rows are cut short without complaint and
// leaves the missing rows black, so the stored rows are counted here. Only
// uncompressed bitmaps have a fixed size; run-length encoded ones declare
// the size of their data.
void checkComplete(const QByteArray& bytes, const QSize& size) {
    constexpr int FileHeader = 14;
    if (bytes.size() < FileHeader + 16) {
        notValid();
    }
    const qint64 pixelOffset = littleEndian(bytes, 10, 4);
    const quint32 infoSize = littleEndian(bytes, 14, 4);
    qint64 needed = 0;
    if (infoSize == 12) { // OS/2 core header: no compression
        const qint64 bits = littleEndian(bytes, 24, 2);
        needed = pixelOffset + (size.width() * bits + 31) / 32 * 4 * size.height();
    } else {
        if (bytes.size() < FileHeader + 24) {
            notValid();
        }
        const qint64 bits = littleEndian(bytes, 28, 2);
        const quint32 compression = littleEndian(bytes, 30, 4);
        const qint64 dataSize = littleEndian(bytes, 34, 4);
        const bool runLength = compression == 1 || compression == 2;
        needed = runLength ? pixelOffset + dataSize
                           : pixelOffset + (size.width() * bits + 31) / 32 * 4 * size.height();
    }
    if (bytes.size() < needed) {
        notValid();
    }
}

} // namespace

QImage decodeCorePhotograph(const QByteArray& bytes) {
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    const QSize size = reader.size();
    if (!size.isValid() || size.isEmpty()) {
        notValid();
    }
    const long long pixels = static_cast<long long>(size.width()) * size.height();
    if (size.height() > MaxPhotoHeight || pixels > MaxPhotoPixels) {
        throw QuarvelError(formatMessage(
            msg::BitmapTooLarge,
            {numbers::formatInteger(size.width()), numbers::formatInteger(size.height()),
             numbers::formatInteger(MaxPhotoHeight), numbers::formatInteger(MaxPhotoPixels)}));
    }
    checkComplete(bytes, size);
    QImage image = reader.read();
    if (image.isNull() || image.size() != size) {
        notValid();
    }
    return image;
}

QImage loadCorePhotograph(const QString& path) {
    const std::string name = path.toStdString();
    if (QFileInfo(path).isDir()) {
        throwCannotOpen(name, "It is a folder, not a file.");
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throwCannotOpen(name, file.errorString().toStdString() + ".");
    }
    if (file.size() > MaxPhotoFileBytes) {
        throwCannotOpen(name, "The file is too large (" + numbers::formatInteger(file.size()) +
                                  " bytes; at most " + numbers::formatInteger(MaxPhotoFileBytes) +
                                  " are read).");
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throwCannotOpen(name, file.errorString().toStdString() + ".");
    }
    return decodeCorePhotograph(bytes);
}

} // namespace quarvel
