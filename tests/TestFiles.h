#pragma once

// Files the tests write and read back, and the values of a menu file one to
// a line, as the supervisor writes them.
#include <QByteArray>
#include <QFile>
#include <QString>

namespace support {

inline void writeFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

inline QByteArray readFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll();
}

inline QByteArray quoted(const QString& text) {
    return '"' + text.toUtf8() + "\"\r\n";
}

inline QByteArray integer(int value) {
    return QByteArray::number(value) + "\r\n";
}

}  // namespace support
