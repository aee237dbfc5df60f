#pragma once

#include <QByteArray>
#include <QString>

// Writes a menu file: integers bare, strings between quotation marks, CR LF
// after every value. Nothing reaches the disk until commit(), which replaces
// the file whole: a failed write leaves the old file as it was, and no other
// file in the folder is written or removed.
namespace menufile {

class MenuWriter final {
public:
    explicit MenuWriter(const QString& path);

    void writeInteger(int value);
    // Throws RuntimeError 5 for a text that the format cannot hold (a
    // quotation mark or a line break), so no file is ever written that
    // reads back differently.
    void writeString(const QString& value);

    // Throws RuntimeError 76 when the folder does not exist, 75 when the
    // file cannot be written there.
    void commit();

    // True when the text can be stored as a string value of a menu file.
    static bool canStore(const QString& value);

private:
    QString m_path;
    QString m_text;
};

}  // namespace menufile
