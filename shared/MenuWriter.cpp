#include "MenuWriter.h"

#include "FolderText.h"
#include "MenuEncoding.h"
#include "RuntimeError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace shared {

namespace {
const QString lineEnd = QStringLiteral("\r\n");
}

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
                .arg(value, displayFileName(m_path)));
    m_text += u'"' + value + u'"' + lineEnd;
}

void MenuWriter::commit() {
    const QString shown = displayFileName(m_path);
    QFileInfo info(m_path);
    if (!info.absoluteDir().exists())
        throw RuntimeError(ErrorNumber::PathNotFound,
                           QStringLiteral("Mappen för filen \"%1\" finns inte.").arg(shown));
    if (info.isDir())
        throw RuntimeError(
            ErrorNumber::PathFileAccessError,
            QStringLiteral("\"%1\" är en mapp och kan inte skrivas som fil.").arg(shown));

    QSaveFile file(m_path);
    const QByteArray bytes = encodeMenuText(m_text);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw RuntimeError(
            ErrorNumber::PathFileAccessError,
            QStringLiteral("Filen \"%1\" kan inte skrivas: %2.").arg(shown, file.errorString()));
}

}  // namespace shared
