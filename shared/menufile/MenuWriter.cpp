#include "shared/menufile/MenuWriter.h"

#include "shared/core/FolderText.h"
#include "shared/core/PlatformFiles.h"
#include "shared/core/RegularFile.h"
#include "shared/core/RuntimeError.h"
#include "shared/core/ShortText.h"
#include "shared/menufile/MenuEncoding.h"

#include <QFileInfo>

namespace menufile {

namespace {

const QString lineEnd = QStringLiteral("\r\n");

// What went wrong, in our words; the system's own text follows in the
// message.
QString saveFailure(core::ReplaceStep step) {
    switch (step) {
        case core::ReplaceStep::Create:
            return QStringLiteral("filen kan inte skapas i mappen (saknas skrivrätt?)");
        case core::ReplaceStep::Write:
            return QStringLiteral("allt kunde inte skrivas (är disken full?)");
        case core::ReplaceStep::Rename:
            return QStringLiteral("den nya filen kunde inte ersätta den gamla");
        case core::ReplaceStep::Done:
            break;
    }
    return QStringLiteral("ett okänt fel inträffade");
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
        throw core::RuntimeError(
            core::ErrorNumber::InvalidArgument,
            QStringLiteral("Texten \"%1\" innehåller citattecken eller radbrytning och "
                           "kan inte sparas i filen \"%2\".")
                .arg(core::shortValue(value), core::shortName(core::displayFileName(m_path))));
    m_text += u'"' + value + u'"' + lineEnd;
}

void MenuWriter::commit() {
    const QString shown = core::shortName(core::displayFileName(m_path));
    if (core::fileKind(QFileInfo(m_path).absolutePath()) != core::FileKind::Folder)
        throw core::RuntimeError(core::ErrorNumber::PathNotFound,
                                 QStringLiteral("Mappen för filen \"%1\" finns inte.").arg(shown));
    // A menu is only ever written as a regular file of its own name: never
    // through a link, never over a folder, a FIFO or a device.
    if (core::isLink(m_path))
        throw core::RuntimeError(
            core::ErrorNumber::PathFileAccessError,
            QStringLiteral("\"%1\" är en länk. En meny sparas bara som en vanlig "
                           "fil med eget namn; ingenting har skrivits.")
                .arg(shown));
    const core::FileKind kind = core::fileKind(m_path);
    if (kind != core::FileKind::Missing && kind != core::FileKind::Regular)
        throw core::RuntimeError(
            core::ErrorNumber::PathFileAccessError,
            QStringLiteral("\"%1\" %2; där kan ingen meny sparas. Ingenting har "
                           "skrivits.")
                .arg(shown, core::describeFileKind(kind)));

    const core::ReplaceResult result = core::replaceFile(m_path, encodeMenuText(m_text));
    if (result.failedAt != core::ReplaceStep::Done)
        throw core::RuntimeError(
            core::ErrorNumber::PathFileAccessError,
            QStringLiteral("Filen \"%1\" kan inte skrivas: %2. Den gamla filen "
                           "är orörd. (%3)")
                .arg(shown, saveFailure(result.failedAt), core::shortValue(result.systemText)));
}

}  // namespace menufile
