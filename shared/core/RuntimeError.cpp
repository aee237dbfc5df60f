#include "shared/core/RuntimeError.h"

namespace core {

RuntimeError::RuntimeError(int number, QString description)
    : m_number(number), m_description(std::move(description)) {
    m_what = message().toUtf8();
}

QString RuntimeError::title() const {
    return errorTitle(m_number);
}

QString RuntimeError::message() const {
    return QStringLiteral("Körfel %1: %2\n\n%3").arg(m_number).arg(title(), m_description);
}

const char* RuntimeError::what() const noexcept {
    return m_what.constData();
}

QString errorTitle(int number) {
    switch (number) {
        case ErrorNumber::InvalidArgument:
            return QStringLiteral("Ogiltigt proceduranrop eller argument");
        case ErrorNumber::Overflow:
            return QStringLiteral("Spill");
        case ErrorNumber::SubscriptOutOfRange:
            return QStringLiteral("Index utanför intervallet");
        case ErrorNumber::TypeMismatch:
            return QStringLiteral("Typerna stämmer inte överens");
        case ErrorNumber::FileNotFound:
            return QStringLiteral("Filen hittades inte");
        case ErrorNumber::InputPastEndOfFile:
            return QStringLiteral("Indata efter filslut");
        case ErrorNumber::PathFileAccessError:
            return QStringLiteral("Fel vid åtkomst till sökväg eller fil");
        case ErrorNumber::PathNotFound:
            return QStringLiteral("Sökvägen hittades inte");
        case ErrorNumber::InvalidPropertyValue:
            return QStringLiteral("Ogiltigt egenskapsvärde");
        case ErrorNumber::InvalidPicture:
            return QStringLiteral("Ogiltig bild");
        default:
            return QStringLiteral("Programfel");
    }
}

}  // namespace core
