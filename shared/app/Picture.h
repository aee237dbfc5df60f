#pragma once

#include <QPixmap>
#include <QString>

namespace app {

// Pictures larger than this, by their stated size, are refused unread.
inline constexpr int MaxPictureSide = 10000;
inline constexpr qint64 MaxPicturePixels = 40'000'000;

// Loads a picture file (BMP, PNG, JPEG, GIF: whatever Qt's image loader
// reads). Throws RuntimeError 53 when the file does not exist and 481 when
// it is not a picture that can be loaded: not a regular file, larger than
// the bounds, or not a picture at all.
//
// A picture larger than `largest` is read at the largest size that fits in
// it, aspect ratio kept, so that a photo shown on a card does not sit in
// memory at full size; JPEG pictures are then decoded at the smaller size
// straight away. Smaller pictures, and every picture when `largest` is not
// valid, are read as they are.
QPixmap loadPicture(const QString& path, QSize largest = QSize());

}  // namespace app
