#pragma once

#include <QPixmap>
#include <QString>

namespace shared {

// Loads a picture file (BMP, PNG, JPEG, GIF: whatever Qt's image loader
// reads). Throws RuntimeError 53 when the file does not exist and 481 when
// it is not a picture that can be loaded.
QPixmap loadPicture(const QString& path);

}  // namespace shared
