#include "shared/menufile/MenuReader.h"

#include "shared/core/FolderText.h"
#include "shared/core/RegularFile.h"
#include "shared/core/RuntimeError.h"
#include "shared/core/ShortText.h"
#include "shared/menufile/MenuEncoding.h"

#include <limits>

namespace menufile {

namespace {

// The delimiters are ASCII, and no byte of a multi-byte UTF-8 character is,
// so the values can be cut out of the bytes before they are decoded.
bool isLineEnd(char c) {
    return c == '\r' || c == '\n';
}
bool isBlank(char c) {
    return c == ' ' || c == '\t';
}
bool endsValue(char c) {
    return c == ',' || isLineEnd(c);
}

}  // namespace

MenuReader::MenuReader(const QString& path)
    : m_fileName(core::shortName(core::displayFileName(path))) {
    m_bytes = core::readWholeRegularFile(path, core::MaxMenuFileBytes, QStringLiteral("Filen"),
                                         core::ErrorNumber::PathFileAccessError);
    if (m_bytes.startsWith("\xEF\xBB\xBF")) m_pos = 3;  // UTF-8 byte-order mark
}

QString MenuReader::valueLabel(const QString& what) const {
    return QStringLiteral("värde %1 (%2)").arg(m_valueNumber).arg(what);
}

void MenuReader::consumeDelimiter() {
    if (m_pos >= m_bytes.size()) return;
    const char c = m_bytes.at(m_pos);
    if (c == ',' || c == '\n') {
        ++m_pos;
    } else if (c == '\r') {
        ++m_pos;
        if (m_pos < m_bytes.size() && m_bytes.at(m_pos) == '\n') ++m_pos;
    }
}

QString MenuReader::nextField(const QString& what) {
    ++m_valueNumber;
    while (m_pos < m_bytes.size() && isBlank(m_bytes.at(m_pos))) ++m_pos;
    if (m_pos >= m_bytes.size())
        throw core::RuntimeError(core::ErrorNumber::InputPastEndOfFile,
                                 QStringLiteral("Filen \"%1\" tar slut innan %2 har lästs.")
                                     .arg(m_fileName, valueLabel(what)));

    QByteArray value;
    if (m_bytes.at(m_pos) == '"') {
        const qsizetype close = m_bytes.indexOf('"', m_pos + 1);
        if (close < 0)
            throw core::RuntimeError(
                core::ErrorNumber::InputPastEndOfFile,
                QStringLiteral("I filen \"%1\" avslutas citattecknet i %2 aldrig; "
                               "filen tar slut först.")
                    .arg(m_fileName, valueLabel(what)));
        value = m_bytes.mid(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
        // Whatever stands between the closing mark and the delimiter is dropped.
        while (m_pos < m_bytes.size() && !endsValue(m_bytes.at(m_pos))) ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < m_bytes.size() && !endsValue(m_bytes.at(m_pos))) ++m_pos;
        value = m_bytes.mid(start, m_pos - start);
        while (!value.isEmpty() && isBlank(value.back())) value.chop(1);
    }
    consumeDelimiter();
    // Each value is decoded by itself, so bytes after the last value that is
    // read cannot change how the values before it read.
    return decodeMenuText(value);
}

qint16 MenuReader::readInteger(const QString& what) {
    const QString field = nextField(what);
    const QString text = field.trimmed();

    qsizetype digitsFrom = 0;
    bool negative = false;
    if (!text.isEmpty() && (text.front() == u'-' || text.front() == u'+')) {
        negative = text.front() == u'-';
        digitsFrom = 1;
    }
    bool allDigits = text.size() > digitsFrom;
    for (qsizetype i = digitsFrom; i < text.size() && allDigits; ++i)
        allDigits = text.at(i) >= u'0' && text.at(i) <= u'9';
    if (!allDigits)
        throw core::RuntimeError(core::ErrorNumber::TypeMismatch,
                                 QStringLiteral("I filen \"%1\" är %2 inte ett heltal: \"%3\".")
                                     .arg(m_fileName, valueLabel(what), core::shortValue(field)));

    // Accumulate with a bound so that any number of digits is safe.
    constexpr long long limit = 1LL + std::numeric_limits<qint16>::max();
    long long magnitude = 0;
    for (qsizetype i = digitsFrom; i < text.size() && magnitude <= limit; ++i)
        magnitude = magnitude * 10 + (text.at(i).unicode() - u'0');
    long long value = negative ? -magnitude : magnitude;
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        throw core::RuntimeError(
            core::ErrorNumber::Overflow,
            QStringLiteral("I filen \"%1\" ligger %2 utanför −32768 till 32767: "
                           "\"%3\".")
                .arg(m_fileName, valueLabel(what), core::shortValue(text)));
    return static_cast<qint16>(value);
}

QString MenuReader::readString(const QString& what) {
    return nextField(what);
}

}  // namespace menufile
