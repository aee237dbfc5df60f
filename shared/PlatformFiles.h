#pragma once

#include <QByteArray>
#include <QString>

// The few file operations that need the operating system itself: what a name
// really is, reading without ever blocking, and syncing a folder. Everything
// else about files goes through Qt.
namespace shared {

// What a name stands for, after following links.
enum class FileKind {
    Missing,       // nothing of that name
    Regular,       // an ordinary file
    Folder,        // a folder
    Fifo,          // a named pipe
    Device,        // a character or block device
    Socket,        // a local socket
    LinkLoop,      // links that lead round in a circle (or too deep)
    DanglingLink,  // a link to something that does not exist
    NoAccess,      // a folder on the way may not be searched
    Other,
};

FileKind fileKind(const QString& path);

// Whether the name itself is a symbolic link, even one that leads nowhere.
bool isLink(const QString& path);

// The result of reading a file of bounded size.
struct BoundedRead {
    FileKind kind = FileKind::Missing;  // what the name was when it was opened
    bool tooLarge = false;              // more than the bound: nothing is kept
    bool readable = true;               // false when opening or reading failed
    QByteArray bytes;
};

// Reads a regular file of at most maxBytes bytes. Anything else (a FIFO, a
// device, a folder) is never read, and a FIFO is never opened in a way that
// could wait for a writer. At most maxBytes + 1 bytes are read.
BoundedRead readRegularFile(const QString& path, qint64 maxBytes);

// Whether the file belongs to the user running the program (always true
// where the system has no such notion).
bool ownedByCurrentUser(const QString& path);

// Makes a rename in the folder survive a power loss, where the system allows.
void syncFolder(const QString& folder);

}  // namespace shared
