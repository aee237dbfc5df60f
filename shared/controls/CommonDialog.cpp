#include "shared/controls/CommonDialog.h"

#include "shared/core/FolderText.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>

CommonDialog::CommonDialog(QObject* parent) : QObject(parent) {}

QStringList CommonDialog::nameFilters(const QString& filter) {
    const QStringList parts = filter.split(u'|');
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString& description = parts[i];
        const QString patterns = parts[i + 1].split(u';', Qt::SkipEmptyParts).join(u' ');
        const QString group = u'(' + patterns + u')';
        // Qt reads the patterns from the parenthesis at the end of the text; a
        // description that already ends with them is shown as it stands.
        filters << (description.endsWith(group) ? description : description + u' ' + group);
    }
    return filters;
}

void CommonDialog::ShowOpen() {
    QFileDialog dialog(QApplication::activeWindow(), DialogTitle, InitDir);
    dialog.setObjectName(QStringLiteral("CommonDialog"));
    // Qt's own dialog looks and behaves the same on every system.
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    // Minimised, it would leave the program's window disabled behind the
    // black backdrop.
    dialog.setWindowFlag(Qt::WindowMinimizeButtonHint, false);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // In Swedish even where Qt's translation is missing or incomplete.
    dialog.setLabelText(QFileDialog::LookIn, QStringLiteral("Leta i:"));
    dialog.setLabelText(QFileDialog::FileName, QStringLiteral("Filnamn:"));
    dialog.setLabelText(QFileDialog::FileType, QStringLiteral("Filtyp:"));
    dialog.setLabelText(QFileDialog::Accept, QStringLiteral("Öppna"));
    dialog.setLabelText(QFileDialog::Reject, QStringLiteral("Avbryt"));
    const QStringList filters = nameFilters(Filter);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (!FileName.isEmpty()) dialog.selectFile(FileName);

    m_fileTitle.clear();
    m_folder.clear();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        FileName.clear();
        return;
    }
    const QFileInfo chosen(dialog.selectedFiles().constFirst());
    FileName = QDir::toNativeSeparators(chosen.absoluteFilePath());
    m_fileTitle = chosen.fileName();
    m_folder = core::folderText(chosen.absolutePath());
}
