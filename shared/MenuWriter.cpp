#include "MenuWriter.h"

#include "FolderText.h"
#include "MenuEncoding.h"
#include "PlatformFiles.h"
#include "RegularFile.h"
#include "RuntimeError.h"
#include "ShortText.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

namespace shared {

namespace {

const QString lineEnd = QStringLiteral("\r\n");

// What went wrong, in our words; the system's own text follows in the
// message.
QString saveFailure(QFileDevice::FileError error) {
    switch (error) {
        case QFileDevice::OpenError:
            return QStringLiteral("filen kan inte skapas i mappen (saknas skrivrätt?)");
        case QFileDevice::WriteError:
        case QFileDevice::ResourceError:
            return QStringLiteral("allt kunde inte skrivas (är disken full?)");
        case QFileDevice::RenameError:
            return QStringLiteral("den nya filen kunde inte ersätta den gamla");
        default:
            return QStringLiteral("ett okänt fel inträffade");
    }
}

// A temporary file that an interrupted save of "name" left behind: the name
// followed by a dot and six letters or digits, in the same folder, a regular
// file of this user's own, older than the save now running. Nothing else is
// ever removed.
bool isOurLeftover(const QFileInfo& entry, const QString& name, const QDateTime& started) {
    static const QRegularExpression suffix(QStringLiteral("^\\.[A-Za-z0-9]{6}$"));
    const QString entryName = entry.fileName();
    if (!entryName.startsWith(name) ||
        !suffix.match(QStringView(entryName).sliced(name.size())).hasMatch())
        return false;
    const QString path = entry.absoluteFilePath();
    return !isLink(path) && fileKind(path) == FileKind::Regular && ownedByCurrentUser(path) &&
           entry.lastModified() < started;
}

void removeLeftovers(const QString& folder, const QString& name, const QDateTime& started) {
    const QDir dir(folder);
    const QFileInfoList entries = dir.entryInfoList({name + QStringLiteral(".??????")},
                                                    QDir::Files | QDir::Hidden | QDir::System);
    for (const QFileInfo& entry : entries)
        if (isOurLeftover(entry, name, started)) QFile::remove(entry.absoluteFilePath());
}

}  // namespace

MenuWriter::MenuWriter(const QString& path) : m_path(path) {}

bool MenuWriter::canStore(const QString& value) {
    return !value.contains(u'"') && !value.contains(u'\r') && !value.contains(u'\n');
}

void MenuWriter::writeInteger(int value) {
    m_text += QString::number(value) + lineEnd;
}

void MenuWriter::writeString(const QString& value) {
    if (!canStore(value))
        throw RuntimeError(
            ErrorNumber::InvalidArgument,
            QStringLiteral("Texten \"%1\" innehåller citattecken eller radbrytning och "
                           "kan inte sparas i filen \"%2\".")
                .arg(shortValue(value), shortName(displayFileName(m_path))));
    m_text += u'"' + value + u'"' + lineEnd;
}

void MenuWriter::commit() {
    // Temporary files of an earlier save count as leftovers only when they
    // are older than this one.
    const QDateTime started = QDateTime::currentDateTimeUtc();
    const QString shown = shortName(displayFileName(m_path));
    const QFileInfo info(m_path);
    const QString folder = info.absolutePath();
    if (fileKind(folder) != FileKind::Folder)
        throw RuntimeError(ErrorNumber::PathNotFound,
                           QStringLiteral("Mappen för filen \"%1\" finns inte.").arg(shown));
    // A menu is only ever written as a regular file of its own name: never
    // through a link, never over a folder, a FIFO or a device.
    if (isLink(m_path))
        throw RuntimeError(ErrorNumber::PathFileAccessError,
                           QStringLiteral("\"%1\" är en länk. En meny sparas bara som en vanlig "
                                          "fil med eget namn; ingenting har skrivits.")
                               .arg(shown));
    const FileKind kind = fileKind(m_path);
    if (kind != FileKind::Missing && kind != FileKind::Regular)
        throw RuntimeError(ErrorNumber::PathFileAccessError,
                           QStringLiteral("\"%1\" %2; där kan ingen meny sparas. Ingenting har "
                                          "skrivits.")
                               .arg(shown, describeFileKind(kind)));

    removeLeftovers(folder, info.fileName(), started);
    QSaveFile file(m_path);
    const QByteArray bytes = encodeMenuText(m_text);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw RuntimeError(
            ErrorNumber::PathFileAccessError,
            QStringLiteral("Filen \"%1\" kan inte skrivas: %2. Den gamla filen "
                           "är orörd. (%3)")
                .arg(shown, saveFailure(file.error()), shortValue(file.errorString())));
    // The rename itself must reach the disk, or a power loss could bring
    // back neither the old file nor the new one.
    syncFolder(folder);
}

}  // namespace shared
