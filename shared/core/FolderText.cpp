#include "shared/core/FolderText.h"

#include <QDir>
#include <QFileInfo>

namespace core {

QString folderText(const QString& folder) {
    return QDir::toNativeSeparators(QDir::cleanPath(QDir(folder).absolutePath()));
}

QString joinFolderAndFile(const QString& folder, const QString& fileName) {
    return QDir(QDir::fromNativeSeparators(folder)).filePath(fileName);
}

QString displayFileName(const QString& path) {
    return QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
}

}  // namespace core
