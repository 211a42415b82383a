#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>
#include <string_view>

namespace quarvel {

namespace msg {
inline constexpr std::string_view BitmapNotValid = "Bitmap image is not valid";
inline constexpr std::string_view BitmapTooLarge =
    "Bitmap image is too large (%s x %s pixels; at most %s rows and %s pixels in all)";
} // namespace msg

// Limits on a core photograph, so that a hostile header cannot make the
// program allocate gigabytes: every panel and the final plot are as high as
// the photograph.
inline constexpr int MaxPhotoHeight = 32000;
inline constexpr long long MaxPhotoPixels = 32LL * 1024 * 1024;
inline constexpr qint64 MaxPhotoFileBytes = 256LL * 1024 * 1024;

// A Windows bitmap from its bytes. Anything else (another image format, a
// truncated file, a broken header) throws "Bitmap image is not valid: " and
// the reason; a bitmap beyond the limits throws "Bitmap image is too large
// ...". Nothing is decoded, and nothing warned, before the headers hold.
QImage decodeCorePhotograph(const QByteArray& bytes);

// The photograph in the file. A file that cannot be opened, or whose bytes
// decodeCorePhotograph refuses, throws "Cannot open file ..." with the
// reason.
QImage loadCorePhotograph(const QString& path);

} // namespace quarvel
