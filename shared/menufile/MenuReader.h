#pragma once

#include <QByteArray>
#include <QString>

// Reads the values of a menu file in order, by the rules of quote-delimited
// sequential input: leading spaces are skipped; a value that starts with a
// quotation mark runs to the next quotation mark and both marks are dropped;
// any other value runs to the next comma or line end (CR LF, LF or CR).
// Values are taken in sequence whatever the line breaks, so one value per
// line reads the same as several on a line separated by commas.
//
// Every failure throws a RuntimeError that names the file and the value:
// 53 missing file, 75 unreadable file, 62 past the end, 13 not a number,
// 6 outside the 16-bit signed range.
namespace menufile {

class MenuReader final {
public:
    // Opens and reads the whole file; path may be relative to the current
    // directory.
    explicit MenuReader(const QString& path);

    // "what" says in Swedish which value is read, for the error message,
    // e.g. "antal övningar".
    qint16 readInteger(const QString& what);
    QString readString(const QString& what);

    // The file's name as error messages show it.
    const QString& fileName() const { return m_fileName; }

private:
    QString nextField(const QString& what);
    void consumeDelimiter();
    QString valueLabel(const QString& what) const;

    QString m_fileName;
    QByteArray m_bytes;
    qsizetype m_pos = 0;
    int m_valueNumber = 0;
};

}  // namespace menufile
