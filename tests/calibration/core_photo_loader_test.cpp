#include "calibration/core_photo_loader.h"
#include "formats/quarvel_error.h"
#include "support/error_kind.h"
#include "support/temp_work_dir.h"

#include <QBuffer>
#include <QImage>
#include <algorithm>
#include <gtest/gtest.h>
#include <vector>

namespace quarvel {
namespace {

QByteArray bitmapBytes(int width, int height, QImage::Format format = QImage::Format_RGB32) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(0xff336699);
    image = image.convertToFormat(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "BMP"));
    return bytes;
}

std::string decodeError(const QByteArray& bytes) {
    try {
        decodeCorePhotograph(bytes);
    } catch (const QuarvelError& e) {
        return e.what();
    }
    return "loaded";
}

// A bitmap header that claims the given size over no pixel data.
QByteArray claimedSize(int width, int height) {
    QByteArray bytes = bitmapBytes(1, 1).left(54);
    for (int i = 0; i < 4; ++i) {
        bytes[18 + i] = static_cast<char>((width >> (8 * i)) & 0xff);
        bytes[22 + i] = static_cast<char>((height >> (8 * i)) & 0xff);
    }
    return bytes;
}

TEST(CorePhotoLoader, ReadsWindowsBitmaps) {
    for (QImage::Format format : {QImage::Format_RGB32, QImage::Format_RGB888,
                                  QImage::Format_Indexed8, QImage::Format_Mono}) {
        SCOPED_TRACE(static_cast<int>(format));
        const QImage image = decodeCorePhotograph(bitmapBytes(160, 37, format));
        EXPECT_EQ(image.size(), QSize(160, 37));
    }
    EXPECT_EQ(decodeCorePhotograph(bitmapBytes(3, 2)).pixel(2, 1), 0xff336699u);
}

TEST(CorePhotoLoader, RefusesWhatIsNotACompleteBitmap) {
    const QByteArray whole = bitmapBytes(50, 300, QImage::Format_RGB888);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    QImage(4, 4, QImage::Format_RGB32).save(&buffer, "PNG");
    QByteArray garbage(5000, '\x7f');
    garbage.replace(0, 2, "BM");
    // Headers that point beyond the file: the decoder would seek there.
    QByteArray farPixels = whole;
    farPixels.replace(10, 4, QByteArray("\xff\xff\xff\x7f", 4));
    QByteArray hugeHeader = whole;
    hugeHeader.replace(14, 4, QByteArray("\xff\xff\xff\x00", 4));
    const std::string cutShort = "its pixel data are cut short";
    const struct {
        const char* name;
        QByteArray bytes;
        std::string reason;
    } cases[] = {
        {"empty", QByteArray(), "it is not a Windows bitmap (it does not start with \"BM\")"},
        {"header cut short", whole.left(30), "its header is cut short"},
        {"no pixel rows", whole.left(54), cutShort},
        {"half the rows", whole.left(whole.size() / 2), cutShort},
        {"one byte missing", whole.left(whole.size() - 1), cutShort},
        {"a PNG", png, "it is not a Windows bitmap (it does not start with \"BM\")"},
        {"text", QByteArray("0\r\n1000\r\n"),
         "it is not a Windows bitmap (it does not start with \"BM\")"},
        {"BM and garbage", garbage, "its header is cut short"},
        {"pixels beyond the file", farPixels, cutShort},
        {"header beyond the file", hugeHeader, "its header is cut short"},
    };
    static std::vector<QString> warnings;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            warnings.push_back(text);
        });
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeError(c.bytes), "Bitmap image is not valid: " + c.reason + ".");
    }
    qInstallMessageHandler(previous);
    EXPECT_TRUE(warnings.empty()) << warnings.front().toStdString();
}

TEST(CorePhotoLoader, RefusesHugeBitmapsBeforeAllocating) {
    EXPECT_EQ(decodeError(claimedSize(100, 40000)),
              "Bitmap image is too large (100 x 40000 pixels; at most 32000 rows and 33554432 "
              "pixels in all)");
    EXPECT_NE(decodeError(claimedSize(30000, 30000)), "loaded");
    EXPECT_NE(decodeError(claimedSize(0x7fffffff, 0x7fffffff)), "loaded");
}

