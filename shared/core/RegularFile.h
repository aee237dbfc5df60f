#pragma once

#include <QByteArray>
#include <QString>

#include "shared/core/PlatformFiles.h"

// Reading a file that must be an ordinary file of sane size: a menu file or
// a picture. Anything else is refused with a run-time error that says what
// the name really is, before anything is read.
namespace core {

// A real menu is well under 4 KB.
inline constexpr qint64 MaxMenuFileBytes = 1024 * 1024;
// Far more than any card picture needs.
inline constexpr qint64 MaxPictureFileBytes = 64 * 1024 * 1024;

// What a name that is not a regular file is, in Swedish, as the end of a
// sentence that begins with the name: "finns inte", "är en mapp, inte en
// fil", "är en namngiven rörledning (FIFO), inte en vanlig fil" …
QString describeFileKind(FileKind kind);
// The same where a folder is wanted: "finns inte", "är ingen mapp" …, and ""
// for a folder.
QString describeFolderKind(FileKind kind);
// Nothing there to use: no such name, or a link that leads nowhere.
bool isAbsent(FileKind kind);

// Reads the whole file. "noun" names the file in the message ("Filen",
// "Bildfilen"). Throws RuntimeError: 53 when nothing of that name exists or a
// link leads nowhere, notRegularError for a folder, FIFO, device, socket or
// link loop, 75 for a file larger than maxBytes or one that cannot be read.
QByteArray readWholeRegularFile(const QString& path, qint64 maxBytes, const QString& noun,
                                int notRegularError);

}  // namespace core
