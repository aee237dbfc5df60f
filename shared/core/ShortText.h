#pragma once

#include <QString>

// Texts from files and from the user, made fit to be quoted in a message: cut
// short, and with control characters shown as visible symbols, so that no
// value can make a message unreadable or wider than the screen.
namespace core {

// At most this many characters of a value are quoted; a longer value ends
// in "…".
inline constexpr qsizetype QuotedValueLength = 60;
// File names keep their end (the name itself) and lose the start of their
// folder when longer than this.
inline constexpr qsizetype QuotedNameLength = 80;

// The start of the value, control characters made visible.
QString shortValue(const QString& value);

// The end of a file name, control characters made visible.
QString shortName(const QString& name);

}  // namespace core
