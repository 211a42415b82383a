#pragma once

#include <QImage>
#include <filesystem>

namespace quarvel {

// Writes the image to the file in the given format ("BMP", "PNG"), through a
// temporary file beside it and a rename, so a failed write leaves an existing
// file as it was. Throws "Cannot create file ..." naming the file and the
// system's reason (a full disk, a missing folder, no permission).
void writeImageFile(const QImage& image, const std::filesystem::path& path, const char* format);

} // namespace quarvel