TEST(CorePhotoLoader, MissingFileOrFolderIsReportedByName) {
    testing::TempWorkDir dir;
    const QString missing = QString::fromStdString((dir.path() / "none.bmp").string());
    EXPECT_EQ(testing::thrownKind([&] { loadCorePhotograph(missing); }), ErrorKind::NotFound);
    EXPECT_EQ(testing::thrownKind(
                  [&] { loadCorePhotograph(QString::fromStdString(dir.path().string())); }),
              ErrorKind::ReadFailed);
}

// A picture whose rows differ, so that a flipped image shows.
QByteArray stripedBytes(QImage::Format format) {
    QImage image(7, 5, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(40 * y, 30 * x, 200 - 40 * y));
    image = image.convertToFormat(format);
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    EXPECT_TRUE(image.save(&buffer, "BMP"));
    return bytes;
}

void putLittleEndian(QByteArray& bytes, int offset, quint32 value, int size = 4) {
    for (int i = 0; i < size; ++i)
        bytes[offset + i] = static_cast<char>((value >> (8 * i)) & 0xff);
}

quint32 getLittleEndian(const QByteArray& bytes, int offset) {
    quint32 value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | static_cast<quint8>(bytes[offset + i]);
    return value;
}

// The same bitmap with its rows stored top-down, as its negative height says.
QByteArray topDown(const QByteArray& bottomUp) {
    const int offset = static_cast<int>(getLittleEndian(bottomUp, 10));
    const int width = static_cast<int>(getLittleEndian(bottomUp, 18));
    const int height = static_cast<int>(getLittleEndian(bottomUp, 22));
    const int bits = static_cast<int>(getLittleEndian(bottomUp, 28) & 0xffff);
    const int stride = (width * bits + 31) / 32 * 4;
    QByteArray result = bottomUp;
    putLittleEndian(result, 22, static_cast<quint32>(-height));
    for (int row = 0; row < height; ++row)
        result.replace(offset + row * stride, stride,
                       bottomUp.mid(offset + (height - 1 - row) * stride, stride));
    return result;
}

TEST(CorePhotoLoader, ReadsTopDownBitmapsLikeTheirBottomUpTwins) {
    for (QImage::Format format :
         {QImage::Format_RGB32, QImage::Format_RGB888, QImage::Format_Indexed8}) {
        SCOPED_TRACE(static_cast<int>(format));
        const QByteArray bottomUp = stripedBytes(format);
        const QImage expected = decodeCorePhotograph(bottomUp);
        const QImage image = decodeCorePhotograph(topDown(bottomUp));
        EXPECT_EQ(image.size(), QSize(7, 5));
        EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32),
                  expected.convertToFormat(QImage::Format_RGB32));
        EXPECT_EQ(decodeError(topDown(bottomUp).chopped(1)),
                  "Bitmap image is not valid: its pixel data are cut short.");
    }
    EXPECT_EQ(decodeError(claimedSize(100, -40000)),
              "Bitmap image is too large (100 x 40000 pixels; at most 32000 rows and 33554432 "
              "pixels in all)");
}

// A run-length encoded bitmap: compression 1 (8 bits) or 2 (4 bits), a grey
// palette of the given size and the data as given.
QByteArray runLengthBitmap(int bits, int width, int height, int paletteSize,
                           const std::vector<quint8>& data) {
    const int offset = 14 + 40 + 4 * paletteSize;
    QByteArray bytes(offset, '\0');
    bytes[0] = 'B';
    bytes[1] = 'M';
    putLittleEndian(bytes, 2, static_cast<quint32>(offset + data.size()));
    putLittleEndian(bytes, 10, static_cast<quint32>(offset));
    putLittleEndian(bytes, 14, 40);
    putLittleEndian(bytes, 18, static_cast<quint32>(width));
    putLittleEndian(bytes, 22, static_cast<quint32>(height));
    putLittleEndian(bytes, 26, 1, 2);
    putLittleEndian(bytes, 28, static_cast<quint32>(bits), 2);
    putLittleEndian(bytes, 30, bits == 8 ? 1 : 2);
    putLittleEndian(bytes, 34, static_cast<quint32>(data.size()));
    putLittleEndian(bytes, 46, static_cast<quint32>(paletteSize));
    for (int i = 0; i < paletteSize; ++i) {
        const quint8 grey = static_cast<quint8>(255 * i / std::max(1, paletteSize - 1));
        putLittleEndian(bytes, 54 + 4 * i, grey * 0x010101U);
    }
    for (quint8 byte : data)
        bytes.append(static_cast<char>(byte));
    return bytes;
}

