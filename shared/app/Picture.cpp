#include "shared/app/Picture.h"

#include "shared/core/FolderText.h"
#include "shared/core/RegularFile.h"
#include "shared/core/RuntimeError.h"
#include "shared/core/ShortText.h"

#include <QBuffer>
#include <QImageReader>

namespace app {

QPixmap loadPicture(const QString& path, QSize largest) {
    const QString shown = core::shortName(core::displayFileName(path));
    // Read whole first, from a regular file of sane size: the decoder never
    // sees a FIFO or a device.
    QByteArray bytes =
        core::readWholeRegularFile(path, core::MaxPictureFileBytes, QStringLiteral("Bildfilen"),
                                   core::ErrorNumber::InvalidPicture);
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    reader.setDecideFormatFromContent(true);
    // The size the file states is checked before anything is decoded.
    const QSize stated = reader.size();
    if (stated.isValid() && (stated.width() > MaxPictureSide || stated.height() > MaxPictureSide ||
                             qint64(stated.width()) * stated.height() > MaxPicturePixels))
        throw core::RuntimeError(
            core::ErrorNumber::InvalidPicture,
            QStringLiteral("Bildfilen \"%1\" säger sig vara %2 × %3 bildpunkter; "
                           "så stora bilder visas inte.")
                .arg(shown)
                .arg(stated.width())
                .arg(stated.height()));
    if (largest.isValid() && stated.isValid() &&
        (stated.width() > largest.width() || stated.height() > largest.height()))
        reader.setScaledSize(stated.scaled(largest, Qt::KeepAspectRatio).expandedTo(QSize(1, 1)));
    QImage image;
    if (!reader.read(&image) || image.isNull())
        throw core::RuntimeError(
            core::ErrorNumber::InvalidPicture,
            QStringLiteral("Filen \"%1\" är ingen bild som kan visas.").arg(shown));
    return QPixmap::fromImage(image);
}

}  // namespace app
