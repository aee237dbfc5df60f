#include "shared/core/PlatformFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <algorithm>

#if defined(Q_OS_UNIX)
#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <vector>
#else
#include <QSaveFile>
#endif

namespace core {

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

constexpr qsizetype MarkLetters = 8;

bool isLetterOrDigit(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9');
}

// A new name of the mark, with letters and digits drawn at random.
QByteArray temporaryName() {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    QByteArray name(TemporaryFilePrefix);
    for (qsizetype i = 0; i < MarkLetters; ++i)
        name += letters[QRandomGenerator::global()->bounded(int(sizeof letters - 1))];
    return name + TemporaryFileSuffix;
}

bool hasTemporaryMark(const QByteArray& name) {
    const QByteArray prefix(TemporaryFilePrefix);
    const QByteArray suffix(TemporaryFileSuffix);
    if (name.size() != prefix.size() + MarkLetters + suffix.size() || !name.startsWith(prefix) ||
        !name.endsWith(suffix))
        return false;
    const QByteArray letters = name.mid(prefix.size(), MarkLetters);
    return std::all_of(letters.begin(), letters.end(), isLetterOrDigit);
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

namespace {

QString systemText(int error) {
    return QString::fromLocal8Bit(std::strerror(error));
}

bool olderThan(const struct stat& st, const timespec& moment) {
    return st.st_mtim.tv_sec < moment.tv_sec ||
           (st.st_mtim.tv_sec == moment.tv_sec && st.st_mtim.tv_nsec < moment.tv_nsec);
}

// Removes the temporary files that killed replacements left in the folder.
// A replacement at work holds a lock on its file, which ends with its
// process: a file of the mark that can be locked is abandoned.
void removeAbandonedTemporaries(int folder, const timespec& started) {
    const int listing = ::openat(folder, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (listing < 0) return;
    DIR* dir = ::fdopendir(listing);
    if (!dir) {
        ::close(listing);
        return;
    }
    std::vector<QByteArray> marked;
    while (const dirent* entry = ::readdir(dir))
        if (hasTemporaryMark(QByteArray(entry->d_name))) marked.emplace_back(entry->d_name);
    ::closedir(dir);

    for (const QByteArray& name : marked) {
        // Looked at without following a link and without opening it: a
        // device or a FIFO of that name is never opened.
        struct stat seen {};
        if (::fstatat(folder, name.constData(), &seen, AT_SYMLINK_NOFOLLOW) != 0 ||
            !S_ISREG(seen.st_mode) || seen.st_uid != ::geteuid() || !olderThan(seen, started))
            continue;
        const int fd =
            ::openat(folder, name.constData(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) continue;
        struct stat opened {};
        if (::fstat(fd, &opened) == 0 && opened.st_dev == seen.st_dev &&
            opened.st_ino == seen.st_ino && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlinkat(folder, name.constData(), 0);
        ::close(fd);
    }
}

bool writeAll(int fd, const QByteArray& bytes) {
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n =
            ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += n;
    }
    return true;
}

}  // namespace

ReplaceResult replaceFile(const QString& path, const QByteArray& bytes) {
    timespec started{};
    ::clock_gettime(CLOCK_REALTIME, &started);
    const QFileInfo info(path);
    // Every step works in this one folder, even if its path changes meanwhile.
    const int folder =
        ::open(nativeName(info.absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return {ReplaceStep::Create, systemText(errno)};
    removeAbandonedTemporaries(folder, started);

    // The new file keeps the permissions of the old one; a first file gets
    // those of any new file.
    const QByteArray name = nativeName(info.fileName());
    struct stat old {};
    const bool replacing = ::fstatat(folder, name.constData(), &old, AT_SYMLINK_NOFOLLOW) == 0;
    if (!replacing && errno != ENOENT) {
        const int error = errno;  // a name too long, say
        ::close(folder);
        return {ReplaceStep::Create, systemText(error)};
    }
    QByteArray temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName();
        fd = ::openat(folder, temporary.constData(),
                      O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) {
        const int error = errno;
        ::close(folder);
        return {ReplaceStep::Create, systemText(error)};
    }
    // Held until the file has taken its name, so that no other save removes it.
    ::flock(fd, LOCK_EX | LOCK_NB);
    if (replacing && S_ISREG(old.st_mode)) ::fchmod(fd, old.st_mode & 0777);

    ReplaceResult result;
    if (!writeAll(fd, bytes) || ::fsync(fd) != 0)
        result = {ReplaceStep::Write, systemText(errno)};
    else if (::renameat(folder, temporary.constData(), folder, name.constData()) != 0)
        result = {ReplaceStep::Rename, systemText(errno)};
    if (result.failedAt != ReplaceStep::Done) ::unlinkat(folder, temporary.constData(), 0);
    ::close(fd);
    // The rename itself must reach the disk, or a power loss could bring
    // back neither the old file nor the new one.
    if (result.failedAt == ReplaceStep::Done) ::fsync(folder);
    ::close(folder);
    return result;
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

// Elsewhere Qt's own atomic save replaces the file. Its temporary file is
// named by Qt, not with the mark, so what a killed save left there stays.
ReplaceResult replaceFile(const QString& path, const QByteArray& bytes) {
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) return {ReplaceStep::Create, file.errorString()};
    if (file.write(bytes) != bytes.size()) return {ReplaceStep::Write, file.errorString()};
    if (!file.commit())
        return {file.error() == QFileDevice::RenameError ? ReplaceStep::Rename : ReplaceStep::Write,
                file.errorString()};
    return {};
}

#endif

}  // namespace core
