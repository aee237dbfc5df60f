#pragma once

#include <QString>

namespace core {

// The text of a folder as it is stored in a menu: absolute, in the system's
// own separators, with no trailing separator except at a root ("/", "C:\").
QString folderText(const QString& folder);

// The folder and file name joined into one path.
QString joinFolderAndFile(const QString& folder, const QString& fileName);

// The absolute, native form of a file name, as messages show it.
QString displayFileName(const QString& path);

}  // namespace core
