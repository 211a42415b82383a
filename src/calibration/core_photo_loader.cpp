#include "calibration/core_photo_loader.h"

#include "formats/numbers.h"
#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <algorithm>
#include <limits>

namespace quarvel {

namespace {

[[noreturn]] void notValid(std::string_view reason) {
    throw QuarvelError(std::string(msg::BitmapNotValid) + ": " + std::string(reason) + ".",
                       ErrorKind::InvalidData);
}

constexpr std::string_view RowsCutShort = "its pixel data are cut short";
constexpr std::string_view RunsCutShort = "its run-length data end before the end-of-bitmap mark";
constexpr std::string_view BeyondPalette = "a pixel uses a colour beyond its palette";
constexpr std::string_view RunsLeaveGaps =
    "its run-length data leave pixels without a colour (a skip, or a row ended early)";
constexpr std::string_view RunsBeyondRow = "a run of its run-length data goes beyond its row";

quint32 littleEndian(const QByteArray& bytes, int offset, int size) {
    quint32 value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<quint8>(bytes[offset + i]);
    }
    return value;
}

// A run-length encoded bitmap is a stream of commands that must end with the
// end-of-bitmap marker; Qt stops quietly where the data stop (leaving the
// rest black) and takes any index, palette or not. Indices are checked
// against the palette the header declares. Every pixel must be given its
// colour by a run, row by row: a skip (delta), a row or bitmap ended early
// or a run beyond its row leaves pixels the file never coloured, and a file
// of a kilobyte could make a photograph of 32 000 rows of nothing.
void checkRunLength(const QByteArray& bytes, qint64 start, int bits, quint32 paletteSize,
                    const QSize& size) {
    const auto byteAt = [&](qint64 at) {
        if (at >= bytes.size()) {
            notValid(RunsCutShort);
        }
        return static_cast<quint8>(bytes[at]);
    };
    const auto checkIndex = [&](quint32 index) {
        if (index >= paletteSize) {
            notValid(BeyondPalette);
        }
    };
    // The indices one byte holds: two nibbles in RLE4, whole in RLE8; a run
    // of one pixel uses only the high nibble.
    const auto checkByte = [&](quint8 value, qint64 pixels) {
        if (bits == 8) {
            checkIndex(value);
            return;
        }
        checkIndex(value >> 4);
        if (pixels > 1) {
            checkIndex(value & 0x0f);
        }
    };
    qint64 column = 0;
    qint64 row = 0;
    const auto place = [&](qint64 pixels) {
        if (row >= size.height() || column + pixels > size.width()) {
            notValid(RunsBeyondRow);
        }
        column += pixels;
    };
    const auto rowDone = [&] {
        if (column != size.width()) {
            notValid(RunsLeaveGaps);
        }
        column = 0;
        ++row;
    };
    qint64 at = start;
    for (;;) {
        const quint8 count = byteAt(at);
        const quint8 value = byteAt(at + 1);
        at += 2;
        if (count > 0) {
            checkByte(value, count);
            place(count);
            continue;
        }
        if (value == 0) { // end of line
            rowDone();
        } else if (value == 1) { // end of bitmap, after the last row or at its end
            if (column > 0) {
                rowDone();
            }
            if (row != size.height()) {
                notValid(RunsLeaveGaps);
            }
            return;
        } else if (value == 2) { // delta: moves on without colouring
            notValid(RunsLeaveGaps);
        } else { // absolute: value pixels, padded to a word
            const qint64 dataBytes = bits == 8 ? value : (value + 1) / 2;
            for (qint64 i = 0; i < dataBytes; ++i) {
                checkByte(byteAt(at + i), bits == 8 ? 1 : value - 2 * i);
            }
            place(value);
            at += (dataBytes + 1) / 2 * 2;
        }
    }
}

// Qt reads a bitmap whose pixel rows are cut short without complaint and
// leaves the missing rows black, so the stored rows are counted here. Only
// uncompressed bitmaps have a fixed size; run-length encoded ones declare
// the size of their data and are walked to their end marker.
void checkComplete(const QByteArray& bytes, const QSize& size) {
    const qint64 pixelOffset = littleEndian(bytes, 10, 4);
    const quint32 infoSize = littleEndian(bytes, 14, 4);
    qint64 needed = 0;
    if (infoSize == 12) { // OS/2 core header: no compression
        const qint64 bits = littleEndian(bytes, 24, 2);
        needed = pixelOffset + (size.width() * bits + 31) / 32 * 4 * size.height();
    } else {
        const int bits = static_cast<int>(littleEndian(bytes, 28, 2));
        const quint32 compression = littleEndian(bytes, 30, 4);
        const qint64 dataSize = littleEndian(bytes, 34, 4);
        const bool runLength = (compression == 1 && bits == 8) || (compression == 2 && bits == 4);
        if (runLength) {
            const quint32 largest = 1U << bits;
            const quint32 declared = littleEndian(bytes, 46, 4);
            checkRunLength(bytes, pixelOffset, bits,
                           declared == 0 ? largest : std::min(declared, largest), size);
        }
        needed = runLength
                     ? pixelOffset + dataSize
                     : pixelOffset + (size.width() * qint64{bits} + 31) / 32 * 4 * size.height();
    }
    if (bytes.size() < needed) {
        notValid(RowsCutShort);
    }
}

// The file header and the information header must be whole, and the pixel
// data must start within the file, before the decoder is given the bytes: it
// seeks to where the headers point, and a seek beyond the data only warns.
void checkHeaders(const QByteArray& bytes) {
    constexpr int FileHeader = 14;
    if (!bytes.startsWith("BM")) {
        notValid("it is not a Windows bitmap (it does not start with \"BM\")");
    }
    if (bytes.size() < FileHeader + 4) {
        notValid("its header is cut short");
    }
    const qint64 infoSize = littleEndian(bytes, 14, 4);
    if (infoSize != 12 && infoSize < 40) {
        notValid("its header is of an unknown kind");
    }
    if (bytes.size() < FileHeader + infoSize) {
        notValid("its header is cut short");
    }
    if (littleEndian(bytes, 10, 4) > static_cast<quint32>(bytes.size())) {
        notValid(RowsCutShort);
    }
}

} // namespace

