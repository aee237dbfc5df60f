#pragma once

#include <QByteArray>
#include <QString>

// Menu files are written as UTF-8 without a byte-order mark. Text that is
// not valid UTF-8 comes from the older 8-bit form and is read as Windows-1252.
namespace menufile {

QString decodeMenuText(const QByteArray& bytes);
QByteArray encodeMenuText(const QString& text);

// Windows-1252 decoding, by hand: Qt's own converters offer only Latin-1,
// which differs in the range 0x80 to 0x9F.
QString decodeWindows1252(const QByteArray& bytes);

}  // namespace menufile