TEST(CorePhotoLoader, RunLengthBitmapsMustBeWholeAndKeepToTheirPalette) {
    // Rows bottom-up: a run of four, end of line; then two runs, end of
    // bitmap. The 4-bit one also has an absolute run of three pixels.
    const std::vector<quint8> rle8 = {4, 1, 0, 0, 2, 0, 2, 1, 0, 1};
    const std::vector<quint8> rle4 = {4, 0x10, 0, 0, 0, 3, 0x12, 0x30, 1, 0x30, 0, 1};
    const QImage eight = decodeCorePhotograph(runLengthBitmap(8, 4, 2, 2, rle8));
    EXPECT_EQ(eight.pixel(0, 1), 0xffffffffu);
    EXPECT_EQ(eight.pixel(0, 0), 0xff000000u);
    EXPECT_EQ(eight.pixel(3, 0), 0xffffffffu);
    const QImage four = decodeCorePhotograph(runLengthBitmap(4, 4, 2, 4, rle4));
    EXPECT_EQ(four.pixel(0, 1), 0xff555555u);
    EXPECT_EQ(four.pixel(1, 1), 0xff000000u);
    EXPECT_EQ(four.pixel(2, 0), 0xffffffffu);

    const struct {
        const char* name;
        QByteArray bytes;
    } refused[] = {
        {"8 bits, no end marker", runLengthBitmap(8, 4, 2, 2, {4, 1, 0, 0, 2, 0, 2, 1})},
        {"8 bits, cut inside a command", runLengthBitmap(8, 4, 2, 2, {4, 1, 0, 0, 2})},
        {"8 bits, cut inside an absolute run", runLengthBitmap(8, 4, 2, 2, {0, 4, 1, 0})},
        {"8 bits, index 2 of a 2-colour palette", runLengthBitmap(8, 4, 2, 2, {4, 2, 0, 1})},
        {"8 bits, absolute run outside the palette",
         runLengthBitmap(8, 4, 2, 2, {0, 3, 1, 0, 9, 0, 0, 1})},
        {"4 bits, no end marker", runLengthBitmap(4, 4, 2, 4, {4, 0x10, 0, 0})},
        {"4 bits, low nibble outside the palette",
         runLengthBitmap(4, 4, 2, 4, {4, 0x15, 0, 0, 0, 1})},
        {"4 bits, absolute run outside the palette",
         runLengthBitmap(4, 4, 2, 4, {0, 3, 0x12, 0x90, 0, 1})},
        // Pixels no run colours: a kilobyte could skip through 32 000 rows.
        {"8 bits, a skip", runLengthBitmap(8, 4, 2, 2, {4, 1, 0, 2, 0, 1, 0, 1})},
        {"8 bits, a row ended early", runLengthBitmap(8, 4, 2, 2, {2, 1, 0, 0, 4, 1, 0, 1})},
        {"8 bits, the bitmap ended early", runLengthBitmap(8, 4, 2, 2, {4, 1, 0, 1})},
        {"8 bits, a run beyond its row", runLengthBitmap(8, 4, 2, 2, {5, 1, 3, 1, 0, 1})},
    };
    for (const auto& c : refused) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(decodeError(c.bytes).rfind("Bitmap image is not valid: ", 0), 0U);
    }
    // A lone pixel uses only the high nibble; the low one may be anything.
    EXPECT_NO_THROW(decodeCorePhotograph(runLengthBitmap(4, 1, 1, 4, {1, 0x3f, 0, 1})));
}

} // namespace
} // namespace quarvel
