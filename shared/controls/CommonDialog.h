#pragma once

#include <QObject>
#include <QString>

// The file-open dialog: set DialogTitle, Filter, InitDir and FileName, call
// ShowOpen(), then read FileName (empty when the user cancelled), FileTitle
// and the chosen file's folder. Backed by a real QFileDialog, shown modal.
//
// Filter takes the form "description|pattern;pattern|description|pattern":
// descriptions and pattern lists alternate, separated by vertical bars.
class CommonDialog final : public QObject {
    Q_OBJECT
public:
    explicit CommonDialog(QObject* parent = nullptr);

    QString DialogTitle;
    QString Filter;
    QString InitDir;
    QString FileName;

    // Shows the dialog and waits until the user closes it.
    void ShowOpen();

    // The chosen file's name and extension, without folder; "" after a cancel.
    const QString& FileTitle() const { return m_fileTitle; }
    // The chosen file's folder as a menu stores it; "" after a cancel.
    const QString& Folder() const { return m_folder; }

    // The Qt name filters for a filter in the "description|patterns" form.
    static QStringList nameFilters(const QString& filter);

private:
    QString m_fileTitle;
    QString m_folder;
};
