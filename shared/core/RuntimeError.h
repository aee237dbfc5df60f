#pragma once

#include <QString>

#include <exception>

namespace core {

// Numbers of the run-time errors the programs raise. The numbers are the
// classic ones so that a supervisor who has seen them before recognises them.
namespace ErrorNumber {
inline constexpr int InvalidArgument = 5;
inline constexpr int Overflow = 6;
inline constexpr int SubscriptOutOfRange = 9;
inline constexpr int TypeMismatch = 13;
inline constexpr int FileNotFound = 53;
inline constexpr int InputPastEndOfFile = 62;
inline constexpr int PathFileAccessError = 75;
inline constexpr int PathNotFound = 76;
inline constexpr int InvalidPropertyValue = 380;
inline constexpr int InvalidPicture = 481;
}  // namespace ErrorNumber

// A run-time error: its number and a Swedish description that names the file
// or value that failed. Raised anywhere, reported in one place (see
// ProgramControl.h).
class RuntimeError final : public std::exception {
public:
    RuntimeError(int number, QString description);

    int number() const { return m_number; }
    const QString& description() const { return m_description; }
    // The short standard name of the error number, e.g. "Filen hittades inte".
    QString title() const;
    // Number, name and description as the standard error message shows them.
    QString message() const;

    const char* what() const noexcept override;

private:
    int m_number;
    QString m_description;
    QByteArray m_what;
};

// The standard Swedish name of a run-time error number.
QString errorTitle(int number);

}  // namespace core