QImage decodeCorePhotograph(const QByteArray& bytes) {
    checkHeaders(bytes);
    QByteArray data = bytes;
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "bmp");
    reader.setAutoDetectImageFormat(false);
    // A negative height in the header means rows stored top-down; the
    // reader reports the header's value, the image comes out upright.
    QSize size = reader.size();
    if (size.height() < 0 && size.height() != std::numeric_limits<int>::min()) {
        size.setHeight(-size.height());
    }
    if (!size.isValid() || size.isEmpty()) {
        notValid("its header gives no size");
    }
    const long long pixels = static_cast<long long>(size.width()) * size.height();
    if (size.height() > MaxPhotoHeight || pixels > MaxPhotoPixels) {
        throw QuarvelError(
            formatMessage(msg::BitmapTooLarge, {numbers::formatInteger(size.width()),
                                                numbers::formatInteger(size.height()),
                                                numbers::formatInteger(MaxPhotoHeight),
                                                numbers::formatInteger(MaxPhotoPixels)}),
            ErrorKind::Capacity);
    }
    checkComplete(bytes, size);
    QImage image = reader.read();
    if (image.isNull() || image.size() != size) {
        notValid("it could not be decoded");
    }
    return image;
}

QImage loadCorePhotograph(const QString& path) {
    const std::string name = path.toStdString();
    requireRegularFile(name);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        throwCannotOpen(name, file.errorString().toStdString() + ".",
                        file.exists() ? ErrorKind::ReadFailed : ErrorKind::NotFound);
    }
    if (file.size() > MaxPhotoFileBytes) {
        throwCannotOpen(name,
                        "The file is too large (" + numbers::formatInteger(file.size()) +
                            " bytes; at most " + numbers::formatInteger(MaxPhotoFileBytes) +
                            " are read).",
                        ErrorKind::Capacity);
    }
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        throwCannotOpen(name, file.errorString().toStdString() + ".");
    }
    try {
        return decodeCorePhotograph(bytes);
    } catch (const QuarvelError& e) {
        // The message names the file: a session reports several at once.
        throwCannotOpen(name, e.what(), e.kind());
    }
}

} // namespace quarvel
