#include "platform/image_file.h"

#include "formats/quarvel_error.h"
#include "formats/text_file.h"

#include <QBuffer>
#include <QByteArray>
#include <QImageWriter>
#include <string_view>

namespace quarvel {

void writeImageFile(const QImage& image, const std::filesystem::path& path, const char* format) {
    // Encoded in memory first: Qt's writers report a failed write to a file
    // only as "Unknown error", the system's reason gets lost.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        throwCannotCreate(path.string(), writer.errorString().toStdString() + ".");
    }
    writeTextFile(path,
                  std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

} // namespace quarvel
