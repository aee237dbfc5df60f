#include "shared/core/RegularFile.h"

#include "shared/core/FolderText.h"
#include "shared/core/PlatformFiles.h"
#include "shared/core/RuntimeError.h"
#include "shared/core/ShortText.h"

namespace core {

QString describeFileKind(FileKind kind) {
    switch (kind) {
        case FileKind::Missing:
            return QStringLiteral("finns inte");
        case FileKind::DanglingLink:
            return QStringLiteral("är en länk till något som inte finns");
        case FileKind::Folder:
            return QStringLiteral("är en mapp, inte en fil");
        case FileKind::Fifo:
            return QStringLiteral("är en namngiven rörledning (FIFO), inte en vanlig fil");
        case FileKind::Device:
            return QStringLiteral("är en enhetsfil, inte en vanlig fil");
        case FileKind::Socket:
            return QStringLiteral("är ett uttag (socket), inte en vanlig fil");
        case FileKind::LinkLoop:
            return QStringLiteral("är en länk som leder runt i en slinga och aldrig når en fil");
        case FileKind::NoAccess:
            return QStringLiteral("ligger i en mapp som inte får läsas");
        default:
            return QStringLiteral("är ingen vanlig fil");
    }
}

QString describeFolderKind(FileKind kind) {
    switch (kind) {
        case FileKind::Folder:
            return QString();
        case FileKind::Missing:
        case FileKind::DanglingLink:
        case FileKind::NoAccess:
            return describeFileKind(kind);
        case FileKind::LinkLoop:
            return QStringLiteral("är en länk som leder runt i en slinga");
        default:
            return QStringLiteral("är ingen mapp");
    }
}

bool isAbsent(FileKind kind) {
    return kind == FileKind::Missing || kind == FileKind::DanglingLink;
}

namespace {

QString sizeText(qint64 bytes) {
    if (bytes % (1024 * 1024) == 0) return QStringLiteral("%1 MB").arg(bytes / (1024 * 1024));
    return QStringLiteral("%1 byte").arg(bytes);
}

}  // namespace

QByteArray readWholeRegularFile(const QString& path, qint64 maxBytes, const QString& noun,
                                int notRegularError) {
    const QString shown = shortName(displayFileName(path));
    BoundedRead read = readRegularFile(path, maxBytes);
    if (read.kind != FileKind::Regular)
        throw RuntimeError(
            isAbsent(read.kind) ? ErrorNumber::FileNotFound : notRegularError,
            QStringLiteral("%1 \"%2\" %3.").arg(noun, shown, describeFileKind(read.kind)));
    if (read.tooLarge)
        throw RuntimeError(ErrorNumber::PathFileAccessError,
                           QStringLiteral("%1 \"%2\" är större än %3 och läses inte.")
                               .arg(noun, shown, sizeText(maxBytes)));
    if (!read.readable)
        throw RuntimeError(
            ErrorNumber::PathFileAccessError,
            QStringLiteral("%1 \"%2\" kan inte öppnas för läsning.").arg(noun, shown));
    return std::move(read.bytes);
}

}  // namespace core
