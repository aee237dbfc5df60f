#pragma once

#include <QByteArray>
#include <QString>

// The few file operations that need the operating system itself: what a name
// really is, reading without ever blocking, and replacing a file whole.
// Everything else about files goes through Qt.
namespace core {

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

// The mark of the temporary file that a replacement writes before it takes
// the file's place: hidden, and a name that no person would choose. Eight
// letters or digits stand between the two parts.
inline constexpr char TemporaryFilePrefix[] = ".kelvu-sparning-";
inline constexpr char TemporaryFileSuffix[] = ".tmp";

// Where a replacement failed, if it did.
enum class ReplaceStep {
    Done,    // it did not: the file has the new content
    Create,  // the temporary file could not be made in the folder
    Write,   // the content could not be written or synced
    Rename,  // the temporary file could not take the file's place
};

struct ReplaceResult {
    ReplaceStep failedAt = ReplaceStep::Done;
    QString systemText;  // the system's own words for the failure
};

// Replaces the file with the bytes in one step. They are written to a new
// temporary file of the mark above in the same folder, made exclusively and
// never through a link, synced, renamed over the file's name (a link of that
// name is replaced, never written through), and the folder is synced. On
// failure the old file is whole and the temporary file gone.
//
// First it removes what earlier replacements that were killed left behind:
// names of the mark only, regular files of this user, older than this call
// and not held by a replacement still at work. Nothing else in the folder is
// written or removed.
ReplaceResult replaceFile(const QString& path, const QByteArray& bytes);

}  // namespace core
