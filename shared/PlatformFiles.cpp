#include "PlatformFiles.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#endif

namespace shared {

#if defined(Q_OS_UNIX)

namespace {

FileKind kindOfMode(mode_t mode) {
    if (S_ISREG(mode)) return FileKind::Regular;
    if (S_ISDIR(mode)) return FileKind::Folder;
    if (S_ISFIFO(mode)) return FileKind::Fifo;
    if (S_ISCHR(mode) || S_ISBLK(mode)) return FileKind::Device;
    if (S_ISSOCK(mode)) return FileKind::Socket;
    return FileKind::Other;
}

QByteArray nativeName(const QString& path) {
    return QFile::encodeName(path);
}

}  // namespace

FileKind fileKind(const QString& path) {
    const QByteArray name = nativeName(path);
    struct stat st {};
    if (::stat(name.constData(), &st) == 0) return kindOfMode(st.st_mode);
    switch (errno) {
        case ELOOP:
            return FileKind::LinkLoop;
        case EACCES:
            return FileKind::NoAccess;
        default:
            break;
    }
    if (::lstat(name.constData(), &st) == 0 && S_ISLNK(st.st_mode)) return FileKind::DanglingLink;
    return FileKind::Missing;
}

bool isLink(const QString& path) {
    struct stat st {};
    return ::lstat(nativeName(path).constData(), &st) == 0 && S_ISLNK(st.st_mode);
}

BoundedRead readRegularFile(const QString& path, qint64 maxBytes) {
    BoundedRead result;
    result.kind = fileKind(path);
    if (result.kind != FileKind::Regular) return result;
    // Non-blocking, so that a FIFO put in the file's place after the check
    // cannot make the open wait; the kind is checked again on what was opened.
    const int fd = ::open(nativeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        result.readable = false;
        return result;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0) {
        result.readable = false;
    } else if (kindOfMode(st.st_mode) != FileKind::Regular) {
        result.kind = kindOfMode(st.st_mode);
    } else if (st.st_size > maxBytes) {
        result.tooLarge = true;
    } else {
        // The size may change while reading: at most maxBytes + 1 are read.
        result.bytes.resize(static_cast<qsizetype>(st.st_size) + 1);
        qsizetype got = 0;
        while (got < result.bytes.size()) {
            const ssize_t n = ::read(fd, result.bytes.data() + got,
                                     static_cast<size_t>(result.bytes.size() - got));
            if (n < 0 && errno == EINTR) continue;
            if (n < 0) {
                result.readable = false;
                break;
            }
            if (n == 0) break;
            got += n;
            if (got == result.bytes.size() && got <= maxBytes)
                result.bytes.resize(std::min<qint64>(got * 2, maxBytes + 1));
        }
        result.bytes.resize(got);
        if (got > maxBytes) {
            result.tooLarge = true;
            result.bytes.clear();
        }
    }
    ::close(fd);
    if (!result.readable) result.bytes.clear();
    return result;
}

bool ownedByCurrentUser(const QString& path) {
    struct stat st {};
    return ::lstat(nativeName(path).constData(), &st) == 0 && st.st_uid == ::geteuid();
}

void syncFolder(const QString& folder) {
    const int fd = ::open(nativeName(folder).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

#else

// Elsewhere Qt tells what a name is; special files of the kinds above do not
// occur there in ordinary folders.
FileKind fileKind(const QString& path) {
    const QFileInfo info(path);
    if (info.isSymLink() && !info.exists()) return FileKind::DanglingLink;
    if (!info.exists()) return FileKind::Missing;
    if (info.isDir()) return FileKind::Folder;
    if (info.isFile()) return FileKind::Regular;
    return FileKind::Other;
}

bool isLink(const QString& path) {
    return QFileInfo(path).isSymLink();
}

BoundedRead readRegularFile(const QString& path, qint64 maxBytes) {
    BoundedRead result;
    result.kind = fileKind(path);
    if (result.kind != FileKind::Regular) return result;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        result.readable = false;
        return result;
    }
    if (file.size() > maxBytes) {
        result.tooLarge = true;
        return result;
    }
    result.bytes = file.read(maxBytes + 1);
    if (result.bytes.size() > maxBytes) {
        result.tooLarge = true;
        result.bytes.clear();
    }
    return result;
}

bool ownedByCurrentUser(const QString&) {
    return true;
}

void syncFolder(const QString&) {}

#endif

}  // namespace shared
