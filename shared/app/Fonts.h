#pragma once

// The windows name the classic Windows fonts. Where a family is missing, the
// metric-compatible Liberation families stand in; MS Sans Serif is closest to
// Arial's metrics, so it takes the same stand-in.
#include <QFont>
#include <QString>

namespace app {

void installFontSubstitutes();

// A font by family, size in points and weight (QFont::Normal, QFont::Bold).
QFont makeFont(const QString& family, qreal points, QFont::Weight weight);
// The bold fonts that most of the supervisor's controls use.
QFont boldFont(const QString& family, qreal points);

}  // namespace app
