#include "shared/menufile/MenuEncoding.h"

#include <QStringDecoder>

#include <array>

namespace menufile {

QString decodeWindows1252(const QByteArray& bytes) {
    // 0x80 to 0x9F; the five codes Windows-1252 leaves undefined map to
    // the C1 control of the same number, as Windows itself does.
    static constexpr std::array<char16_t, 32> high = {
        0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};
    QString text;
    text.reserve(bytes.size());
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x80 && byte <= 0x9F)
            text.append(QChar(high[byte - 0x80]));
        else
            text.append(QChar(static_cast<char16_t>(byte)));
    }
    return text;
}

QString decodeMenuText(const QByteArray& bytes) {
    // A byte-order mark at the start of a value is part of the value: only the
    // one at the start of the file is dropped, by the reader.
    QStringDecoder utf8(QStringDecoder::Utf8,
                        QStringDecoder::Flag::Stateless | QStringDecoder::Flag::ConvertInitialBom);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError()) return text;
    return decodeWindows1252(bytes);
}

QByteArray encodeMenuText(const QString& text) {
    return text.toUtf8();
}

}  // namespace menufile
