#pragma once

#include <QPixmap>
#include <QString>

namespace shared {

// Pictures larger than this, by their stated size, are refused unread.
inline constexpr int MaxPictureSide = 10000;
inline constexpr qint64 MaxPicturePixels = 40'000'000;

// Loads a picture file (BMP, PNG, JPEG, GIF: whatever Qt's image loader
// reads). Throws RuntimeError 53 when the file does not exist and 481 when
// it is not a picture that can be loaded: not a regular file, larger than
// the bounds, or not a picture at all.
QPixmap loadPicture(const QString& path);

}  // namespace shared
