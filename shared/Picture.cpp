#include "Picture.h"

#include "FolderText.h"
#include "RuntimeError.h"

#include <QFileInfo>
#include <QImageReader>

namespace shared {

QPixmap loadPicture(const QString& path, QSize largest) {
    const QString shown = displayFileName(path);
    QFileInfo info(path);
    if (!info.exists())
        throw RuntimeError(ErrorNumber::FileNotFound,
                           QStringLiteral("Bildfilen \"%1\" finns inte.").arg(shown));
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    const QSize full = reader.size();
    if (largest.isValid() && full.isValid() &&
        (full.width() > largest.width() || full.height() > largest.height()))
        reader.setScaledSize(full.scaled(largest, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image;
    if (info.isDir() || !reader.read(&image) || image.isNull())
        throw RuntimeError(ErrorNumber::InvalidPicture,
                           QStringLiteral("Filen \"%1\" är ingen bild som kan visas.").arg(shown));
    return QPixmap::fromImage(image);
}

}  // namespace shared
