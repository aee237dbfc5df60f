#pragma once

#include <QPixmap>
#include <QString>

namespace shared {

// Loads a picture file (BMP, PNG, JPEG, GIF: whatever Qt's image loader
// reads). Throws RuntimeError 53 when the file does not exist and 481 when
// it is not a picture that can be loaded.
//
// A picture larger than `largest` is read at the largest size that fits in
// it, aspect ratio kept, so that a photo shown on a card does not sit in
// memory at full size; JPEG pictures are then decoded at the smaller size
// straight away. Smaller pictures, and every picture when `largest` is not
// valid, are read as they are.
QPixmap loadPicture(const QString& path, QSize largest = QSize());

}  // namespace shared
