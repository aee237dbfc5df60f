#include "shared/core/ShortText.h"

namespace core {

namespace {

QString hex(char16_t code, int digits) {
    return QString::number(code, 16).toUpper().rightJustified(digits, u'0');
}

// C0 controls and DEL become the Unicode control pictures (U+2400 …);
// other invisible controls become \xNN or \uNNNN.
QString visible(QStringView text) {
    QString shown;
    shown.reserve(text.size());
    for (QChar c : text) {
        const char16_t u = c.unicode();
        if (u < 0x20)
            shown.append(QChar(static_cast<char16_t>(0x2400 + u)));
        else if (u == 0x7F)
            shown.append(QChar(static_cast<char16_t>(0x2421)));
        else if (u >= 0x80 && u <= 0x9F)
            shown.append(QStringLiteral("\\x") + hex(u, 2));
        else if (u == 0x2028 || u == 0x2029 || u == 0xFEFF || u == 0x200E || u == 0x200F ||
                 (u >= 0x202A && u <= 0x202E) || (u >= 0x2066 && u <= 0x2069))
            shown.append(QStringLiteral("\\u") + hex(u, 4));
        else
            shown.append(c);
    }
    return shown;
}

}  // namespace

QString shortValue(const QString& value) {
    if (value.size() <= QuotedValueLength) return visible(value);
    qsizetype cut = QuotedValueLength;
    if (value.at(cut - 1).isHighSurrogate()) --cut;  // never half a character
    return visible(QStringView(value).first(cut)) + QChar(0x2026);
}

QString shortName(const QString& name) {
    if (name.size() <= QuotedNameLength) return visible(name);
    qsizetype from = name.size() - (QuotedNameLength - 1);
    if (name.at(from).isLowSurrogate()) ++from;
    return QChar(0x2026) + visible(QStringView(name).sliced(from));
}

}  // namespace core
